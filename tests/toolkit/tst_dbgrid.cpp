// The record grid and the column of record panels: the view and the table keep
// one current record whichever one moves, both follow the table's changes, and
// a grid over a very large table reads only the rows it shows.
#include "BarraDesplazamiento.h"
#include "DBCtrlGrid.h"
#include "DBGrid.h"
#include "DatosPrueba.h"
#include "Protegido.h"
#include "Table.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QtTest>

#include <sqlite3.h>

#include <memory>

namespace {

std::unique_ptr<Mesa> marcas(int cuantas)
{
    auto m = std::make_unique<Mesa>(QStringLiteral("Marcas.DAT"));
    for (int i = 1; i <= cuantas; ++i)
        m->datos.addBrand(QStringLiteral("MARCA%1").arg(i, 2, 10, QLatin1Char('0')));
    m->tabla.open();
    return m;
}

void mostrar(QWidget *w)
{
    w->resize(420, 300);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
}

bool filaSeleccionada(const TDBGrid &g, int fila)
{
    return g.currentIndex().row() == fila && g.selectionModel()->isRowSelected(fila, QModelIndex())
        && g.selectionModel()->selectedRows().size() == 1;
}

} // namespace

class TstDBGrid : public QObject
{
    Q_OBJECT

private slots:
    void gridFollowsTable_data();
    void gridFollowsTable();
    void tableFollowsGrid_data();
    void tableFollowsGrid();
    void modelUnderChanges();
    void detailFollowsMaster();
    void detailUnreadable();
    void dateNeverCut();
    void scrollBarAsStyleDraws_data();
    void scrollBarAsStyleDraws();
    void columnsAndTexts_data();
    void columnsAndTexts();
    void followsCloseFilterRefresh();
    void doubleClick();
    void largeTableReadsOnlyShownRows();
    void panelsFollowTable();
    void panelClickMovesTable();
};

void TstDBGrid::gridFollowsTable_data()
{
    QTest::addColumn<QString>("movimiento");
    QTest::addColumn<int>("fila");
    QTest::newRow("al abrir") << "" << 0;
    QTest::newRow("ultimo") << "last" << 5;
    QTest::newRow("siguiente") << "next" << 1;
    QTest::newRow("ultimo y anterior") << "last,prior" << 4;
    QTest::newRow("a una fila") << "moveTo3" << 3;
    QTest::newRow("localizar") << "locate" << 2;
    QTest::newRow("pasado el final") << "last,next" << 5;
}

void TstDBGrid::gridFollowsTable()
{
    QFETCH(QString, movimiento);
    QFETCH(int, fila);
    auto m = marcas(6);
    TDBGrid grid;
    grid.setDataSource(&m->ds);
    mostrar(&grid);
    for (const QString &paso : movimiento.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (paso == QLatin1String("last"))
            m->tabla.last();
        else if (paso == QLatin1String("next"))
            m->tabla.next();
        else if (paso == QLatin1String("prior"))
            m->tabla.prior();
        else if (paso == QLatin1String("moveTo3"))
            m->tabla.moveTo(3);
        else if (paso == QLatin1String("locate"))
            QVERIFY(m->tabla.locate(QStringLiteral("marca"), QStringLiteral("MARCA03")));
    }
    QCOMPARE(m->tabla.recNo(), fila);
    QVERIFY(filaSeleccionada(grid, fila));
    // The row on show is the record the table holds.
    QCOMPARE(grid.model()->index(fila, 0).data().toString(), m->tabla.fieldByName(QStringLiteral("MARCA"))->asString());
}

void TstDBGrid::tableFollowsGrid_data()
{
    QTest::addColumn<QString>("accion");
    QTest::addColumn<int>("fila");
    QTest::newRow("clic en una fila") << "click4" << 4;
    QTest::newRow("flecha abajo") << "down" << 1;
    QTest::newRow("fin") << "end" << 29;
    QTest::newRow("fin e inicio") << "end,home" << 0;
    QTest::newRow("avance de pagina") << "pagedown" << -1; // somewhere below, as the view decides
    QTest::newRow("control-clic en la fila actual") << "ctrlclick0" << 0;
}

