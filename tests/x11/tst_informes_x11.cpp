// The report dialog on a real X display: the window system shows its caption
// for the report chosen, and the user can move in the vehicle list with the
// keyboard as soon as it opens (the list holds the focus) and leave with Esc.
#include "X11Prueba.h"

#include "Avisos.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "DialogosPrueba.h"
#include "Informes.h"
#include "Table.h"

#include <QApplication>
#include <QTest>

#include <memory>

class TstInformesX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!X11Prueba::Motivo_Sin_X().isEmpty())
            QSKIP(qPrintable(QStringLiteral("sin pantalla X: ") + X11Prueba::Motivo_Sin_X()));
    }

    void cleanup() { DialogosPrueba::cerrarModales(); }

    void tituloYTeclado_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("titulo");
        QTest::newRow("mantenimiento") << 0 << "Informe de Mantenimiento";
        QTest::newRow("neumáticos") << 2 << "Informe de Neumáticos";
    }

    void tituloYTeclado()
    {
        QFETCH(int, tipo);
        QFETCH(QString, titulo);
        DatosPrueba datos;
        QVERIFY(datos.isValid());
        const int marca = datos.addBrand(QStringLiteral("SEAT"));
        const int modelo = datos.addModel(QStringLiteral("IBIZA"), marca);
        datos.addVehicle(QStringLiteral("AAA"), marca, modelo, 1000);
        datos.addVehicle(QStringLiteral("BBB"), marca, modelo, 2000);
        TModuloDatos modulo(datos.carpeta());
        modulo.Tipo_Informe = quint8(tipo);

        QString tituloX, vehiculo;
        bool cerrado = false;
        DialogosPrueba dialogos;
        dialogos.alAparecer(QStringLiteral("TFormInformes"), [&](QWidget *w) {
            QVERIFY(QTest::qWaitForWindowActive(w));
            (void)QTest::qWaitFor([&] { return (tituloX = X11Prueba::Titulo_Ventana(w)) == titulo; }, 3000);
            QVERIFY(X11Prueba::Pulsar(0xff54)); // Down
            (void)QTest::qWaitFor([&] {
                return (vehiculo = modulo.TableMatriculas->fieldByName(QStringLiteral("MATRICULA"))->asString())
                    == QLatin1String("BBB");
            }, 3000);
            QVERIFY(X11Prueba::Pulsar(0xff1b)); // Esc
            cerrado = QTest::qWaitFor([w] { return !w->isVisible(); }, 3000);
        });
        Abrir_Informes();
        QVERIFY2(dialogos.correcto(), qPrintable(dialogos.errores().join('\n')));
        QCOMPARE(tituloX, titulo);
        QCOMPARE(vehiculo, QStringLiteral("BBB"));
        QVERIFY(cerrado);
    }
};

X11PRUEBA_MAIN(TstInformesX11, QApplication)

#include "tst_informes_x11.moc"
