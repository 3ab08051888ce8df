// The folder dialog: where it opens, moving through the folders and the volumes,
// and what "&Aceptar" does with a typed folder, existing or not.
#include "DialogosPrueba.h"
#include "SeleccionarDir.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class tst_seleccionardir : public QObject
{
    Q_OBJECT

    QString fCwd;
    std::unique_ptr<QTemporaryDir> fDir;
    QString fCarpeta; // the test's folder, as the current folder names it
    std::unique_ptr<TFormSeleccionarDir> fDlg;

    void Abrir(const QString &Elegida = QString())
    {
        fDlg = std::make_unique<TFormSeleccionarDir>();
        fDlg->Carpeta_Elegida = Elegida;
        fDlg->open();
        QVERIFY(QTest::qWaitForWindowExposed(fDlg.get()));
    }

    QListWidgetItem *Elemento(const QString &ruta) const
    {
        for (int i = 0; i < fDlg->DirectoryListBox->count(); ++i)
            if (fDlg->DirectoryListBox->item(i)->data(Qt::UserRole).toString() == ruta)
                return fDlg->DirectoryListBox->item(i);
        return nullptr;
    }

private slots:
    void init()
    {
        fCwd = QDir::currentPath();
        fDir = std::make_unique<QTemporaryDir>();
        QVERIFY(fDir->isValid());
        QDir d(fDir->path());
        d.mkdir("uno");
        d.mkdir("dos");
        d.mkdir(".oculta");
        QFile f(d.filePath("fichero"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QDir::setCurrent(fDir->path());
        fCarpeta = QDir::currentPath();
    }

    void cleanup()
    {
        DialogosPrueba::cerrarModales();
        fDlg.reset();
        QDir::setCurrent(fCwd);
        fDir.reset();
    }

    void inicio()
    {
        Abrir();
        QCOMPARE(fDlg->windowTitle(), QString("Selección de Directorio"));
        QCOMPARE(fDlg->GroupBox1->title(), QString("Seleccione un Directorio"));
        QCOMPARE(fDlg->GroupBox2->title(), QString("Carpeta Seleccionada"));
        QCOMPARE(fDlg->BtnAceptar->text(), QString("&Aceptar"));
        QCOMPARE(fDlg->BtnCancelar->text(), QString("&Cancelar"));
        QCOMPARE(fDlg->DriveComboBox->parentWidget(), fDlg->GroupBox1);
        QCOMPARE(fDlg->DirectoryListBox->parentWidget(), fDlg->GroupBox1);
        QCOMPARE(fDlg->EditDirectorio->parentWidget(), fDlg->GroupBox2);

        // A fresh dialog opens on the current folder: the way down to it, then its
        // subfolders, hidden ones left out.
        QCOMPARE(fDlg->EditDirectorio->text(), fCarpeta);
        QCOMPARE(fDlg->DirectoryListBox->item(0)->data(Qt::UserRole).toString(), QString("/"));
        QCOMPARE(fDlg->DirectoryListBox->currentItem()->data(Qt::UserRole).toString(), fCarpeta);
        const int n = fDlg->DirectoryListBox->count();
        QCOMPARE(fDlg->DirectoryListBox->item(n - 2)->data(Qt::UserRole).toString(), fCarpeta + "/dos");
        QCOMPARE(fDlg->DirectoryListBox->item(n - 1)->data(Qt::UserRole).toString(), fCarpeta + "/uno");
        QVERIFY(!Elemento(fCarpeta + "/.oculta"));
        QVERIFY(!Elemento(fCarpeta + "/fichero"));
        QCOMPARE(fDlg->DriveComboBox->currentText(), QStorageInfo(fCarpeta).rootPath());
    }

    void carpeta_elegida()
    {
        Abrir(fCarpeta + "/uno");
        QCOMPARE(fDlg->EditDirectorio->text(), fCarpeta + "/uno");
        QCOMPARE(fDlg->DirectoryListBox->currentItem()->data(Qt::UserRole).toString(), fCarpeta + "/uno");
    }

    void navegar_data()
    {
        QTest::addColumn<bool>("teclado");
        QTest::newRow("doble clic") << false;
        QTest::newRow("Intro, que no acepta el diálogo") << true;
    }

    void navegar()
    {
        QFETCH(bool, teclado);
        Abrir();
        auto abrir = [&](const QString &ruta) {
            QListWidgetItem *e = Elemento(ruta);
            QVERIFY(e);
            QListWidget *lista = fDlg->DirectoryListBox;
            if (teclado) {
                lista->setFocus();
                lista->setCurrentItem(e);
                QTest::keyClick(lista, Qt::Key_Return);
            } else {
                const QPoint p = lista->visualItemRect(e).center();
                QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, p);
                QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, p);
            }
        };
        abrir(fCarpeta + "/uno");
        QCOMPARE(fDlg->EditDirectorio->text(), fCarpeta + "/uno");
        // The next dialog opens where this one was left.
        QCOMPARE(QDir::currentPath(), fCarpeta + "/uno");
        QVERIFY(fDlg->isVisible());
        abrir(fCarpeta);
        QCOMPARE(fDlg->EditDirectorio->text(), fCarpeta);
        QVERIFY(Elemento(fCarpeta + "/dos"));
        QVERIFY(fDlg->isVisible());
    }

    void unidad()
    {
        Abrir();
        const int raiz = fDlg->DriveComboBox->findText("/");
        QVERIFY(raiz >= 0);
        fDlg->DriveComboBox->setCurrentIndex(raiz);
        emit fDlg->DriveComboBox->activated(raiz);
        QCOMPARE(fDlg->EditDirectorio->text(), QString("/"));
        QCOMPARE(fDlg->DirectoryListBox->currentItem()->data(Qt::UserRole).toString(), QString("/"));
    }

    void aceptar_data()
    {
        // `respuestas`: what is answered to each message box, in order ("Sí", "No", "Aceptar").
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("respuestas");
        QTest::addColumn<QString>("final"); // "aceptado", "cancelado" or "abierto"
        QTest::addColumn<QString>("elegida");
        QTest::addColumn<QString>("aviso");
        QTest::newRow("existente, relativa a la lista") << "uno" << QStringList{} << "aceptado" << "@/uno" << "";
        QTest::newRow("existente, con separador final") << "@/dos/" << QStringList{} << "aceptado" << "@/dos" << "";
        QTest::newRow("nueva con padres, Sí") << "nueva/a/b" << QStringList{"Sí"} << "aceptado" << "@/nueva/a/b" << "";
        QTest::newRow("nueva, No: cancela sin volver a la lista") << "nueva" << QStringList{"No"} << "cancelado" << ""
                                                                 << "";
        QTest::newRow("no se puede crear: se elige otra vez")
            << "fichero/sub" << QStringList{"Sí", "Aceptar"} << "abierto" << ""
            << "No se ha podido crear el directorio @/fichero/sub.";
        QTest::newRow("vacía") << "   " << QStringList{"Aceptar"} << "abierto" << "" << "Escriba o elija una carpeta.";
    }

    void aceptar()
    {
        QFETCH(QString, texto);
        QFETCH(QStringList, respuestas);
        QFETCH(QString, final);
        QFETCH(QString, elegida);
        QFETCH(QString, aviso);
        texto.replace("@", fCarpeta);
        elegida.replace("@", fCarpeta);
        aviso.replace("@", fCarpeta);
        Abrir();

        QList<QMessageBox *> cajas;
        QStringList titulos, textos;
        QList<bool> noPorDefecto;
        DialogosPrueba dialogos;
        for (const QString &r : respuestas)
            dialogos.alAparecer("QMessageBox", [&, r](QWidget *w) {
                auto *mb = qobject_cast<QMessageBox *>(w);
                titulos << mb->windowTitle();
                textos << mb->text();
                noPorDefecto << (mb->defaultButton() && mb->defaultButton() == mb->button(QMessageBox::No));
                mb->button(r == "Sí" ? QMessageBox::Yes : r == "No" ? QMessageBox::No : QMessageBox::Ok)->click();
            });
        fDlg->EditDirectorio->setText(texto);
        fDlg->BtnAceptar->click();
        QVERIFY2(dialogos.esperar(), qPrintable(dialogos.errores().join("; ")));

        if (respuestas.value(0) == "Sí" || respuestas.value(0) == "No") {
            QCOMPARE(titulos[0], QString("Crear nuevo directorio"));
            QCOMPARE(textos[0], QString("El directorio seleccionado no existe. ¿Desea crearlo?"));
            QVERIFY(noPorDefecto[0]);
        }
        if (!aviso.isEmpty())
            QCOMPARE(textos.last(), aviso);
        QCOMPARE(fDlg->isVisible(), final == "abierto");
        if (final != "abierto")
            QCOMPARE(fDlg->result(), final == "aceptado" ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(fDlg->Carpeta_Elegida, elegida);
        if (!elegida.isEmpty())
            QVERIFY(QFileInfo(elegida).isDir());
        QVERIFY(!QFileInfo::exists(fCarpeta + "/nueva") || final == "aceptado");
    }

    void cancelar()
    {
        Abrir();
        fDlg->BtnCancelar->click();
        QVERIFY(!fDlg->isVisible());
        QCOMPARE(fDlg->result(), int(QDialog::Rejected));
        QVERIFY(fDlg->Carpeta_Elegida.isEmpty());
    }
};

QTEST_MAIN(tst_seleccionardir)
#include "tst_seleccionardir.moc"