void TstDBGrid::tableFollowsGrid()
{
    QFETCH(QString, accion);
    QFETCH(int, fila);
    auto m = marcas(30);
    TDBGrid grid;
    grid.setDataSource(&m->ds);
    mostrar(&grid);
    grid.setFocus();
    QSignalSpy scroll(&m->tabla, &TTable::afterScroll);
    for (const QString &paso : accion.split(QLatin1Char(','))) {
        if (paso.startsWith(QLatin1String("click")) || paso.startsWith(QLatin1String("ctrlclick"))) {
            const int r = paso.right(1).toInt();
            const QPoint p = grid.visualRect(grid.model()->index(r, 0)).center();
            QTest::mouseClick(grid.viewport(), Qt::LeftButton,
                              paso.startsWith(QLatin1String("ctrl")) ? Qt::ControlModifier : Qt::NoModifier, p);
        } else if (paso == QLatin1String("down")) {
            QTest::keyClick(&grid, Qt::Key_Down);
        } else if (paso == QLatin1String("end")) {
            QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
        } else if (paso == QLatin1String("home")) {
            QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
        } else if (paso == QLatin1String("pagedown")) {
            QTest::keyClick(&grid, Qt::Key_PageDown);
        }
    }
    if (fila < 0) {
        QVERIFY(grid.currentIndex().row() > 1);
        fila = grid.currentIndex().row();
    }
    QCOMPARE(m->tabla.recNo(), fila);
    QVERIFY(filaSeleccionada(grid, fila));
    // One move of the table for each move of the view, none for a click that stays.
    QCOMPARE(scroll.count(), accion.count(QLatin1Char(',')) + (accion.startsWith(QLatin1String("ctrl")) ? 0 : 1));
}

