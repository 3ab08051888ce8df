// The captions the window system shows, read from the X server: exactly the
// program's own texts, with nothing of the application's name appended, for the
// main window, a list window, the exit question and an error message.
#include "X11Prueba.h"

#include "Aplicacion.h"
#include "Arranque.h"
#include "Avisos.h"
#include "DatosPrueba.h"
#include "DialogosPrueba.h"
#include "Excepciones.h"
#include "Principal.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUuid>

#include <stdexcept>

class TstTitulosX11 : public QObject
{
    Q_OBJECT

    QTemporaryDir fLog;

    // What the window system holds once it has caught up with the window.
    static QString TituloX(const QWidget *w)
    {
        QString t;
        (void)QTest::qWaitFor([&] { return (t = X11Prueba::Titulo_Ventana(w)) == w->windowTitle(); }, 3000);
        return t;
    }

private slots:
    void initTestCase()
    {
        if (!X11Prueba::Motivo_Sin_X().isEmpty())
            QSKIP(qPrintable(QStringLiteral("sin pantalla X: ") + X11Prueba::Motivo_Sin_X()));
        QVERIFY(fLog.isValid());
        Preparar_Unidades();
        Excepcion.Fijar_Carpeta_Log(fLog.path());
    }

    void cleanup()
    {
        DialogosPrueba::cerrarModales();
        Avisos_Prueba::Reiniciar();
    }

    void titulosExactos()
    {
        DatosPrueba Datos;
        QVERIFY(Datos.isValid());
        const int Marca = Datos.addBrand(QStringLiteral("SEAT"));
        Datos.addVehicle(QStringLiteral("1234ABC"), Marca, Datos.addModel(QStringLiteral("IBIZA"), Marca), 30000);
        Avisos_Prueba::Reiniciar();
        Avisos_Prueba::Sin_Ventanas(false); // the real dialogs, with their own windows

        QList<QPair<QString, QString>> Vistos; // caption set, caption on the X server
        auto Anotar = [&Vistos](const QWidget *w) { Vistos << qMakePair(w->windowTitle(), TituloX(w)); };

        tOpcionesArranque Opciones;
        Opciones.Nombre_Bloque = QStringLiteral("QuelvaroPrueba-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        Opciones.Carpeta_Datos = Datos.carpeta();
        Opciones.Al_Empezar = [&](TFormPrincipal &Principal, tSharedMem &) {
            // Inside the event loop, so that closing the main window ends it.
            QTimer::singleShot(0, &Principal, [&] {
                QVERIFY(QTest::qWaitForWindowExposed(&Principal));
                Anotar(&Principal);

                DialogosPrueba Lista;
                Lista.alAparecer(QStringLiteral("TFormMantenimiento"), [&](QWidget *w) {
                    Anotar(w);
                    w->close();
                });
                Principal.SBMantto->click();
                QVERIFY2(Lista.correcto(), qPrintable(Lista.errores().join('\n')));

                DialogosPrueba Error;
                Error.alAparecer(QString(), [&](QWidget *w) {
                    Anotar(w);
                    DialogosPrueba::pulsarBoton(w, QStringLiteral("&Aceptar"));
                });
                Excepcion.Tratar_Error(std::runtime_error("fallo de prueba"), QString());
                QVERIFY2(Error.correcto(), qPrintable(Error.errores().join('\n')));

                DialogosPrueba Salir;
                Salir.alAparecer(QString(), [&](QWidget *w) {
                    Anotar(w);
                    DialogosPrueba::pulsarBoton(w, QStringLiteral(" &Sí"));
                });
                Principal.close();
                QVERIFY2(Salir.correcto(), qPrintable(Salir.errores().join('\n')));
            });
        };
        QCOMPARE(Secuencia_Principal(Opciones), 0);

        QCOMPARE(Vistos.size(), 4);
        QCOMPARE(Vistos[0].first, QStringLiteral("Quelvaro"));
        QVERIFY2(Vistos[1].first.endsWith(QStringLiteral(" - Mantenimiento (0 registros)")), qPrintable(Vistos[1].first));
        QCOMPARE(Vistos[2].first, QStringLiteral("Error"));
        QCOMPARE(Vistos[3].first, QStringLiteral("Finalizar"));
        for (const auto &v : std::as_const(Vistos))
            QCOMPARE(v.second, v.first);
    }
};

X11PRUEBA_MAIN(TstTitulosX11, tAplicacion)

#include "tst_titulos_x11.moc"
