// Failures inside the toolkit's own handlers (a lookup list's choice, the record
// grid's and the record panels' handlers) are handed to the central handler where
// they run: none travels through Qt's dispatch (with this program's plain
// application object that would end the test), and the control goes on showing
// the table as it is.
#include "DBControles.h"
#include "DBCtrlGrid.h"
#include "DBGrid.h"
#include "DatosPrueba.h"
#include "Protegido.h"
#include "Table.h"

#include <QFile>
#include <QScopeGuard>
#include <QtTest>

namespace {

// Engine codes of the failures handed to the central handler (-1: another kind).
struct Informados
{
    QList<int> codigos;
    Informados()
    {
        Establecer_Manejador_Fallos([this](std::exception_ptr e) {
            try {
                std::rethrow_exception(e);
            } catch (const EDBEngineError &x) {
                codigos << x.errorCode();
            } catch (...) {
                codigos << -1;
            }
        });
    }
    ~Informados() { Establecer_Manejador_Fallos({}); }
};

// Overwrites the first bytes of a table file, and puts them back when it goes.
struct Estropeada
{
    QFile fichero;
    QByteArray cabecera;
    explicit Estropeada(const QString &ruta) : fichero(ruta)
    {
        if (fichero.open(QIODevice::ReadWrite)) {
            cabecera = fichero.read(100);
            fichero.seek(0);
            fichero.write(QByteArray(100, 'x'));
            fichero.flush();
        }
    }
    ~Estropeada()
    {
        fichero.seek(0);
        fichero.write(cabecera);
    }
};

void mostrar(QWidget *w)
{
    w->resize(420, 300);
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

} // namespace

class TstFallosManejadores : public QObject
{
    Q_OBJECT

private slots:
    // Another program deleted the vehicle; choosing a brand begins the edit, which
    // learns it: reported, and the list shows the table as it now is.
    void eleccionEnLaLista()
    {
        DatosPrueba datos;
        const int seat = datos.addBrand(QStringLiteral("SEAT"));
        datos.addBrand(QStringLiteral("FIAT"));
        datos.addVehicle(QStringLiteral("1234ABC"), seat, 0, 1000);
        TDatabase db;
        db.setDirectory(datos.carpeta());
        TTable marcas, vehiculos;
        marcas.setDatabase(&db);
        marcas.setTableName(QStringLiteral("Marcas.DAT"));
        vehiculos.setDatabase(&db);
        vehiculos.setTableName(QStringLiteral("Matriculas.DAT"));
        for (const char *n : {"MATRICULA", "MARCA", "MODELO", "MARCA_S", "MODELO_S", "KILOMETROS"})
            vehiculos.addField(QLatin1String(n));
        vehiculos.addLookupField(QStringLiteral("sMarca"), 20, QStringLiteral("MARCA"), &marcas,
                                 QStringLiteral("ORDENMARCA"), QStringLiteral("MARCA"));
        marcas.open();
        vehiculos.open();
        TDataSource ds(&vehiculos);
        ds.setAutoEdit(true);
        TDBLookupComboBox lista;
        lista.setDataSource(&ds);
        lista.setDataField(QStringLiteral("sMarca"));
        mostrar(&lista);
        QCOMPARE(lista.shownText(), QStringLiteral("SEAT"));

        {
            TDatabase otra;
            otra.setDirectory(datos.carpeta());
            TTable t;
            t.setDatabase(&otra);
            t.setTableName(QStringLiteral("Matriculas.DAT"));
            t.open();
            t.deleteRecord();
        }
        Informados informados;
        lista.setFocus();
        QTest::keyClick(&lista, Qt::Key_Down);
        QCOMPARE(informados.codigos, QList<int>{EngineCode::RecordDeleted});
        QCOMPARE(vehiculos.state(), TDataSetState::Browse);
        QCOMPARE(lista.shownText(), QString());
    }

    // The detail's file became unreadable: following the master, the grid and the
    // panels report the failed read and keep what their views know.
    void detalleIlegible_data()
    {
        QTest::addColumn<bool>("paneles");
        QTest::newRow("rejilla") << false;
        QTest::newRow("paneles") << true;
    }
    void detalleIlegible()
    {
        QFETCH(bool, paneles);
        DatosPrueba datos;
        datos.addVehicle(QStringLiteral("1111AAA"), 1, 1, 1000);
        datos.addVehicle(QStringLiteral("2222BBB"), 1, 1, 1000);
        for (int i = 0; i < 3; ++i)
            datos.addBreakdown(QStringLiteral("1111AAA"), QDate(2020, 1, 1 + i), 1000 * (i + 1));
        datos.addBreakdown(QStringLiteral("2222BBB"), QDate(2021, 1, 1), 500);
        VehiculosYDetalle t(datos.carpeta(), QStringLiteral("Averias.DAT"));
        TDataSource ds(&t.detalle);
        std::unique_ptr<QWidget> control;
        if (paneles) {
            auto *p = new TDBCtrlGrid;
            p->setItems({{QStringLiteral("KILOMETROS"), QStringLiteral("Kilometros"), QString(), false},
                         {QStringLiteral("AVERIA"), QString(), QString(), true}});
            p->setDataSource(&ds);
            control.reset(p);
        } else {
            auto *g = new TDBGrid;
            g->setDataSource(&ds);
            control.reset(g);
        }
        mostrar(control.get());

        Informados informados;
        {
            Estropeada estropeada(datos.ruta(QStringLiteral("Averias.DAT")));
            t.vehiculos.next();
            QCOMPARE(informados.codigos, QList<int>{EngineCode::ReadError});
            QCOMPARE(t.vehiculos.recNo(), 1); // the master's move stands
            control->grab();                  // paints without reading what is not there
        }
        t.vehiculos.first();
        QVERIFY(informados.codigos.size() <= 1);
        if (auto *p = qobject_cast<TDBCtrlGrid *>(control.get()))
            QCOMPARE(p->panelRow(2), 2);
        else
            QCOMPARE(static_cast<TDBGrid *>(control.get())->model()->rowCount(), 3);
    }
};

QTEST_MAIN(TstFallosManejadores)
#include "tst_fallos_manejadores.moc"