void TstDBGrid::modelUnderChanges()
{
    auto m = marcas(4);
    TDBGrid grid;
    grid.setDataSource(&m->ds);
    QAbstractItemModelTester tester(grid.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    mostrar(&grid);
    QCOMPARE(grid.model()->rowCount(), 4);
    QCOMPARE(grid.model()->columnCount(), 2); // every field, in the table's order
    m->tabla.setFilter(QStringLiteral("Marca = 'MARCA02'"));
    m->tabla.setFiltered(true);
    QCOMPARE(grid.model()->rowCount(), 1);
    m->tabla.setFiltered(false);
    m->tabla.edit();
    m->tabla.fieldByName(QStringLiteral("MARCA"))->setAsString(QStringLiteral("OTRA"));
    m->tabla.post();
    m->tabla.deleteRecord();
    QCOMPARE(grid.model()->rowCount(), 3);
    m->tabla.close();
    QCOMPARE(grid.model()->rowCount(), 0);
    m->tabla.open();
    grid.setColumns({{QStringLiteral("MARCA"), QStringLiteral("Marca"), 80, Qt::AlignCenter, Qt::AlignCenter}});
    QCOMPARE(grid.model()->columnCount(), 1);
    QCOMPARE(grid.model()->rowCount(), 3);
}

// A grid over a detail table while its master moves: the rows are always the
// master's, the current one selected, and what the user did to the columns stays.
void TstDBGrid::detailFollowsMaster()
{
    DatosPrueba datos;
    const QList<QPair<QString, int>> vehiculos{{QStringLiteral("1111AAA"), 3},
                                               {QStringLiteral("2222BBB"), 1},
                                               {QStringLiteral("3333CCC"), 0},
                                               {QStringLiteral("4444DDD"), 5}};
    for (const auto &[matricula, cuantas] : vehiculos) {
        datos.addVehicle(matricula, 1, 1, 1000);
        for (int i = 0; i < cuantas; ++i)
            datos.addMaintenance(matricula, QDate(2020, 1, 1 + i), 1000 * (i + 1));
    }
    VehiculosYDetalle t(datos.carpeta(), QStringLiteral("Mantenimiento.DAT"));
    TTable &maestra = t.vehiculos;
    TDataSource ds(&t.detalle);
    TDBGrid grid;
    grid.setDataSource(&ds);
    grid.setColumns({{QStringLiteral("FECHA"), QStringLiteral("Fecha"), 90, {}, Qt::AlignLeft},
                     {QStringLiteral("KILOMETROS"), QStringLiteral("Kilómetros"), 80, {}, Qt::AlignLeft}});
    QAbstractItemModelTester tester(grid.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    mostrar(&grid);
    grid.horizontalHeader()->resizeSection(1, 133); // as a user dragging the divider
    QSignalSpy reinicios(grid.model(), &QAbstractItemModel::modelReset);

    for (int paso : {1, 2, 3, 0, 3, 1}) {
        maestra.moveTo(paso);
        const int cuantas = vehiculos[paso].second;
        QCOMPARE(grid.model()->rowCount(), cuantas);
        for (int i = 0; i < cuantas; ++i)
            QCOMPARE(grid.model()->index(i, 1).data().toInt(), 1000 * (i + 1));
        if (cuantas > 0) {
            t.detalle.last();
            QVERIFY(filaSeleccionada(grid, cuantas - 1));
        } else {
            QVERIFY(!grid.currentIndex().isValid());
        }
        QCoreApplication::processEvents();
        QCOMPARE(grid.columnWidth(1), 133);
    }
    // The header is never rebuilt for a move: only the rows change.
    QCOMPARE(reinicios.count(), 0);
}

// The detail's file is damaged while the grid shows it: the master's move reports
// the failure, and the grid stays what its view knows, ready for the next move.
void TstDBGrid::detailUnreadable()
{
    DatosPrueba datos;
    datos.addVehicle(QStringLiteral("1111AAA"), 1, 1, 1000);
    datos.addVehicle(QStringLiteral("2222BBB"), 1, 1, 1000);
    for (int i = 0; i < 3; ++i)
        datos.addMaintenance(QStringLiteral("1111AAA"), QDate(2020, 1, 1 + i), 1000 * (i + 1));
    datos.addMaintenance(QStringLiteral("2222BBB"), QDate(2021, 1, 1), 500);
    VehiculosYDetalle t(datos.carpeta(), QStringLiteral("Mantenimiento.DAT"));
    TTable &maestra = t.vehiculos;
    TDataSource ds(&t.detalle);
    TDBGrid grid;
    grid.setDataSource(&ds);
    mostrar(&grid);
    QCOMPARE(grid.model()->rowCount(), 3);

    QFile fichero(datos.ruta(QStringLiteral("Mantenimiento.DAT")));
    QVERIFY(fichero.open(QIODevice::ReadWrite));
    const QByteArray cabecera = fichero.read(100);
    QVERIFY(fichero.seek(0));
    QCOMPARE(fichero.write(QByteArray(100, 'x')), qint64(100));
    fichero.flush();
    // The grid's handler reports the failed read where it runs: the master's move
    // is not undone by it, and nothing travels back through the table's signal.
    QList<int> codigos;
    Establecer_Manejador_Fallos([&](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const EDBEngineError &x) {
            codigos << x.errorCode();
        } catch (...) {
            codigos << -1;
        }
    });
    const auto restaurar = qScopeGuard([] { Establecer_Manejador_Fallos({}); });
    maestra.next();
    QCOMPARE(codigos, QList<int>{EngineCode::ReadError});
    QCOMPARE(grid.model()->rowCount(), grid.verticalHeader()->count());
    grid.grab(); // paints without reading what is not there

    QVERIFY(fichero.seek(0));
    QCOMPARE(fichero.write(cabecera), qint64(100));
    fichero.close();
    maestra.first();
    QCOMPARE(grid.model()->rowCount(), 3);
    QCOMPARE(grid.verticalHeader()->count(), 3);
    maestra.next();
    QCOMPARE(grid.model()->rowCount(), 1);
    grid.setColumns({{QStringLiteral("KILOMETROS"), QString(), 80, {}, Qt::AlignLeft}});
    QCOMPARE(grid.model()->index(0, 0).data().toString(), QStringLiteral("500"));
}

// A date column given a width meant for a smaller font still shows whole dates.
void TstDBGrid::dateNeverCut()
{
    Mesa m(QStringLiteral("Mantenimiento.DAT"));
    m.datos.addMaintenance(QStringLiteral("1234ABC"), QDate(2024, 12, 28), 123456);
    m.tabla.open();
    TDBGrid grid;
    QFont grande = grid.font();
    grande.setPointSize(grande.pointSize() * 2);
    grid.setFont(grande);
    grid.setDataSource(&m.ds);
    grid.setColumns({{QStringLiteral("FECHA"), QStringLiteral("Fecha"), 40, {}, Qt::AlignLeft}});
    mostrar(&grid);
    const QString texto = grid.model()->index(0, 0).data().toString();
    QCOMPARE(texto, QStringLiteral("28/12/2024"));
    QVERIFY2(grid.columnWidth(0) > grid.fontMetrics().horizontalAdvance(texto),
             qPrintable(QString::number(grid.columnWidth(0))));
}

void TstDBGrid::scrollBarAsStyleDraws_data()
{
    QTest::addColumn<int>("orientacion");
    QTest::addColumn<bool>("activa");
    QTest::newRow("vertical") << int(Qt::Vertical) << true;
    QTest::newRow("horizontal") << int(Qt::Horizontal) << true;
    QTest::newRow("vertical inactiva") << int(Qt::Vertical) << false;
}

// The kept pictures are the ones the style draws for each state, never an
// earlier state's; and a state seen before is not drawn again.
void TstDBGrid::scrollBarAsStyleDraws()
{
    QFETCH(int, orientacion);
    QFETCH(bool, activa);
    const auto o = Qt::Orientation(orientacion);
    TBarraDesplazamiento barra(o);
    QScrollBar modelo(o);
    const QSize tamano = o == Qt::Vertical ? QSize(16, 200) : QSize(200, 16);
    for (QScrollBar *b : {static_cast<QScrollBar *>(&barra), &modelo}) {
        b->resize(tamano);
        b->setEnabled(activa);
    }
    struct Estado { int maximo, valor, pagina; };
    const QList<Estado> estados{{100, 0, 10}, {100, 30, 10}, {100, 60, 10}, {100, 100, 10}, {40, 20, 30}, {0, 0, 10}};
    int dibujadasPrimeraVuelta = 0;
    for (int vuelta = 0; vuelta < 2; ++vuelta) {
        for (const Estado &e : estados) {
            for (QScrollBar *b : {static_cast<QScrollBar *>(&barra), &modelo}) {
                b->setRange(0, e.maximo);
                b->setPageStep(e.pagina);
                b->setValue(e.valor);
            }
            QCOMPARE(barra.grab().toImage(), modelo.grab().toImage());
        }
        if (vuelta == 0)
            dibujadasPrimeraVuelta = barra.Dibujadas();
    }
    QVERIFY(dibujadasPrimeraVuelta > 1);
    QCOMPARE(barra.Dibujadas(), dibujadasPrimeraVuelta);
}

void TstDBGrid::columnsAndTexts_data()
{
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("formato");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<int>("alineacion"); // 0: the grid's choice
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("alineacionVista");
    QTest::addColumn<QString>("tituloVisto");
    QTest::newRow("fecha") << "FECHA" << "" << "Fecha" << int(Qt::AlignCenter) << "07/03/2001"
                           << int(Qt::AlignHCenter) << "Fecha";
    QTest::newRow("kilometros con formato") << "KILOMETROS" << "###.###,##" << "Kilómetros" << 0 << "123.456"
                                            << int(Qt::AlignRight) << "Kilómetros";
    QTest::newRow("kilometros sin formato") << "KILOMETROS" << "" << "" << 0 << "123456" << int(Qt::AlignRight)
                                            << "KILOMETROS";
    QTest::newRow("tarea") << "BUJIAS" << "" << "Bujías" << int(Qt::AlignHCenter) << "X" << int(Qt::AlignHCenter)
                           << "Bujías";
    QTest::newRow("tarea vacia, texto a la izquierda") << "C_ACEITE" << "" << "" << 0 << "" << int(Qt::AlignLeft)
                                                       << "C_ACEITE";
}

void TstDBGrid::columnsAndTexts()
{
    QFETCH(QString, campo);
    QFETCH(QString, formato);
    QFETCH(QString, titulo);
    QFETCH(int, alineacion);
    QFETCH(QString, texto);
    QFETCH(int, alineacionVista);
    QFETCH(QString, tituloVisto);
    Mesa m(QStringLiteral("Mantenimiento.DAT"));
    m.datos.addMaintenance(QStringLiteral("1234ABC"), QDate(2001, 3, 7), 123456, {QStringLiteral("BUJIAS")});
    m.tabla.open();
    m.tabla.fieldByName(campo)->setDisplayFormat(formato);
    TDBGrid grid;
    grid.setDataSource(&m.ds);
    grid.setColumns({{QStringLiteral("MATRICULA"), QString(), 0, {}, Qt::AlignLeft},
                     {campo, titulo, 90, Qt::Alignment(alineacion), Qt::AlignCenter}});
    const QModelIndex i = grid.model()->index(0, 1);
    QCOMPARE(i.data().toString(), texto);
    QCOMPARE(i.data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask, alineacionVista);
    QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), tituloVisto);
    QCOMPARE(grid.model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
             int(Qt::AlignHCenter));
    QCOMPARE(grid.columnWidth(1), 90);
    QVERIFY(grid.columnWidth(0) > 0);
    QVERIFY(!(grid.model()->flags(i) & Qt::ItemIsEditable));
}

