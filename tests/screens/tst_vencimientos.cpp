// The fleet overview driven headless: its rows, states and colours at the
// edges of the margin, the filters (the text taken literally), the sorting, the
// maintenance window opened on a row, and the window following what other
// windows and other programs change, keeping the selected row.
#include "Avisos.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "DialogosPrueba.h"
#include "EdMantenimiento.h"
#include "EdMatricula.h"
#include "Excepciones.h"
#include "Mantenimiento.h"
#include "Matriculas.h"
#include "Pantallas.h"
#include "QRepPreview.h"
#include "ReportDef.h"
#include "Table.h"
#include "Teclado.h"
#include "Vencimientos.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <sqlite3.h>

#include <cmath>
#include <memory>

namespace {

int T(const char *campo)
{
    return Indice_Tarea(QLatin1String(campo));
}

// The data folder, the data module and the overview on them.
struct Flota
{
    DatosPrueba datos;
    std::unique_ptr<TModuloDatos> modulo;
    QPointer<TFormVencimientos> ventana;
    int seat = 0, citroen = 0, mazda = 0;

    // 1111AAA at 30.000 km: its four tasks fall due at 29.999, 30.000, 31.000 and 31.001.
    // With `otros`, three vehicles more, each with one overdue task (no interval for it).
    explicit Flota(bool otros = false)
    {
        seat = datos.addBrand(QStringLiteral("SEAT"));
        const int ibiza = datos.addModel(QStringLiteral("IBIZA"), seat);
        datos.addInterval(seat, {{"C_ACEITE", 9999}, {"F_ACEITE", 10000}, {"F_AIRE", 11000}, {"F_COMBUSTIBLE", 11001}});
        datos.addVehicle(QStringLiteral("1111AAA"), seat, ibiza, 30000);
        datos.addMaintenance(QStringLiteral("1111AAA"), QDate(2024, 1, 10), 20000,
                             {"C_ACEITE", "F_ACEITE", "F_AIRE", "F_COMBUSTIBLE"});
        if (!otros)
            return;
        citroen = datos.addBrand(QStringLiteral("CITROËN"));
        mazda = datos.addBrand(QStringLiteral("MAZDA"));
        datos.addVehicle(QStringLiteral("O'NEIL 1"), citroen, datos.addModel(QStringLiteral("C4 50%"), citroen), 50000);
        datos.addVehicle(QStringLiteral("AB_12"), seat, datos.addModel(QStringLiteral("LEÓN"), seat), 60000);
        datos.addVehicle(QStringLiteral("ABX12"), mazda, datos.addModel(QStringLiteral("CX_5"), mazda), 70000);
        datos.addMaintenance(QStringLiteral("O'NEIL 1"), QDate(2024, 1, 10), 45000, {"BUJIAS"});
        datos.addMaintenance(QStringLiteral("AB_12"), QDate(2024, 1, 10), 55000, {"BUJIAS"});
        datos.addMaintenance(QStringLiteral("ABX12"), QDate(2024, 1, 10), 65000, {"BUJIAS"});
    }

    ~Flota()
    {
        delete ventana.data();
        modulo.reset();
    }

    bool abrir()
    {
        modulo = std::make_unique<TModuloDatos>(datos.carpeta());
        Abrir_Vencimientos();
        ventana = TFormVencimientos::Instancia();
        if (!ventana)
            return false;
        new QAbstractItemModelTester(ventana->Modelo, QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     ventana);
        return QTest::qWaitForWindowExposed(ventana.data());
    }

    TModeloVencimientos *m() const { return ventana->Modelo; }

    // "plate/task" of every row shown, in order.
    QStringList filas() const
    {
        QStringList r;
        for (int i = 0; i < m()->rowCount(); ++i)
            r << m()->Vehiculo(i).Matricula + QLatin1Char('/') + Tareas()[std::size_t(m()->Vencimiento(i).Tarea)].Campo;
        return r;
    }
    QString texto(int fila, int columna) const { return m()->index(fila, columna).data().toString(); }

