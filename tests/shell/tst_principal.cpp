// The main window: its bar, its menu, the commands that set a value or ask something, and the
// question asked by every way of closing it.
#include "AcercaDe.h"
#include "Avisos.h"
#include "CargaAplicacion.h"
#include "Imagenes.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "DialogosPrueba.h"
#include "Principal.h"
#include "QRepPreview.h"
#include "ReportDef.h"
#include "Table.h"
#include "Vencimientos.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

// Stands in for the desktop's mail program.
class tCorreo : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> Abiertas;
public slots:
    void Abrir(const QUrl &Direccion) { Abiertas << Direccion; }
};

class tst_principal : public QObject
{
    Q_OBJECT

    std::unique_ptr<DatosPrueba> fDatos;
    std::unique_ptr<TModuloDatos> fModulo;
    std::unique_ptr<TFormPrincipal> fVentana;

    void Abrir(bool Con_Vehiculo = false)
    {
        fDatos = std::make_unique<DatosPrueba>();
        QVERIFY(fDatos->isValid());
        if (Con_Vehiculo) {
            const int Marca = fDatos->addBrand(QStringLiteral("SEAT"));
            fDatos->addVehicle(QStringLiteral("1234ABC"), Marca, fDatos->addModel(QStringLiteral("IBIZA"), Marca), 50000);
        }
        fModulo = std::make_unique<TModuloDatos>(fDatos->carpeta());
        fVentana = std::make_unique<TFormPrincipal>();
        fVentana->show();
        QVERIFY(QTest::qWaitForWindowExposed(fVentana.get()));
    }

    static QStringList Textos(const QList<QAction *> &Acciones)
    {
        QStringList t;
        for (const QAction *a : Acciones)
            if (!a->isSeparator())
                t << a->text();
        return t;
    }

private slots:
    void init() { Avisos_Prueba::Reiniciar(); }

    void cleanup()
    {
        DialogosPrueba::cerrarModales();
        Avisos_Prueba::Sin_Ventanas(true);
        fVentana.reset(); // the close question, if any, answers " &No" by itself
        fModulo.reset();
        fDatos.reset();
        Avisos_Prueba::Reiniciar();
    }

    void botonera_data()
    {
        QTest::addColumn<QString>("Nombre");
        QTest::addColumn<int>("Fila");
        QTest::addColumn<int>("Izquierda");
        QTest::addColumn<QString>("Caption");
        QTest::newRow("SBMantto") << "SBMantto" << 1 << 60 << "&Mantenimiento";
        QTest::newRow("SBAverias") << "SBAverias" << 1 << 196 << "\n&Averías";
        QTest::newRow("SBRuedas") << "SBRuedas" << 1 << 332 << "\n&Neumáticos";
        QTest::newRow("SbVehiculos") << "SbVehiculos" << 1 << 467 << "\n&Vehículos";
        QTest::newRow("SBFichaTecnica") << "SBFichaTecnica" << 1 << 604 << "\n&Ficha Técnica";
        QTest::newRow("SbIntervalos") << "SbIntervalos" << 2 << 60 << "&Intervalos de\nMantenimiento";
        QTest::newRow("SBListados") << "SBListados" << 2 << 196 << "\n&Listados";
        QTest::newRow("SBCopiaSeg") << "SBCopiaSeg" << 2 << 332 << "&Copia de\nSeguridad";
        QTest::newRow("SBSalir") << "SBSalir" << 2 << 604 << "\n&Salir";
    }
    void botonera()
    {
        QFETCH(QString, Nombre);
        QFETCH(int, Fila);
        QFETCH(int, Izquierda);
        QFETCH(QString, Caption);
        Abrir();
        QCOMPARE(fVentana->windowTitle(), QStringLiteral("Quelvaro"));
        auto *Boton = fVentana->findChild<QToolButton *>(Nombre);
        QVERIFY(Boton);
        QCOMPARE(Boton->text(), Caption);
        QCOMPARE(Boton->size(), QSize(129, 93));
        QCOMPARE(Boton->x(), Izquierda);
        QVERIFY(Boton->isVisible());
        QVERIFY(!Boton->icon().isNull());
        // Both rows inside the bar, the second about 100 pixels under the first.
        auto *Barra = fVentana->findChild<QWidget *>(QStringLiteral("PnlBotones"));
        QCOMPARE(Boton->parentWidget(), Barra);
        QCOMPARE(Barra->height(), 206);
        QVERIFY(Boton->geometry().bottom() < Barra->height());
        QVERIFY(Fila == 1 ? Boton->y() < 20 : qAbs(Boton->y() - 100) < 20);
    }