void TstDBGrid::followsCloseFilterRefresh()
{
    auto m = marcas(5);
    TDBGrid grid;
    grid.setDataSource(&m->ds);
    mostrar(&grid);
    m->tabla.moveTo(3);
    QVERIFY(filaSeleccionada(grid, 3));

    m->tabla.close();
    QCOMPARE(grid.model()->rowCount(), 0);
    QVERIFY(!grid.currentIndex().isValid());

    m->tabla.open(); // opening makes the first record current
    QCOMPARE(grid.model()->rowCount(), 5);
    QVERIFY(filaSeleccionada(grid, m->tabla.recNo()));

    m->tabla.setFilter(QStringLiteral("Marca = 'MARCA04'"));
    m->tabla.setFiltered(true);
    QCOMPARE(grid.model()->rowCount(), 1);
    QVERIFY(filaSeleccionada(grid, 0));
    QCOMPARE(grid.model()->index(0, 0).data().toString(), QStringLiteral("MARCA04"));
    m->tabla.setFiltered(false);

    // A record added through another table object shows after a refresh.
    m->datos.addBrand(QStringLiteral("NUEVA"));
    m->tabla.last();
    m->tabla.refresh();
    QCOMPARE(grid.model()->rowCount(), 6);
    QVERIFY(filaSeleccionada(grid, m->tabla.recNo()));

    // A change that stays pending is not on the grid until it is posted.
    m->tabla.first();
    m->tabla.edit();
    m->tabla.fieldByName(QStringLiteral("MARCA"))->setAsString(QStringLiteral("CAMBIADA"));
    QCOMPARE(grid.model()->index(0, 0).data().toString(), QStringLiteral("MARCA01"));
    m->tabla.post();
    QCOMPARE(grid.model()->index(m->tabla.recNo(), 0).data().toString(), QStringLiteral("CAMBIADA"));
    QVERIFY(filaSeleccionada(grid, m->tabla.recNo()));
}