    void seleccionar(const QString &matricula, int tarea)
    {
        const int f = ventana->Fila(matricula, tarea);
        QVERIFY(f >= 0);
        ventana->GridVencimientos->setCurrentIndex(m()->index(f, 0));
    }
    // The row selected now, as "plate/task", or empty.
    QString seleccionada() const
    {
        const QModelIndexList s = ventana->GridVencimientos->selectionModel()->selectedRows();
        if (s.size() != 1 || ventana->GridVencimientos->currentIndex().row() != s[0].row())
            return QString();
        const int f = s[0].row();
        return m()->Vehiculo(f).Matricula + QLatin1Char('/') + Tareas()[std::size_t(m()->Vencimiento(f).Tarea)].Campo;
    }
};

QLineEdit *Linea(QSpinBox *s)
{
    return s->findChild<QLineEdit *>();
}

} // namespace

class TstVencimientos : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void ventana();
    void estados_data();
    void estados();
    void margenGuardado();
    void filtroTexto_data();
    void filtroTexto();
    void ordenar();
    void abrirMantenimiento_data();
    void abrirMantenimiento();
    void sigueLosCambios_data();
    void sigueLosCambios();
    void operacionEnElMantenimiento();
    void tablasCerradas();
    void imprimir();
};

void TstVencimientos::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    Excepcion.Configurar_Excepciones(false);
}

void TstVencimientos::init()
{
    QFile::remove(Fichero_Ajustes());
    Avisos_Prueba::Reiniciar();
    Avisos_Prueba::Sin_Ventanas(true);
}

void TstVencimientos::cleanup()
{
    DialogosPrueba::cerrarModales();
    Avisos_Prueba::Reiniciar();
    QVERIFY(!TFormVencimientos::Instancia());
}

// What opens: the caption with the counts, the columns, the default filter and
// order, one window at a time that does not block the rest of the program.
void TstVencimientos::ventana()
{
    Flota f(true);
    QVERIFY(f.abrir());
    TFormVencimientos *v = f.ventana;
    QCOMPARE(v->windowTitle(), QStringLiteral("Vencimientos de la flota (4 vencidas, 2 próximas)"));
    QVERIFY(!v->isModal());
    QCOMPARE(v->windowModality(), Qt::NonModal);
    QVERIFY(v->RBVencidasProximas->isChecked());
    QCOMPARE(Linea(v->EditMargen)->text(), QStringLiteral("1.000 km"));

    QStringList titulos;
    for (int c = 0; c < f.m()->columnCount(); ++c)
        titulos << f.m()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titulos, QStringList({"Matrícula", "Marca", "Modelo", "Km actuales", "Tarea", "Próximo mant.",
                                   "Km restantes"}));
    // The most overdue first, ties by plate; the tasks by their names in the tasks table.
    QCOMPARE(f.filas(), QStringList({"AB_12/BUJIAS", "ABX12/BUJIAS", "O'NEIL 1/BUJIAS", "1111AAA/C_ACEITE",
                                     "1111AAA/F_ACEITE", "1111AAA/F_AIRE"}));
    const QStringList oneil{"O'NEIL 1", "CITROËN", "C4 50%", "50.000", "Bujias", "45.000", "-5.000"};
    for (int c = 0; c < oneil.size(); ++c)
        QCOMPARE(f.texto(2, c), oneil[c]);
    QCOMPARE(f.texto(3, TModeloVencimientos::Col_Tarea), QStringLiteral("Cambio de Aceite"));
    QCOMPARE(f.texto(5, TModeloVencimientos::Col_Km_Restantes), QStringLiteral("1.000"));
    QVERIFY(f.m()->index(0, TModeloVencimientos::Col_Km_Restantes).data(Qt::TextAlignmentRole).value<Qt::Alignment>()
            & Qt::AlignRight);
    QCOMPARE(v->LblFilas->text(), QStringLiteral("6 de 7 tareas"));
    QCOMPARE(v->GridVencimientos->horizontalHeader()->sortIndicatorSection(), int(TModeloVencimientos::Col_Km_Restantes));

    // The menu entry again brings the same window forward.
    Abrir_Vencimientos();
    QCOMPARE(TFormVencimientos::Instancia(), v);
    int abiertas = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        abiertas += qobject_cast<TFormVencimientos *>(w) != nullptr;
    QCOMPARE(abiertas, 1);

    // Enter never presses a button of the window; Cerrar closes and frees it.
    QCOMPARE(v->BtnCerrar->autoDefault(), false);
    v->BtnCerrar->click();
    QTRY_VERIFY(!f.ventana);
}

