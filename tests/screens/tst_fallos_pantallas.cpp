// Failures inside the record windows' handlers (a command button, the rule for OK
// as a field changes, a view button, the record navigator) reach the error handler
// once, where they run: none travels through Qt's dispatch, which with this test's
// plain application object would end the test, and the window stays usable.
#include "Averias.h"
#include "Avisos.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "DialogosPrueba.h"
#include "EdMatricula.h"
#include "Excepciones.h"
#include "Mantenimiento.h"
#include "Matriculas.h"
#include "Table.h"

#include <QPointer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const QString Placa = QStringLiteral("1111AAA");

// The error notices shown so far.
QStringList errores()
{
    QStringList r;
    for (const TAvisoMostrado &a : Avisos_Prueba::Mostrados())
        if (a.Tipo == avError)
            r << a.Texto;
    return r;
}

template <class T>
T *hijo(QWidget *ventana, const char *nombre)
{
    return ventana ? ventana->findChild<T *>(QString::fromLatin1(nombre)) : nullptr;
}

// One case: the window to open, the table made unreadable, and what the user
// does (in the window, or in an editor it opens); the action breaks the table,
// `estropear(true)`, at the moment the case needs it, and may mend it again,
// `estropear(false)`, before it closes what it opened.
struct tCaso
{
    std::function<std::unique_ptr<QWidget>()> ventana;
    const char *tabla;
    std::function<void(QWidget *, const std::function<void(bool)> &estropear)> accion;
};

} // namespace

Q_DECLARE_METATYPE(tCaso)

class TstFallosPantallas : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Excepcion.Configurar_Excepciones(false);
        TModuloDatos::Establecer_Manejador_Error([](std::exception_ptr e) { Excepcion.Tratar_Error(e, QString()); });
    }

    void init()
    {
        Avisos_Prueba::Reiniciar();
        Avisos_Prueba::Sin_Ventanas(true);
        Avisos_Prueba::Fijar_Pitido([](TTipoAviso) {});
    }

    void cleanup()
    {
        DialogosPrueba::cerrarModales();
        Avisos_Prueba::Reiniciar();
    }

    void falloEnUnManejador_data()
    {
        QTest::addColumn<tCaso>("caso");
        QTest::newRow("vista de averías")
            << tCaso{[] { return std::make_unique<TFormAverias>(); }, "Averias.DAT",
                     [](QWidget *w, const std::function<void(bool)> &estropear) {
                         estropear(true);
                         hijo<QToolButton>(w, "SpeedButton2")->click();
                     }};
        QTest::newRow("regla del vehículo al teclear la matrícula")
            << tCaso{[] { return std::make_unique<TFormMatriculas>(); }, "Modelos.DAT", [](QWidget *w, const std::function<void(bool)> &estropear) {
                         DialogosPrueba d;
                         d.alAparecer(QStringLiteral("TFormEdMatricula"), [&estropear](QWidget *e) {
                             estropear(true);
                             QTest::keyClick(hijo<QWidget>(e, "EditMatricula"), Qt::Key_A);
                             QVERIFY(e->isVisible());
                             estropear(false);
                             static_cast<QDialog *>(e)->reject();
                         });
                         hijo<QToolButton>(w, "BtnAnadir")->click();
                         QVERIFY2(d.correcto(), qPrintable(d.errores().join('\n')));
                     }};
        QTest::newRow("navegador")
            << tCaso{[] { return std::make_unique<TFormMantenimiento>(); }, "Mantenimiento.DAT",
                     [](QWidget *w, const std::function<void(bool)> &estropear) {
                         estropear(true);
                         hijo<QToolButton>(w, "nbNext")->click();
                     }};
    }

    void falloEnUnManejador()
    {
        QFETCH(tCaso, caso);
        DatosPrueba datos;
        QVERIFY(datos.isValid());
        const int marca = datos.addBrand(QStringLiteral("SEAT"));
        const int modelo = datos.addModel(QStringLiteral("IBIZA"), marca);
        datos.addVehicle(Placa, marca, modelo, 30000);
        datos.addVehicle(QStringLiteral("2222BBB"), marca, modelo, 1000);
        datos.addMaintenance(Placa, QDate(2024, 2, 1), 10000);
        datos.addMaintenance(QStringLiteral("2222BBB"), QDate(2024, 3, 1), 500);
        datos.addBreakdown(Placa, QDate(2024, 2, 1), 10000);
        const auto modulo = std::make_unique<TModuloDatos>(datos.carpeta());
        QVERIFY(ModuloDatos->TableMatriculas->active());
        const std::unique_ptr<QWidget> ventana = caso.ventana();
        ventana->show();
        QVERIFY(QTest::qWaitForWindowExposed(ventana.get()));
        QCOMPARE(errores(), QStringList());

        {
            std::unique_ptr<FicheroEstropeado> estropeado;
            caso.accion(ventana.get(), [&](bool estropear) {
                estropeado.reset();
                if (estropear)
                    estropeado = std::make_unique<FicheroEstropeado>(datos.ruta(QString::fromLatin1(caso.tabla)));
            });
        }
        const QStringList vistos = errores();
        QVERIFY2(vistos.size() == 1, qPrintable(vistos.join(QStringLiteral("\n---\n"))));
        QVERIFY2(vistos.constFirst().contains(QStringLiteral("error de lectura")), qPrintable(vistos.constFirst()));
        QVERIFY(ventana->isVisible());
    }
};

QTEST_MAIN(TstFallosPantallas)
#include "tst_fallos_pantallas.moc"