void TstDBGrid::doubleClick()
{
    auto m = marcas(3);
    TDBGrid grid;
    grid.setDataSource(&m->ds);
    mostrar(&grid);
    QSignalSpy dbl(&grid, &TDBGrid::dblClick);
    const QPoint p = grid.visualRect(grid.model()->index(2, 0)).center();
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, p);
    QCOMPARE(dbl.count(), 1);
    QCOMPARE(m->tabla.recNo(), 2); // the editor opens on the record clicked
}

namespace {
// Fills `tabla` in `carpeta` with `filas` records in one transaction, straight
// into the file: writing them one post at a time would take minutes.
bool llenar(const QString &ruta, int filas)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(ruta.toUtf8().constData(), &db) != SQLITE_OK)
        return false;
    bool ok = false;
    sqlite3_stmt *st = nullptr;
    QByteArray nombre;
    if (sqlite3_prepare_v2(db,
                           "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite%' "
                           "AND name NOT LIKE '\\_%' ESCAPE '\\'",
                           -1, &st, nullptr) == SQLITE_OK
        && sqlite3_step(st) == SQLITE_ROW)
        nombre = reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    const QByteArray insercion = "INSERT INTO \"" + nombre + "\" (NOMBRE, NUMERO) VALUES (?, ?)";
    if (!nombre.isEmpty() && sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK
        && sqlite3_prepare_v2(db, insercion.constData(), -1, &st, nullptr) == SQLITE_OK) {
        ok = true;
        for (int i = 0; ok && i < filas; ++i) {
            const QByteArray texto = QByteArray("R") + QByteArray::number(i);
            sqlite3_bind_text(st, 1, texto.constData(), int(texto.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 2, i);
            ok = sqlite3_step(st) == SQLITE_DONE;
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        ok = sqlite3_exec(db, ok ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr) == SQLITE_OK && ok;
    }
    sqlite3_close(db);
    return ok;
}
} // namespace

