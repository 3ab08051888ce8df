// The help file and its viewer: the shipped file has a topic for every window that names one,
// F1 opens the topic of the window that has the focus, and the menu opens the contents.
#include "Avisos.h"
#include "Ayuda.h"
#include "DialogosPrueba.h"
#include "Principal.h"

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <memory>

class tst_ayuda : public QObject
{
    Q_OBJECT

    static QString Fichero_Distribuido() { return QStringLiteral(FICHERO_AYUDA); }

private slots:
    void initTestCase()
    {
        Instalar_Tecla_Ayuda();
    }

    void init()
    {
        Avisos_Prueba::Reiniciar();
        Fijar_Fichero_Ayuda(Fichero_Distribuido());
    }

    void cleanup()
    {
        DialogosPrueba::cerrarModales();
        if (Ventana_Ayuda())
            delete Ventana_Ayuda();
        Avisos_Prueba::Reiniciar();
    }

    void ficheroDistribuido_data()
    {
        QTest::addColumn<int>("Contexto");
        for (int Contexto : {0, 110, 210, 220, 310, 320, 410, 420, 510, 610, 710})
            QTest::addRow("%d", Contexto) << Contexto;
    }
    void ficheroDistribuido()
    {
        QFETCH(int, Contexto);
        TFicheroAyuda Fichero;
        QString Error;
        QVERIFY2(Fichero.Cargar(Fichero_Distribuido(), &Error), qPrintable(Error));
        const TTemaAyuda *Tema = Fichero.Tema(Contexto);
        QVERIFY(Tema);
        QVERIFY(!Tema->Titulo.isEmpty());
        QVERIFY(Tema->Html.contains(QStringLiteral("<h1>")));
        // Every link leads to a topic that exists.
        static const QRegularExpression Enlace(QStringLiteral(R"re(href="tema:(\d+)")re"));
        for (auto it = Enlace.globalMatch(Tema->Html); it.hasNext();) {
            const int Destino = it.next().captured(1).toInt();
            QVERIFY2(Fichero.Tema(Destino), qPrintable(QString::number(Destino)));
        }
    }

    void formatoDelFichero()
    {
        const TFicheroAyuda Fichero = TFicheroAyuda::Analizar(QStringLiteral(
            "<!-- <section data-contexto=\"9\" data-titulo=\"No\"> fuera </section> se ignora -->\n"
            "<section data-contexto=\"0\" data-titulo=\"Contenido\"><p>Portada</p></section>\n"
            "texto suelto\n"
            "<SECTION data-contexto=\"210\" data-titulo=\" Mantenimiento \">\n<h1>M</h1>\n</SECTION>"));
        QCOMPARE(Fichero.Temas().size(), 3); // the commented one too: comments are not special
        QCOMPARE(Fichero.Tema(210)->Titulo, QStringLiteral("Mantenimiento"));
        QVERIFY(Fichero.Tema(210)->Html.contains(QStringLiteral("<h1>M</h1>")));
        QVERIFY(!Fichero.Tema(310));
        const QString Contenido = Fichero.Html_Contenido();
        QVERIFY(Contenido.startsWith(QStringLiteral("<p>Portada</p>")));
        QVERIFY(Contenido.contains(QStringLiteral("<a href=\"tema:210\">Mantenimiento</a>")));
    }

    // F1 shows the topic of the window holding the focus; a window without one shows the contents.
    void teclaF1_data()
    {
        QTest::addColumn<int>("Contexto_Ventana");
        QTest::addColumn<int>("Mostrado");
        QTest::newRow("con tema") << 410 << 410;
        QTest::newRow("sin tema") << 0 << 0;
        QTest::newRow("tema sin página") << 999 << 0;
    }
    void teclaF1()
    {
        QFETCH(int, Contexto_Ventana);
        QFETCH(int, Mostrado);
        QWidget Ventana;
        if (Contexto_Ventana)
            Fijar_Contexto_Ayuda(&Ventana, Contexto_Ventana);
        auto *Campo = new QLineEdit(&Ventana);
        new QVBoxLayout(&Ventana);
        Ventana.layout()->addWidget(Campo);
        Ventana.show();
        QVERIFY(QTest::qWaitForWindowActive(&Ventana));
        Campo->setFocus();
        QTest::keyClick(Campo, Qt::Key_F1);
        QVERIFY(Ventana_Ayuda());
        QVERIFY(Ventana_Ayuda()->isVisible());
        QCOMPARE(Ventana_Ayuda()->Contexto_Mostrado(), Mostrado);
        QVERIFY(Campo->text().isEmpty()); // the key went to the help, not into the field
    }