void TstVencimientos::estados_data()
{
    QTest::addColumn<int>("margen");
    QTest::addColumn<QString>("mostrar"); // radio button
    QTest::addColumn<QStringList>("filas"); // task:state (V overdue, P coming, A up to date)
    QTest::addColumn<QString>("titulo");

    const QString rb = "RBVencidasProximas";
    QTest::newRow("margen 1.000") << 1000 << rb << QStringList{"C_ACEITE:V", "F_ACEITE:P", "F_AIRE:P"}
                                  << "(1 vencida, 2 próximas)";
    QTest::newRow("todas") << 1000 << "RBTodas" << QStringList{"C_ACEITE:V", "F_ACEITE:P", "F_AIRE:P", "F_COMBUSTIBLE:A"}
                           << "(1 vencida, 2 próximas)";
    QTest::newRow("sólo vencidas") << 1000 << "RBVencidas" << QStringList{"C_ACEITE:V"} << "(1 vencida, 2 próximas)";
    QTest::newRow("margen 0: ninguna próxima") << 0 << rb << QStringList{"C_ACEITE:V"} << "(1 vencida, 0 próximas)";
    QTest::newRow("margen 0, todas") << 0 << "RBTodas"
                                     << QStringList{"C_ACEITE:V", "F_ACEITE:A", "F_AIRE:A", "F_COMBUSTIBLE:A"}
                                     << "(1 vencida, 0 próximas)";
    QTest::newRow("margen 1.001") << 1001 << rb
                                  << QStringList{"C_ACEITE:V", "F_ACEITE:P", "F_AIRE:P", "F_COMBUSTIBLE:P"}
                                  << "(1 vencida, 3 próximas)";
    QTest::newRow("margen 999") << 999 << rb << QStringList{"C_ACEITE:V", "F_ACEITE:P"} << "(1 vencida, 1 próxima)";
}

// Due equal to the reading is not overdue; due at the reading plus the margin
// is coming; a margin of 0 makes none coming. Each state has its colours.
void TstVencimientos::estados()
{
    QFETCH(int, margen);
    QFETCH(QString, mostrar);
    QFETCH(QStringList, filas);
    QFETCH(QString, titulo);
    Flota f;
    QVERIFY(f.abrir());
    TFormVencimientos *v = f.ventana;
    v->findChild<QRadioButton *>(mostrar)->click();
    Escribir(Linea(v->EditMargen), QString::number(margen));
    QCOMPARE(v->EditMargen->value(), margen);
    QCOMPARE(v->windowTitle(), QStringLiteral("Vencimientos de la flota ") + titulo);

    QStringList vistas;
    for (int i = 0; i < f.m()->rowCount(); ++i) {
        const auto estado = tEstadoVencimiento(f.m()->index(i, 0).data(TModeloVencimientos::Rol_Estado).toInt());
        const char *letra = estado == tEstadoVencimiento::Vencida ? "V" : estado == tEstadoVencimiento::Proxima ? "P" : "A";
        vistas << Tareas()[std::size_t(f.m()->Vencimiento(i).Tarea)].Campo + QLatin1Char(':') + QLatin1String(letra);
        const QColor esperado = estado == tEstadoVencimiento::Vencida   ? QColor(128, 0, 0)
                                : estado == tEstadoVencimiento::Proxima ? Color_Proxima
                                                                        : QColor(0, 0, 128);
        for (int c = 0; c < f.m()->columnCount(); ++c) {
            QCOMPARE(f.m()->index(i, c).data(Qt::ForegroundRole).value<QColor>(), esperado);
            QCOMPARE(f.m()->index(i, c).data(Qt::BackgroundRole).isValid(), estado == tEstadoVencimiento::Proxima);
        }
    }
    QCOMPARE(vistas, filas);
}