void TstDBGrid::largeTableReadsOnlyShownRows()
{
    const int filas = 200000;
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    TableStore::createTable(datos.carpeta(), {QStringLiteral("Grande.DAT"),
                                              {{QStringLiteral("NOMBRE"), TFieldType::Text, 20},
                                               {QStringLiteral("NUMERO"), TFieldType::Integer, 0}},
                                              {}});
    QVERIFY(llenar(datos.ruta(QStringLiteral("Grande.DAT")), filas));
    TDatabase db;
    db.setDirectory(datos.carpeta());
    TTable tabla;
    tabla.setDatabase(&db);
    tabla.setTableName(QStringLiteral("Grande.DAT"));
    tabla.open();
    QCOMPARE(tabla.recordCount(), filas);
    TDataSource ds(&tabla);

    TDBGrid grid;
    grid.setDataSource(&ds);
    mostrar(&grid);
    QCoreApplication::processEvents();
    QCOMPARE(grid.model()->rowCount(), filas);
    // A screenful of rows, two columns, a few paints: tens of reads, not one per row
    // (measuring every row for the column widths alone would read thousands).
    const qint64 alAbrir = grid.gridModel()->valueReads();
    QVERIFY2(alAbrir > 0 && alAbrir < 500, qPrintable(QString::number(alAbrir)));

    tabla.last();
    QCoreApplication::processEvents();
    QVERIFY(filaSeleccionada(grid, filas - 1));
    QCOMPARE(grid.model()->index(filas - 1, 1).data().toInt(), filas - 1);
    QTest::keyClick(&grid, Qt::Key_PageUp);
    QCoreApplication::processEvents();
    QVERIFY(tabla.recNo() < filas - 1);
    const qint64 total = grid.gridModel()->valueReads();
    QVERIFY2(total < 1000, qPrintable(QString::number(total)));
}

namespace {
std::unique_ptr<Mesa> averias(int cuantas)
{
    auto m = std::make_unique<Mesa>(QStringLiteral("Averias.DAT"));
    for (int i = 0; i < cuantas; ++i)
        m->datos.addBreakdown(QStringLiteral("1234ABC"), QDate(2024, 1, 1 + i), 1000 * (i + 1),
                              QStringLiteral("Avería %1").arg(i));
    m->tabla.open();
    return m;
}

const QList<TDBCtrlGridItem> camposAveria{
    {QStringLiteral("FECHAINICIO"), QStringLiteral("Fecha Inicio"), QStringLiteral("Fecha Inicio"), false},
    {QStringLiteral("KILOMETROS"), QStringLiteral("Kilometros"), QStringLiteral("Kilometros"), false},
    {QStringLiteral("AVERIA"), QString(), QStringLiteral("Descripción de la averia"), true}};

// What panel `i` shows: its start date, or "-" when it shows no record.
QString fecha(const TDBCtrlGrid &g, int i)
{
    auto *e = g.panel(i)->findChild<QLineEdit *>(QStringLiteral("FECHAINICIO"));
    return e && e->isVisibleTo(g.panel(i)) ? e->text() : QStringLiteral("-");
}

int actual(const TDBCtrlGrid &g)
{
    int encontrado = -1;
    for (int i = 0; i < g.panelCount(); ++i) {
        if (g.panel(i)->property("actual").toBool()) {
            if (encontrado >= 0)
                return -2; // two highlighted
            encontrado = i;
        }
    }
    return encontrado;
}
} // namespace