    void menu_data()
    {
        QTest::addColumn<QString>("Titulo");
        QTest::addColumn<QStringList>("Entradas");
        QTest::newRow("Mantenimiento") << "Mantenimiento"
                                       << QStringList{"Tareas de mantenimiento", "Intervalos de mantenimiento", "Averías", "Neumáticos",
                                                      "&Vencimientos de la flota"};
        QTest::newRow("Vehículos") << "Vehículos" << QStringList{"Nueva matrícula", "Marcas", "Modelos", "Ficha técnica"};
        QTest::newRow("Listados") << "Listados"
                                  << QStringList{"Mantenimiento", "Averias", "Neumáticos", "Vehículos", "Ficha Técnica"};
        QTest::newRow("Herramientas") << "Herramientas" << QStringList{"Copia de seguridad"};
        QTest::newRow("PMListados") << QString()
                                    << QStringList{"&Mantenimiento", "&Averias", "&Neumáticos", "&Vehículos", "&Ficha Técnica"};
    }
    void menu()
    {
        QFETCH(QString, Titulo);
        QFETCH(QStringList, Entradas);
        Abrir();
        QMenu *Menu = nullptr;
        if (Titulo.isEmpty()) {
            Menu = fVentana->findChild<QMenu *>(QStringLiteral("PMListados"));
        } else {
            for (QAction *a : fVentana->menuBar()->actions())
                if (a->text() == Titulo)
                    Menu = a->menu();
        }
        QVERIFY(Menu);
        QCOMPARE(Textos(Menu->actions()), Entradas);
        for (const QAction *a : Menu->actions())
            QVERIFY2(a->isSeparator() || !a->icon().isNull(), qPrintable(a->text()));
    }

    void barraDeMenu()
    {
        Abrir();
        auto *Barra = fVentana->findChild<QMenuBar *>(QStringLiteral("MainMenu1"));
        QVERIFY(Barra);
        QCOMPARE(Textos(Barra->actions()),
                 (QStringList{"Mantenimiento", "Vehículos", "Listados", "Herramientas", "Ayuda", "Acerca de.....", "Salir"}));
        // The last three act at once.
        const auto Acciones = Barra->actions();
        for (int i = 0; i < Acciones.size(); ++i)
            QCOMPARE(Acciones[i]->menu() == nullptr, i >= 4);
    }

    // Each report command sets the report's kind and opens the report dialog for it.
    void entradasDeInforme_data()
    {
        QTest::addColumn<QString>("Entrada");
        QTest::addColumn<int>("Tipo");
        QTest::addColumn<QString>("Titulo");
        const QString Mantto = QStringLiteral("Informe de Mantenimiento"), Averias = QStringLiteral("Informe de Averias"),
                      Ruedas = QStringLiteral("Informe de Neumáticos"), Ficha = QStringLiteral("Ficha Técnica");
        QTest::newRow("&Mantenimiento") << "Mantenimiento1" << 0 << Mantto;
        QTest::newRow("Mantenimiento") << "Mantenimiento2" << 0 << Mantto;
        QTest::newRow("&Averias") << "Averias1" << 1 << Averias;
        QTest::newRow("Averias") << "Averias2" << 1 << Averias;
        QTest::newRow("&Neumáticos") << "Ruedas1" << 2 << Ruedas;
        QTest::newRow("Neumáticos") << "Neumticos1" << 2 << Ruedas;
        QTest::newRow("&Ficha Técnica") << "FichaTecnica1" << 3 << Ficha;
        QTest::newRow("Ficha Técnica") << "FichaTcnica1" << 3 << Ficha;
    }
    void entradasDeInforme()
    {
        QFETCH(QString, Entrada);
        QFETCH(int, Tipo);
        QFETCH(QString, Titulo);
        Abrir();
        ModuloDatos->Tipo_Informe = 99;
        auto *Accion = fVentana->findChild<QAction *>(Entrada);
        QVERIFY(Accion);
        DialogosPrueba Dialogos;
        Dialogos.alAparecer(QStringLiteral("TFormInformes"), [](QWidget *w) { static_cast<QDialog *>(w)->reject(); });
        Accion->trigger();
        QVERIFY2(Dialogos.correcto(), qPrintable(Dialogos.errores().join('\n')));
        QCOMPARE(int(ModuloDatos->Tipo_Informe), Tipo);
        QCOMPARE(Dialogos.titulos().value(0), Titulo);
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY(w->objectName() != QLatin1String("TFormInformes"));
    }