// The margin comes back in the next window; the coming colour stands apart
// from the other two by lightness, not by hue alone.
void TstVencimientos::margenGuardado()
{
    {
        Flota f;
        QVERIFY(f.abrir());
        Escribir(Linea(f.ventana->EditMargen), QStringLiteral("2.500"));
        QCOMPARE(f.ventana->EditMargen->value(), 2500);
        // Letters are refused as typed; the value stays.
        QTest::keyClicks(Linea(f.ventana->EditMargen), QStringLiteral("abc"));
        QCOMPARE(f.ventana->EditMargen->value(), 2500);
    }
    QCOMPARE(Leer_Margen_Proximo(), 2500);
    Flota f;
    QVERIFY(f.abrir());
    QCOMPARE(f.ventana->EditMargen->value(), 2500);
    QCOMPARE(Linea(f.ventana->EditMargen)->text(), QStringLiteral("2.500 km"));
    QCOMPARE(f.m()->Margen(), 2500);

    // Every state's text reads well on its ground (contrast of at least 4.5:1),
    // and the coming rows' ground is not the white of the rest.
    auto luminancia = [](const QColor &c) {
        auto lineal = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * lineal(c.redF()) + 0.7152 * lineal(c.greenF()) + 0.0722 * lineal(c.blueF());
    };
    auto contraste = [&](const QColor &a, const QColor &b) {
        const double la = luminancia(a), lb = luminancia(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    };
    QVERIFY(contraste(Color_Vencida, Qt::white) >= 4.5);
    QVERIFY(contraste(Color_Al_Dia, Qt::white) >= 4.5);
    QVERIFY(contraste(Color_Proxima, Fondo_Proxima) >= 4.5);
    QVERIFY(Fondo_Proxima != QColor(Qt::white));
    QVERIFY(Fondo_Proxima.hsvSaturation() > 30);
}

void TstVencimientos::filtroTexto_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QStringList>("matriculas"); // distinct, in the order shown
    QTest::newRow("nada") << "" << QStringList{"AB_12", "ABX12", "O'NEIL 1", "1111AAA"};
    QTest::newRow("comilla") << "'" << QStringList{"O'NEIL 1"};
    QTest::newRow("comilla en medio") << "o'n" << QStringList{"O'NEIL 1"};
    QTest::newRow("acento") << "ë" << QStringList{"O'NEIL 1"};
    QTest::newRow("acento en mayúscula") << "CITROËN" << QStringList{"O'NEIL 1"};
    QTest::newRow("sin el acento no es la misma letra") << "citroen" << QStringList{};
    QTest::newRow("ó del modelo") << "león" << QStringList{"AB_12"};
    QTest::newRow("por ciento") << "%" << QStringList{"O'NEIL 1"};
    QTest::newRow("por ciento y más") << "50%" << QStringList{"O'NEIL 1"};
    QTest::newRow("subrayado") << "_" << QStringList{"AB_12", "ABX12"};
    QTest::newRow("subrayado no es comodín") << "AB_1" << QStringList{"AB_12"};
    QTest::newRow("marca") << "seat" << QStringList{"AB_12", "1111AAA"};
    QTest::newRow("modelo") << "ibiza" << QStringList{"1111AAA"};
    QTest::newRow("asterisco") << "*" << QStringList{};
    QTest::newRow("barra inversa") << "\\" << QStringList{};
}