    // Over a modal editor the viewer opens as its child, so the modality does not block it;
    // the editor's own topic is shown, not its owner's.
    void teclaF1EnVentanaModal_data()
    {
        QTest::addColumn<int>("Contexto_Dialogo");
        QTest::addColumn<int>("Mostrado");
        QTest::newRow("editor con tema") << 320 << 320;
        QTest::newRow("editor sin tema") << 0 << 0;
    }
    void teclaF1EnVentanaModal()
    {
        QFETCH(int, Contexto_Dialogo);
        QFETCH(int, Mostrado);
        QWidget Duena;
        Fijar_Contexto_Ayuda(&Duena, 310);
        Duena.show();
        QDialog Editor(&Duena);
        if (Contexto_Dialogo)
            Fijar_Contexto_Ayuda(&Editor, Contexto_Dialogo);
        int Visto = -1;
        bool Hija = false;
        DialogosPrueba Dialogos;
        Dialogos.alAparecer(QString(), [&](QWidget *w) {
            QTest::keyClick(w, Qt::Key_F1);
            if (TFormAyuda *Ayuda = Ventana_Ayuda()) {
                Visto = Ayuda->Contexto_Mostrado();
                // Usable while the editor is modal: a click on the topic list reaches it.
                const bool Expuesta = QTest::qWaitForWindowExposed(Ayuda);
                QListWidget *Lista = Ayuda->LstTemas;
                const QRect Fila = Lista->visualItemRect(Lista->item(2));
                QTest::mouseClick(Lista->viewport(), Qt::LeftButton, {}, Fila.center());
                Hija = Expuesta && Ayuda->parentWidget() == w && Ayuda->Contexto_Mostrado() == Lista->item(2)->data(Qt::UserRole).toInt();
                Ayuda->close();
            }
            static_cast<QDialog *>(w)->reject();
        });
        Editor.exec();
        QVERIFY2(Dialogos.correcto(), qPrintable(Dialogos.errores().join('\n')));
        QCOMPARE(Visto, Mostrado);
        QVERIFY(Hija);
    }

    void menuAyudaAbreElContenido()
    {
        TFormPrincipal Principal;
        Fijar_Fichero_Ayuda(Fichero_Distribuido()); // the window points it beside the executable
        Principal.show();
        QVERIFY(QTest::qWaitForWindowActive(&Principal));
        Principal.findChild<QAction *>(QStringLiteral("Ayuda1"))->trigger();
        QVERIFY(Ventana_Ayuda());
        QCOMPARE(Ventana_Ayuda()->Contexto_Mostrado(), 0);
        Ventana_Ayuda()->close();
        Principal.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Principal));
        QTest::keyClick(&Principal, Qt::Key_F1);
        QVERIFY(Ventana_Ayuda());
        QCOMPARE(Ventana_Ayuda()->Contexto_Mostrado(), 110);
        Avisos_Prueba::Sin_Ventanas(true);
    }

    void navegacion()
    {
        TFormAyuda *Ayuda = Mostrar_Ayuda(0);
        QVERIFY(Ayuda);
        emit Ayuda->TxtAyuda->anchorClicked(QUrl(QStringLiteral("tema:710")));
        QCOMPARE(Ayuda->Contexto_Mostrado(), 710);
        QCOMPARE(Ayuda->LstTemas->currentItem()->text(), QStringLiteral("Intervalos de mantenimiento"));
        Ayuda->LstTemas->setCurrentRow(0);
        QCOMPARE(Ayuda->Contexto_Mostrado(), 0);
        QTest::mouseClick(Ayuda->BtnCerrar, Qt::LeftButton);
        QTRY_VERIFY(!Ventana_Ayuda());
        // Escape closes it too.
        Ayuda = Mostrar_Ayuda(110);
        QVERIFY(QTest::qWaitForWindowActive(Ayuda));
        QTest::keyClick(Ayuda->TxtAyuda, Qt::Key_Escape);
        QTRY_VERIFY(!Ventana_Ayuda());
    }

    void ficheroQueFalta()
    {
        QTemporaryDir Carpeta;
        Fijar_Fichero_Ayuda(Carpeta.filePath(QStringLiteral("Quelvaro.Hlp")));
        Avisos_Prueba::Sin_Ventanas(true);
        QVERIFY(!Mostrar_Ayuda(110));
        const auto &Mostrados = Avisos_Prueba::Mostrados();
        QCOMPARE(Mostrados.size(), 1);
        QCOMPARE(Mostrados[0].Tipo, avError);
        QVERIFY(Mostrados[0].Texto.contains(QStringLiteral("fichero de ayuda")));
    }
};

QTEST_MAIN(tst_ayuda)
#include "tst_ayuda.moc"