void TstDBGrid::panelsFollowTable()
{
    auto m = averias(5);
    TDBCtrlGrid grid;
    grid.setItems(camposAveria);
    grid.setDataSource(&m->ds);
    mostrar(&grid);
    QCOMPARE(grid.panelCount(), 3);
    QCOMPARE(fecha(grid, 0), QStringLiteral("01/01/2024"));
    QCOMPARE(fecha(grid, 2), QStringLiteral("03/01/2024"));
    QCOMPARE(actual(grid), 0);
    QCOMPARE(grid.panel(0)->findChild<QPlainTextEdit *>(QStringLiteral("AVERIA"))->toPlainText(),
             QStringLiteral("Avería 0"));
    QCOMPARE(grid.panel(1)->findChild<QLineEdit *>(QStringLiteral("KILOMETROS"))->toolTip(),
             QStringLiteral("Kilometros"));

    m->tabla.last();
    QCOMPARE(fecha(grid, 0), QStringLiteral("03/01/2024"));
    QCOMPARE(fecha(grid, 2), QStringLiteral("05/01/2024"));
    QCOMPARE(actual(grid), 2);
    QCOMPARE(grid.panel(2)->palette().color(QPalette::Window), TDBCtrlGrid::selectedColor());
    QVERIFY(grid.panel(0)->palette().color(QPalette::Window) != TDBCtrlGrid::selectedColor());

    m->tabla.prior(); // stays within the panels on show
    QCOMPARE(grid.topRow(), 2);
    QCOMPARE(actual(grid), 1);

    m->tabla.first();
    QCOMPARE(grid.topRow(), 0);
    QCOMPARE(actual(grid), 0);

    // Fewer records than panels: the rest show nothing.
    m->tabla.setFilter(QStringLiteral("Kilometros = 2000"));
    m->tabla.setFiltered(true);
    QCOMPARE(fecha(grid, 0), QStringLiteral("02/01/2024"));
    QCOMPARE(fecha(grid, 1), QStringLiteral("-"));
    QCOMPARE(actual(grid), 0);

    m->tabla.close();
    QCOMPARE(fecha(grid, 0), QStringLiteral("-"));
    QCOMPARE(actual(grid), -1);
}

void TstDBGrid::panelClickMovesTable()
{
    auto m = averias(5);
    QWidget ventana;
    auto &grid = *new TDBCtrlGrid(&ventana);
    grid.setItems(camposAveria);
    grid.setDataSource(&m->ds);
    auto *otro = new QLineEdit(&ventana);
    grid.setGeometry(0, 0, 400, 280);
    otro->setGeometry(0, 285, 100, 20);
    mostrar(&ventana);
    ventana.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&ventana));
    otro->setFocus();

    // A click on the text of the third panel: its record becomes current and the
    // focus goes to the grid, never to the panel's field.
    auto *texto = grid.panel(2)->findChild<QPlainTextEdit *>(QStringLiteral("AVERIA"));
    QTest::mouseClick(texto->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(m->tabla.recNo(), 2);
    QCOMPARE(actual(grid), 2);
    QVERIFY(grid.hasFocus());

    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(m->tabla.recNo(), 3);
    QCOMPARE(grid.topRow(), 1);
    QCOMPARE(actual(grid), 2);

    QSignalSpy dbl(&grid, &TDBCtrlGrid::dblClick);
    QTest::mouseDClick(grid.panel(0)->findChild<QLineEdit *>(QStringLiteral("KILOMETROS")), Qt::LeftButton);
    QCOMPARE(dbl.count(), 1);
    QCOMPARE(m->tabla.recNo(), 1);
}

QTEST_MAIN(TstDBGrid)
#include "tst_dbgrid.moc"