// Typed key by key; then back with the backspace, one key at a time.
void TstVencimientos::filtroTexto()
{
    QFETCH(QString, texto);
    QFETCH(QStringList, matriculas);
    Flota f(true);
    QVERIFY(f.abrir());
    const QStringList todas = f.filas();
    f.ventana->EditBuscar->setFocus();
    Teclear(f.ventana->EditBuscar, texto);
    QCOMPARE(f.ventana->EditBuscar->text(), texto);
    QStringList vistas;
    for (const QString &fila : f.filas())
        if (!vistas.contains(fila.section('/', 0, 0)))
            vistas << fila.section('/', 0, 0);
    QCOMPARE(vistas, matriculas);
    for (int i = 0; i < texto.size(); ++i)
        QTest::keyClick(f.ventana->EditBuscar, Qt::Key_Backspace);
    QCOMPARE(f.filas(), todas);
    QCOMPARE(f.ventana->windowTitle(), QStringLiteral("Vencimientos de la flota (4 vencidas, 2 próximas)"));
}

// A click on a header sorts by that column, a second one the other way; ties
// keep the order by kilometres left. The selected row stays selected.
void TstVencimientos::ordenar()
{
    Flota f(true);
    QVERIFY(f.abrir());
    f.seleccionar(QStringLiteral("1111AAA"), T("F_ACEITE"));
    QHeaderView *h = f.ventana->GridVencimientos->horizontalHeader();
    auto clic = [h](int columna) {
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(columna) + 5, 5));
    };
    clic(TModeloVencimientos::Col_Matricula);
    QCOMPARE(f.filas(), QStringList({"1111AAA/C_ACEITE", "1111AAA/F_ACEITE", "1111AAA/F_AIRE", "AB_12/BUJIAS",
                                     "ABX12/BUJIAS", "O'NEIL 1/BUJIAS"}));
    QCOMPARE(f.seleccionada(), QStringLiteral("1111AAA/F_ACEITE"));
    clic(TModeloVencimientos::Col_Matricula);
    QCOMPARE(f.filas(), QStringList({"O'NEIL 1/BUJIAS", "ABX12/BUJIAS", "AB_12/BUJIAS", "1111AAA/C_ACEITE",
                                     "1111AAA/F_ACEITE", "1111AAA/F_AIRE"}));
    QCOMPARE(f.seleccionada(), QStringLiteral("1111AAA/F_ACEITE"));
    clic(TModeloVencimientos::Col_Marca);
    QCOMPARE(f.filas().first(), QStringLiteral("O'NEIL 1/BUJIAS")); // CITROËN
    QCOMPARE(f.filas().last(), QStringLiteral("1111AAA/F_AIRE"));   // SEAT, the one with most left
    clic(TModeloVencimientos::Col_Km_Actuales);
    QCOMPARE(f.filas().last(), QStringLiteral("ABX12/BUJIAS"));
    clic(TModeloVencimientos::Col_Tarea);
    QCOMPARE(f.filas(), QStringList({"AB_12/BUJIAS", "ABX12/BUJIAS", "O'NEIL 1/BUJIAS", "1111AAA/C_ACEITE",
                                     "1111AAA/F_ACEITE", "1111AAA/F_AIRE"}));
    clic(TModeloVencimientos::Col_Km_Proximo);
    QCOMPARE(f.filas().first(), QStringLiteral("1111AAA/C_ACEITE"));
    QCOMPARE(f.seleccionada(), QStringLiteral("1111AAA/F_ACEITE"));
}

void TstVencimientos::abrirMantenimiento_data()
{
    QTest::addColumn<bool>("conIntro");
    QTest::newRow("doble clic") << false;
    QTest::newRow("Intro") << true;
}