    // Each command opens its window; "Nueva matrícula" the vehicle list, not the editor.
    void ventanas_data()
    {
        QTest::addColumn<QString>("Orden");
        QTest::addColumn<QString>("Ventana");
        QTest::newRow("SBMantto") << "SBMantto" << "TFormMantenimiento";
        QTest::newRow("Tareas de mantenimiento") << "Tareasdemantenimiento1" << "TFormMantenimiento";
        QTest::newRow("SbVehiculos") << "SbVehiculos" << "TFormMatriculas";
        QTest::newRow("Nueva matrícula") << "Nuevamatrcula1" << "TFormMatriculas";
        QTest::newRow("SbIntervalos") << "SbIntervalos" << "TFormIntervalos";
        QTest::newRow("Intervalos de mantenimiento") << "Intervalosdemantenimiento1" << "TFormIntervalos";
        QTest::newRow("SBAverias") << "SBAverias" << "TFormAverias";
        QTest::newRow("Averías") << "Averas1" << "TFormAverias";
        QTest::newRow("Marcas") << "Marcas1" << "TFormMarcas";
        QTest::newRow("Modelos") << "Modelos1" << "TFormModelos";
        QTest::newRow("SBRuedas") << "SBRuedas" << "TFormRuedas";
        QTest::newRow("Neumáticos") << "Neumticos2" << "TFormRuedas";
        QTest::newRow("SBFichaTecnica") << "SBFichaTecnica" << "TFormFichaTec";
        QTest::newRow("Ficha técnica") << "Fichatcnica2" << "TFormFichaTec";
        QTest::newRow("Acerca de.....") << "Acercade1" << "TFormAcercaDe";
    }
    void ventanas()
    {
        QFETCH(QString, Orden);
        QFETCH(QString, Ventana);
        Abrir(true);
        QString Abierta;
        DialogosPrueba Dialogos;
        Dialogos.alAparecer(QString(), [&](QWidget *w) {
            Abierta = QString::fromLatin1(w->metaObject()->className());
            QVERIFY(!fVentana->isActiveWindow()); // the main window waits
            static_cast<QDialog *>(w)->reject();
        });
        if (auto *Boton = fVentana->findChild<QToolButton *>(Orden))
            QTest::mouseClick(Boton, Qt::LeftButton);
        else
            fVentana->findChild<QAction *>(Orden)->trigger();
        QVERIFY2(Dialogos.correcto(), qPrintable(Dialogos.errores().join('\n')));
        QCOMPARE(Abierta, Ventana);
        // Made for one use and destroyed on closing.
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY(QString::fromLatin1(w->metaObject()->className()) != Ventana);
    }

    // The fleet overview is the one window that does not wait: it opens beside
    // the main window, once, and closes with it.
    void vencimientos()
    {
        QStandardPaths::setTestModeEnabled(true);
        Abrir(true);
        QAction *Entrada = fVentana->findChild<QAction *>(QStringLiteral("Vencimientosdelaflota1"));
        QVERIFY(Entrada);
        Entrada->trigger();
        QPointer<TFormVencimientos> Abierta = TFormVencimientos::Instancia();
        QVERIFY(Abierta);
        QVERIFY(Abierta->isVisible());
        QCOMPARE(Abierta->windowModality(), Qt::NonModal);
        QVERIFY(!QApplication::activeModalWidget());
        Entrada->trigger();
        QCOMPARE(TFormVencimientos::Instancia(), Abierta.data());
        fVentana.reset();
        QVERIFY(!Abierta);
    }