// The maintenance window opens on the row's vehicle, modal over the overview,
// which stays open.
void TstVencimientos::abrirMantenimiento()
{
    QFETCH(bool, conIntro);
    Flota f(true);
    QVERIFY(f.abrir());
    QVERIFY(f.modulo->TableMatriculas->locate("MATRICULA", "1111AAA"));
    const int fila = f.ventana->Fila(QStringLiteral("AB_12"), T("BUJIAS"));
    QTableView *grid = f.ventana->GridVencimientos;
    grid->setFocus();
    grid->setCurrentIndex(f.m()->index(fila, 1));
    QString matricula, titulo;
    DialogosPrueba dialogos;
    dialogos.alAparecer("TFormMantenimiento", [&](QWidget *w) {
        matricula = ModuloDatos->TableMatriculas->fieldByName("MATRICULA")->asString();
        titulo = w->windowTitle();
        static_cast<QDialog *>(w)->reject();
    });
    if (conIntro) {
        QTest::keyClick(grid, Qt::Key_Return);
    } else {
        const QRect r = grid->visualRect(f.m()->index(fila, 1));
        // The view takes a double click only on the row the press was on.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    }
    QVERIFY2(dialogos.correcto(), qPrintable(dialogos.errores().join('\n')));
    QCOMPARE(matricula, QStringLiteral("AB_12"));
    QVERIFY(titulo.startsWith(QStringLiteral("SEAT LEÓN - Kmtros actuales: 60.000")));
    QVERIFY(f.ventana && f.ventana->isVisible());
    QCOMPARE(f.seleccionada(), QStringLiteral("AB_12/BUJIAS"));
}

void TstVencimientos::sigueLosCambios_data()
{
    QTest::addColumn<QString>("cambio");
    QTest::addColumn<QString>("seleccion"); // selected before
    QTest::addColumn<QStringList>("filas");  // after
    QTest::addColumn<QString>("seleccionada"); // after; empty: none
    QTest::addColumn<QString>("titulo");

    QTest::newRow("lectura cambiada en el editor de vehículos")
        << "lectura" << "1111AAA/F_AIRE"
        << QStringList{"1111AAA/C_ACEITE", "1111AAA/F_ACEITE", "1111AAA/F_AIRE", "1111AAA/F_COMBUSTIBLE",
                       "AB_12/BUJIAS", "ABX12/BUJIAS", "O'NEIL 1/BUJIAS"}
        << "1111AAA/F_AIRE" << "(7 vencidas, 0 próximas)";
    QTest::newRow("vehículo borrado en el editor de vehículos")
        << "borrar" << "AB_12/BUJIAS"
        << QStringList{"ABX12/BUJIAS", "O'NEIL 1/BUJIAS", "1111AAA/C_ACEITE", "1111AAA/F_ACEITE", "1111AAA/F_AIRE"}
        << "" << "(3 vencidas, 2 próximas)";
    QTest::newRow("otro vehículo borrado") << "borrar" << "1111AAA/F_ACEITE"
                                           << QStringList{"ABX12/BUJIAS", "O'NEIL 1/BUJIAS", "1111AAA/C_ACEITE",
                                                          "1111AAA/F_ACEITE", "1111AAA/F_AIRE"}
                                           << "1111AAA/F_ACEITE" << "(3 vencidas, 2 próximas)";
    QTest::newRow("intervalo cambiado") << "intervalo" << "O'NEIL 1/BUJIAS"
                                        << QStringList{"AB_12/BUJIAS", "ABX12/BUJIAS", "O'NEIL 1/BUJIAS",
                                                       "1111AAA/C_ACEITE", "1111AAA/F_ACEITE"}
                                        << "O'NEIL 1/BUJIAS" << "(4 vencidas, 1 próxima)";
    QTest::newRow("marca renombrada") << "marca" << "1111AAA/C_ACEITE"
                                      << QStringList{"AB_12/BUJIAS", "ABX12/BUJIAS", "O'NEIL 1/BUJIAS",
                                                     "1111AAA/C_ACEITE", "1111AAA/F_ACEITE", "1111AAA/F_AIRE"}
                                      << "1111AAA/C_ACEITE" << "(4 vencidas, 2 próximas)";
    QTest::newRow("otro programa") << "otro programa" << "ABX12/BUJIAS"
                                   << QStringList{"AB_12/BUJIAS", "O'NEIL 1/BUJIAS", "1111AAA/C_ACEITE",
                                                  "1111AAA/F_ACEITE", "1111AAA/F_AIRE"}
                                   << "" << "(3 vencidas, 2 próximas)";
}

// Changes made by the record windows while the overview is open (and by
// another program, seen when the overview is active again) show without
// reopening it; the selected row stays selected while it exists.
void TstVencimientos::sigueLosCambios()
{
    QFETCH(QString, cambio);
    QFETCH(QString, seleccion);
    QFETCH(QStringList, filas);
    QFETCH(QString, seleccionada);
    QFETCH(QString, titulo);
    Flota f(true);
    QVERIFY(f.abrir());
    f.seleccionar(seleccion.section('/', 0, 0), Indice_Tarea(seleccion.section('/', 1)));
    QCOMPARE(f.seleccionada(), seleccion);

    if (cambio == QLatin1String("lectura") || cambio == QLatin1String("borrar")) {
        // Through the vehicle list and its editor, as the user does it.
        TFormMatriculas lista;
        lista.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lista));
        QVERIFY(f.modulo->TableMatriculas->locate("MATRICULA", cambio == QLatin1String("lectura") ? "1111AAA" : "AB_12"));
        if (cambio == QLatin1String("lectura")) {
            QVERIFY(Usar_Editor<TFormEdMatricula>(lista.BtnEditar, [](TFormEdMatricula *e) {
                Escribir(e->EditKilometros, QStringLiteral("40000"));
                e->BtnAceptar->click();
            }));
        } else {
            Avisos_Prueba::Programar_Respuesta(true);
            QVERIFY(Usar_Editor<TFormEdMatricula>(lista.BtnEliminar, [](TFormEdMatricula *e) { e->BtnAceptar->click(); }));
        }
        QVERIFY(!f.modulo->TableMatriculas->locate("MATRICULA", "AB_12") || cambio != QLatin1String("borrar"));
    } else if (cambio == QLatin1String("intervalo")) {
        TTable *km = f.modulo->TableKmCambios;
        QVERIFY(f.modulo->TableMarcas->locate("MARCA", "SEAT"));
        km->edit();
        km->fieldByName("F_AIRE")->setAsInteger(20000); // 40.000: up to date
        km->post();
    } else if (cambio == QLatin1String("marca")) {
        TTable *marcas = f.modulo->TableMarcas;
        QVERIFY(marcas->locate("MARCA", "SEAT"));
        marcas->edit();
        marcas->fieldByName("MARCA")->setAsString(QStringLiteral("SEAT S.A."));
        marcas->post();
    } else {
        // Another program deletes a vehicle's operations; the overview hears of
        // it when it is the active window again.
        QTest::qWait(20); // a file time of its own
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(f.datos.ruta("Mantenimiento.DAT")).constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "DELETE FROM Mantenimiento WHERE MATRICULA = 'ABX12'", nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(db);
        QCOMPARE(f.filas().size(), 6); // nothing heard yet
        QEvent activo(QEvent::ActivationChange);
        f.ventana->activateWindow();
        QTRY_VERIFY(f.ventana->isActiveWindow());
        QApplication::sendEvent(f.ventana, &activo);
    }
    QTRY_VERIFY(!f.ventana->Recalculo_Pendiente());
    QCOMPARE(f.filas(), filas);
    QCOMPARE(f.seleccionada(), seleccionada);
    QCOMPARE(f.ventana->windowTitle(), QStringLiteral("Vencimientos de la flota ") + titulo);
    if (cambio == QLatin1String("marca"))
        QCOMPARE(f.texto(f.ventana->Fila("1111AAA", T("C_ACEITE")), TModeloVencimientos::Col_Marca),
                 QStringLiteral("SEAT S.A."));
}

// An operation recorded in the maintenance window opened from the overview
// shows there while that window is still open; after it closes the overview
// keeps its row.
void TstVencimientos::operacionEnElMantenimiento()
{
    Flota f(true);
    QVERIFY(f.abrir());
    const int fila = f.ventana->Fila(QStringLiteral("1111AAA"), T("C_ACEITE"));
    f.ventana->GridVencimientos->setCurrentIndex(f.m()->index(fila, 0));
    QStringList durante;
    DialogosPrueba dialogos(10000);
    dialogos.alAparecer("TFormMantenimiento", [&](QWidget *w) {
        auto *mant = static_cast<TFormMantenimiento *>(w);
        const bool ok = Usar_Editor<TFormEdMantenimiento>(mant->BtnAnadir, [](TFormEdMantenimiento *e) {
            Escribir(e->DBEditFecha, QStringLiteral("15032024"));
            Escribir(e->DBEditKilometros, QStringLiteral("29500"));
            e->findChild<QCheckBox *>("CBCAceite")->setChecked(true);
            e->BtnAceptar->click();
        });
        if (ok) {
            QTRY_VERIFY(!TFormVencimientos::Instancia()->Recalculo_Pendiente());
            durante = f.filas();
        }
        mant->reject();
    });
    QTest::keyClick(f.ventana->GridVencimientos, Qt::Key_Enter);
    QVERIFY2(dialogos.correcto(), qPrintable(dialogos.errores().join('\n')));
    // The oil change at 29.500 makes it due at 39.499: up to date, no longer shown.
    const QStringList despues{"AB_12/BUJIAS", "ABX12/BUJIAS", "O'NEIL 1/BUJIAS", "1111AAA/F_ACEITE", "1111AAA/F_AIRE"};
    QCOMPARE(durante, despues);
    QCOMPARE(f.filas(), despues);
    QCOMPARE(f.ventana->windowTitle(), QStringLiteral("Vencimientos de la flota (3 vencidas, 2 próximas)"));
    f.ventana->RBTodas->click();
    QCOMPARE(f.texto(f.ventana->Fila("1111AAA", T("C_ACEITE")), TModeloVencimientos::Col_Km_Proximo),
             QStringLiteral("39.499"));
    QCOMPARE(f.seleccionada(), QStringLiteral("1111AAA/C_ACEITE"));
}