    // The vehicle lists ask first, but only when there is a vehicle to list;
    // " &Sí" previews the list with intervals, " &No" the plain one.
    void listadoDeVehiculos_data()
    {
        QTest::addColumn<QString>("Entrada");
        QTest::addColumn<bool>("Con_Vehiculo");
        QTest::addColumn<bool>("Respuesta");
        QTest::addColumn<QString>("Informe");
        QTest::newRow("&Vehículos, sin vehículos") << "Vehculos1" << false << true << "";
        QTest::newRow("Vehículos, sin vehículos") << "Vehculos2" << false << true << "";
        QTest::newRow("&Vehículos, Sí") << "Vehculos1" << true << true << "QrVehiculosI";
        QTest::newRow("Vehículos, Sí") << "Vehculos2" << true << true << "QrVehiculosI";
        QTest::newRow("&Vehículos, No") << "Vehculos1" << true << false << "QrListaVehiculos";
        QTest::newRow("Vehículos, No") << "Vehculos2" << true << false << "QrListaVehiculos";
    }
    void listadoDeVehiculos()
    {
        QFETCH(QString, Entrada);
        QFETCH(bool, Con_Vehiculo);
        QFETCH(bool, Respuesta);
        QFETCH(QString, Informe);
        Abrir(Con_Vehiculo);
        Avisos_Prueba::Programar_Respuesta(Respuesta);
        // The preview is closed once its report is complete.
        QString Mostrado;
        QTimer Cerrar;
        Cerrar.setInterval(10);
        connect(&Cerrar, &QTimer::timeout, this, [&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *Vista = qobject_cast<TFormQRepPreview *>(w))
                    if (Vista->isVisible() && Vista->PanelNumPag->isVisible()) {
                        Mostrado = Vista->Informe ? Vista->Informe->Name : QString();
                        Vista->BtnCerrar->click();
                    }
        });
        Cerrar.start();
        fVentana->findChild<QAction *>(Entrada)->trigger();
        Cerrar.stop();
        const auto &Mostrados = Avisos_Prueba::Mostrados();
        QCOMPARE(Mostrados.size(), Con_Vehiculo ? 1 : 0);
        if (Con_Vehiculo) {
            QCOMPARE(Mostrados[0].Titulo, QStringLiteral("Atención"));
            QCOMPARE(Mostrados[0].Texto, QStringLiteral("¿Desea listar intervalos de mantenimiento?"));
            QVERIFY(Mostrados[0].Defecto_Segundo);
            QCOMPARE(Mostrados[0].Botones, baSiNo);
        }
        QCOMPARE(Mostrado, Informe);
        // The list's cursors are closed again; no list window follows the vehicle.
        QVERIFY(!fModulo->TablaMatriculas->active() && !fModulo->TablaKmCambios->active());
        if (Con_Vehiculo)
            QCOMPARE(fModulo->Pantalla_Activa, quint8(Pantalla_Ninguna));
    }

    void menuDeListadosBajoSuBoton()
    {
        Abrir();
        auto *Menu = fVentana->findChild<QMenu *>(QStringLiteral("PMListados"));
        QTest::mouseClick(fVentana->SBListados, Qt::LeftButton);
        QTRY_VERIFY(Menu->isVisible());
        QCOMPARE(Menu->pos(), fVentana->SBListados->mapToGlobal(QPoint(0, fVentana->SBListados->height())));
        Menu->hide();
    }

    // Every way of closing asks; only " &Sí" closes.
    void preguntaAlCerrar_data()
    {
        QTest::addColumn<QString>("Forma");
        QTest::addColumn<bool>("Respuesta");
        for (const char *Forma : {"SBSalir", "Salir1", "caja de cierre", "fin de sesión"}) {
            QTest::addRow("%s, Sí", Forma) << Forma << true;
            QTest::addRow("%s, No", Forma) << Forma << false;
        }
    }
    void preguntaAlCerrar()
    {
        QFETCH(QString, Forma);
        QFETCH(bool, Respuesta);
        Abrir();
        Avisos_Prueba::Programar_Respuesta(Respuesta);
        if (Forma == QLatin1String("SBSalir")) {
            QTest::mouseClick(fVentana->SBSalir, Qt::LeftButton);
        } else if (Forma == QLatin1String("Salir1")) {
            fVentana->findChild<QAction *>(Forma)->trigger();
        } else if (Forma == QLatin1String("caja de cierre")) {
            QCloseEvent Cierre;
            QApplication::sendEvent(fVentana->windowHandle(), &Cierre); // as the window system does
        } else {
            QCOMPARE(fVentana->Cierre_De_Sesion(), Respuesta);
        }
        const auto &Mostrados = Avisos_Prueba::Mostrados();
        QCOMPARE(Mostrados.size(), 1);
        QCOMPARE(Mostrados[0].Titulo, QStringLiteral("Finalizar"));
        QCOMPARE(Mostrados[0].Texto, QStringLiteral("¿Desea cerrar la aplicación?"));
        QCOMPARE(Mostrados[0].Tipo, avConfirmacion);
        QCOMPARE(Mostrados[0].Botones, baSiNo);
        QVERIFY(Mostrados[0].Defecto_Segundo);
        QTRY_COMPARE(fVentana->isVisible(), !Respuesta);
        QCOMPARE(Avisos_Prueba::Mostrados().size(), 1); // asked once, also when the session closes it
    }

    // With the real dialog, Enter alone answers " &No".
    void enterNoCierra()
    {
        Abrir();
        DialogosPrueba Dialogos;
        Dialogos.teclaAlAparecer(QString(), Qt::Key_Return);
        fVentana->close();
        QVERIFY2(Dialogos.correcto(), qPrintable(Dialogos.errores().join('\n')));
        QCOMPARE(Dialogos.atendidos(), 1);
        QVERIFY(fVentana->isVisible());
    }

    // The About box: its mail link hands a new message to the desktop, "&Cerrar" closes it.
    void acercaDe()
    {
        TFormAcercaDe AcercaDe;
        QCOMPARE(AcercaDe.windowTitle(), QStringLiteral("Acerca de....."));
        QCOMPARE(AcercaDe.size(), QSize(613, 470));
        AcercaDe.show();
        QVERIFY(QTest::qWaitForWindowExposed(&AcercaDe));
        auto *Email = AcercaDe.findChild<QLabel *>(QStringLiteral("LblEmail1"));
        QVERIFY(Email);
        QVERIFY(Email->font().bold() && Email->font().underline());
        QCOMPARE(Email->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        QCOMPARE(Email->cursor().shape(), Qt::PointingHandCursor);

        tCorreo Correo;
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &Correo, "Abrir");
        QTest::mouseClick(Email, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QCOMPARE(Correo.Abiertas.size(), 1);
        QCOMPARE(Correo.Abiertas[0].scheme(), QStringLiteral("mailto"));
        QCOMPARE(Correo.Abiertas[0].path(), QString::fromLatin1(Direccion_Soporte));

        auto *Cerrar = AcercaDe.findChild<QPushButton *>(QStringLiteral("SpeedButton1"));
        QCOMPARE(Cerrar->text(), QStringLiteral("&Cerrar"));
        QTest::mouseClick(Cerrar, Qt::LeftButton);
        QVERIFY(!AcercaDe.isVisible());
    }

    // The About box tells which data folder is in use: the data module's, or, before there is
    // one, the program's own (beside this test program, whose folder is writable).
    void acercaDeCarpetaDatos()
    {
        const auto Carpeta_Mostrada = [](QString &Texto) {
            TFormAcercaDe AcercaDe;
            auto *Lbl = AcercaDe.findChild<QLabel *>(QStringLiteral("LblCarpetaDatos"));
            if (!Lbl)
                return QString();
            Texto = Lbl->text();
            return Lbl->toolTip();
        };
        QString Texto;
        QCOMPARE(Carpeta_Mostrada(Texto), QCoreApplication::applicationDirPath() + QStringLiteral("/Datos"));
        fDatos = std::make_unique<DatosPrueba>();
        QVERIFY(fDatos->isValid());
        fModulo = std::make_unique<TModuloDatos>(fDatos->carpeta());
        QCOMPARE(Carpeta_Mostrada(Texto), fDatos->carpeta());
        // Shortened or not, the text shows where the path starts and the folder's own name.
        QVERIFY2(Texto.startsWith(QStringLiteral("Datos: /")), qPrintable(Texto));
        QVERIFY2(Texto.endsWith(QFileInfo(fDatos->carpeta()).fileName()), qPrintable(Texto));
    }

    // The splash: its strip along the bottom, and a face that looks like the one it asks for.
    void ventanaDeCarga()
    {
        TFormCargaAplicacion Carga;
        Carga.Mostrar_Ya();
        QCOMPARE(Carga.windowTitle(), QStringLiteral("Inicio Aplicación"));
        QCOMPARE(Carga.size(), QSize(460, 401));
        QLabel *Franja = Carga.LblCargando;
        QCOMPARE(Franja->text(), QStringLiteral("Cargando aplicación"));
        QCOMPARE(Franja->geometry(), QRect(0, 360, 460, 41));
        QCOMPARE(Franja->palette().color(QPalette::Window), QColor(228, 224, 211));
        QCOMPARE(Franja->palette().color(QPalette::WindowText), QColor(0, 128, 128));
        QCOMPARE(Franja->font().pixelSize(), 27);
        QVERIFY(QFontInfo(Franja->font()).bold());
        QCOMPARE(Carga.ImgFondo->geometry(), QRect(0, 0, 460, 360));
        QVERIFY(!Carga.ImgFondo->Picture().isNull());
        // The picture fills its area.
        const QImage Imagen = Carga.grab().toImage();
        QVERIFY(Imagen.pixelColor(5, 5) != Carga.palette().color(QPalette::Window));
        QVERIFY(Imagen.pixelColor(455, 355) != Carga.palette().color(QPalette::Window));
    }

    void activacionRestauraLaVentana()
    {
        Abrir();
        fVentana->showMinimized();
        QTRY_VERIFY(fVentana->isMinimized());
        fVentana->Traer_Al_Frente();
        QTRY_VERIFY(!fVentana->isMinimized());
        QVERIFY(fVentana->isVisible());
    }
};

QTEST_MAIN(tst_principal)
#include "tst_principal.moc"