// While the backup holds the tables closed the overview reads nothing (no file
// of the folder may be open); when they open again it reads them afresh.
void TstVencimientos::tablasCerradas()
{
    Flota f(true);
    QVERIFY(f.abrir());
    f.modulo->Cerrar_Carpeta_Datos();
    f.datos.addMaintenance(QStringLiteral("1111AAA"), QDate(2024, 3, 1), 29500, {"C_ACEITE"});
    f.ventana->Recalcular();
    QCOMPARE(TDatabase::openFilesIn(f.datos.carpeta()), QStringList());
    QCOMPARE(f.filas().size(), 6);
    f.modulo->Abrir_Tablas();
    QTRY_VERIFY(!f.ventana->Recalculo_Pendiente());
    QCOMPARE(f.filas().size(), 5);
}

// Imprimir shows the report in the preview window, once at a time; the
// overview is usable again when the preview closes.
void TstVencimientos::imprimir()
{
    Flota f(true);
    QVERIFY(f.abrir());
    // The preview is closed once its report is complete.
    QString mostrado;
    bool desactivado = false;
    QTimer cerrar;
    cerrar.setInterval(10);
    connect(&cerrar, &QTimer::timeout, this, [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *vista = qobject_cast<TFormQRepPreview *>(w))
                if (vista->isVisible() && vista->PanelNumPag->isVisible()) {
                    mostrado = vista->Informe ? vista->Informe->Title : QString();
                    desactivado = !TFormVencimientos::Instancia()->BtnImprimir->isEnabled();
                    vista->BtnCerrar->click();
                }
    });
    cerrar.start();
    f.ventana->BtnImprimir->click();
    cerrar.stop();
    QCOMPARE(mostrado, QStringLiteral("Vencimientos de la flota"));
    QVERIFY(desactivado);
    QVERIFY(f.ventana->BtnImprimir->isEnabled());
}

QTEST_MAIN(TstVencimientos)
#include "tst_vencimientos.moc"
