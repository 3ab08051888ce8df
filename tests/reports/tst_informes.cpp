// The report dialog driven headless: its caption and check box for each kind
// of report, the message and no report when the vehicle has nothing to show,
// and the reports it opens, each holding only the vehicle chosen, with the
// report cursor closed and unfiltered afterwards.
#include "Avisos.h"
#include "DBGrid.h"
#include "DialogosPrueba.h"
#include "FlotaInformes.h"
#include "Informes.h"
#include "QRepPreview.h"
#include "Tareas.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

QDate d(int dia)
{
    return QDate(2024, 5, dia);
}

// What a preview showed, read while it was open.
struct Vista
{
    bool abierta = false;
    QString titulo;
    QStringList vehiculo;  // texts of the vehicle line
    int filas = 0;         // rows of records
    QStringList resumen;   // texts of the summary
    QStringList hoja;      // texts of the technical sheet
    bool cursorFiltrado = false;
    int vehiculosCursor = -1;
    QString filtroCursor;
};

// Clicks `boton` and reads the report of the preview window that opens, once
// complete; the window is closed then. The report is generated once more into
// a record of its bands, as a print would generate it.
Vista Ver_Informe(QPushButton *boton)
{
    Vista v;
    QTimer reloj;
    QElapsedTimer desde;
    desde.start();
    reloj.setInterval(10);
    QObject::connect(&reloj, &QTimer::timeout, [&] {
        TFormQRepPreview *w = nullptr;
        for (QWidget *t : QApplication::topLevelWidgets())
            if (auto *p = qobject_cast<TFormQRepPreview *>(t); p && p->isVisible())
                w = p;
        if (w && w->PanelNumPag->isVisible()) {
            reloj.stop();
            v.abierta = true;
            v.titulo = w->Informe->Title;
            TTable *cursor = ModuloDatos->TablaMatriculas;
            v.cursorFiltrado = cursor->active() && cursor->filtered();
            v.vehiculosCursor = cursor->active() ? cursor->recordCount() : -1;
            v.filtroCursor = cursor->filter();
            TRegistroSalida salida;
            Generate_Report(*w->Informe, salida);
            for (const TPrintedBand &b : salida.Bandas) {
                const QString n = b.Band->Name;
                if (n == QLatin1String("ChildBand3") || n == QLatin1String("QRGroup1"))
                    v.vehiculo = Textos(b);
                else if (n == QLatin1String("QRSubDetail1"))
                    ++v.filas;
                else if (n == QLatin1String("QRBand1") || n == QLatin1String("SummaryBand1"))
                    v.resumen = Textos(b);
                else if (n == QLatin1String("ColumnHeaderBand1"))
                    v.hoja = Textos(b);
            }
            w->BtnCerrar->click();
        } else if (desde.elapsed() > 20000) {
            reloj.stop();
            delete w;
        }
    });
    reloj.start();
    boton->click();
    return v;
}

bool Hay_Vista()
{
    for (QWidget *t : QApplication::topLevelWidgets())
        if (qobject_cast<TFormQRepPreview *>(t) && t->isVisible())
            return true;
    return false;
}

} // namespace

class TstInformes : public QObject
{
    Q_OBJECT

    std::unique_ptr<FlotaInformes> fFlota;
    std::unique_ptr<TFormInformes> fDialogo;

    void Abrir(quint8 tipo)
    {
        fFlota->abrir();
        ModuloDatos->Tipo_Informe = tipo;
        fDialogo = std::make_unique<TFormInformes>();
        fDialogo->show();
        QVERIFY(QTest::qWaitForWindowExposed(fDialogo.get()));
    }

    // The cursor of the reports is closed and unfiltered.
    static void Cursor_Libre()
    {
        QVERIFY(!ModuloDatos->TablaMatriculas->active());
        QVERIFY(!ModuloDatos->TablaMatriculas->filtered());
    }

private slots:
    void init()
    {
        Avisos_Prueba::Reiniciar();
        Avisos_Prueba::Sin_Ventanas(true);
        fFlota = std::make_unique<FlotaInformes>();
    }

    void cleanup()
    {
        DialogosPrueba::cerrarModales();
        fDialogo.reset();
        fFlota.reset();
        Avisos_Prueba::Reiniciar();
    }

    void formulario_data();
    void formulario();
    void sinDatos_data();
    void sinDatos();
    void flotaVacia();
    void historial();
    void comilla();
    void dosSeguidos();
    void ruedasYFicha();
};

void TstInformes::formulario_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("titulo");
    QTest::newRow("mantenimiento") << 0 << "Informe de Mantenimiento";
    QTest::newRow("averías") << 1 << "Informe de Averias";
    QTest::newRow("neumáticos") << 2 << "Informe de Neumáticos";
    QTest::newRow("ficha técnica") << 3 << "Ficha Técnica";
}

void TstInformes::formulario()
{
    QFETCH(int, tipo);
    QFETCH(QString, titulo);
    fFlota->datos.addVehicle(QStringLiteral("1234ABC"), fFlota->marca, fFlota->modelo, 1000);
    fFlota->abrir();
    ModuloDatos->Pantalla_Activa = Pantalla_Mantenimiento;
    ModuloDatos->Tipo_Informe = quint8(tipo);
    fDialogo = std::make_unique<TFormInformes>();
    fDialogo->CBAverias->setChecked(true);
    fDialogo->show();
    QVERIFY(QTest::qWaitForWindowExposed(fDialogo.get()));
    QCOMPARE(fDialogo->windowTitle(), titulo);
    QCOMPARE(int(ModuloDatos->Pantalla_Activa), int(Pantalla_Ninguna));
    // "Historial de averías" for the breakdowns report only, unchecked at every showing.
    QCOMPARE(fDialogo->CBAverias->isVisible(), tipo == 1);
    QVERIFY(!fDialogo->CBAverias->isChecked());
    fDialogo->CBAverias->setChecked(true);
    fDialogo->hide();
    fDialogo->show();
    QVERIFY(!fDialogo->CBAverias->isChecked());
    QCOMPARE(fDialogo->CBAverias->text(), QStringLiteral("Historial de averías"));

    TDBGrid *g = fDialogo->findChild<TDBGrid *>(QStringLiteral("GridMatricula"));
    QVERIFY(g);
    QStringList columnas;
    for (int c = 0; c < g->model()->columnCount(); ++c)
        columnas << g->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(columnas, (QStringList{"MATRICULA", "MARCA", "MODELO"}));
    QCOMPARE(g->model()->data(g->model()->index(0, 1)).toString(), QStringLiteral("SEAT"));
    QVERIFY(g->font().bold());
    QCOMPARE(g->palette().color(QPalette::Base), QColor(220, 211, 218));
    QCOMPARE(fDialogo->BtnAceptar->text(), QStringLiteral("&Aceptar"));
    QVERIFY(fDialogo->BtnAceptar->isDefault());
}

void TstInformes::sinDatos_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<bool>("historial");
    QTest::addColumn<QString>("mensaje");
    QTest::newRow("mantenimiento") << 0 << false << "No hay datos de mantenimiento";
    QTest::newRow("averías, todas reparadas") << 1 << false << "No existen averías para listar";
    QTest::newRow("averías, historial vacío") << 1 << true << "No existen averías para listar";
    QTest::newRow("neumáticos") << 2 << false << "No hay neumáticos para listar";
    QTest::newRow("ficha técnica") << 3 << false << "No hay datos para listar";
}

void TstInformes::sinDatos()
{
    // The chosen vehicle has nothing for the report (its neighbour has
    // everything): the message, no report, and the dialog stays.
    QFETCH(int, tipo);
    QFETCH(bool, historial);
    QFETCH(QString, mensaje);
    FlotaInformes &f = *fFlota;
    const QString vacio = QStringLiteral("VACIO"), lleno = QStringLiteral("LLENO");
    f.datos.addVehicle(vacio, f.marca, f.modelo, 1000);
    f.datos.addVehicle(lleno, f.marca, f.modelo, 1000);
    f.datos.addMaintenance(lleno, d(1), 500, {QStringLiteral("C_ACEITE")});
    f.addBreakdown(lleno, d(1), QStringLiteral("Pendiente"), QString(), QString(), 0);
    f.datos.addTyres(lleno, d(1), 500, QStringLiteral("Marca"));
    f.datos.addSheet(lleno);
    if (!historial)
        f.addBreakdown(vacio, d(2), QStringLiteral("Reparada"), QStringLiteral("Hecho"), QString(), 0, true);
    Abrir(quint8(tipo));
    QVERIFY(f.elegir(vacio));
    fDialogo->CBAverias->setChecked(historial);
    fDialogo->BtnAceptar->click();
    QVERIFY(!Hay_Vista());
    const auto avisos = Avisos_Prueba::Mostrados();
    QCOMPARE(avisos.size(), 1);
    QCOMPARE(avisos[0].Titulo, QStringLiteral("Stop"));
    QCOMPARE(avisos[0].Texto, mensaje);
    QCOMPARE(avisos[0].Tipo, avError);
    QVERIFY(fDialogo->isVisible());
    Cursor_Libre();
}

void TstInformes::flotaVacia()
{
    // No vehicle at all: every report ends in its own message.
    Abrir(Informe_Mantenimiento);
    for (quint8 tipo = 0; tipo < 4; ++tipo) {
        ModuloDatos->Tipo_Informe = tipo;
        fDialogo->BtnAceptar->click();
    }
    QVERIFY(!Hay_Vista());
    QStringList textos;
    for (const TAvisoMostrado &a : Avisos_Prueba::Mostrados())
        textos << a.Texto;
    QCOMPARE(textos, (QStringList{"No hay datos de mantenimiento", "No existen averías para listar",
                                  "No hay neumáticos para listar", "No hay datos para listar"}));
    Cursor_Libre();
}

void TstInformes::historial()
{
    // Pending breakdowns only, or with "Historial de averías" all of them.
    FlotaInformes &f = *fFlota;
    const QString placa = QStringLiteral("1234ABC");
    f.datos.addVehicle(placa, f.marca, f.modelo, 1000);
    f.addBreakdown(placa, d(1), QStringLiteral("Reparada 1"), QStringLiteral("Hecho"), QString(), 10, true);
    f.addBreakdown(placa, d(2), QStringLiteral("Pendiente"), QString(), QString(), 20);
    f.addBreakdown(placa, d(3), QStringLiteral("Reparada 2"), QStringLiteral("Hecho"), QString(), 30, true);
    Abrir(Informe_Averias);
    QVERIFY(f.elegir(placa));

    Vista pendientes = Ver_Informe(fDialogo->BtnAceptar);
    QVERIFY(pendientes.abierta);
    QCOMPARE(pendientes.titulo, QStringLiteral("Listado de Averias"));
    QCOMPARE(pendientes.filas, 1);
    QCOMPARE(pendientes.resumen.value(1), QStringLiteral("20,00"));
    // The breakdowns filter stays after the report; the report cursor does not.
    QVERIFY(ModuloDatos->TableAverias->filtered());
    QCOMPARE(ModuloDatos->TableAverias->filter(), QStringLiteral("Estado = 'P'"));
    Cursor_Libre();

    fDialogo->CBAverias->click();
    Vista todas = Ver_Informe(fDialogo->BtnAceptar);
    QVERIFY(todas.abierta);
    QCOMPARE(todas.filas, 3);
    QCOMPARE(todas.resumen.value(1), QStringLiteral("60,00"));
    QVERIFY(!ModuloDatos->TableAverias->filtered());
    Cursor_Libre();
    QVERIFY(Avisos_Prueba::Mostrados().isEmpty());
}

void TstInformes::comilla()
{
    // A plate with a quote: the quote is doubled in the filter and the report
    // holds that vehicle alone.
    FlotaInformes &f = *fFlota;
    const QString placa = QStringLiteral("O'NEIL");
    f.datos.addVehicle(QStringLiteral("ONEIL"), f.marca, f.modelo, 1000);
    f.datos.addVehicle(placa, f.marca, f.modelo, 2000);
    f.datos.addVehicle(QStringLiteral("O''NEIL"), f.marca, f.modelo, 3000);
    f.datos.addMaintenance(placa, d(1), 1500, {QStringLiteral("C_ACEITE")});
    Abrir(Informe_Mantenimiento);
    QVERIFY(f.elegir(placa));
    const Vista v = Ver_Informe(fDialogo->BtnAceptar);
    QVERIFY(v.abierta);
    QVERIFY(v.cursorFiltrado);
    QCOMPARE(v.filtroCursor, QStringLiteral("Matricula = 'O''NEIL'"));
    QCOMPARE(v.vehiculosCursor, 1);
    QCOMPARE(v.vehiculo.value(0), placa);
    QCOMPARE(v.vehiculo.value(4), QStringLiteral("2.000"));
    QCOMPARE(v.filas, 1);
    Cursor_Libre();
}

void TstInformes::dosSeguidos()
{
    // Two reports in a row, the second vehicle chosen in the dialog's grid:
    // each holds its own vehicle, rows and due readings; the dialog stays open.
    FlotaInformes &f = *fFlota;
    const int otra = f.datos.addBrand(QStringLiteral("FIAT"));
    f.datos.addInterval(f.marca, {{QStringLiteral("C_ACEITE"), 10000}});
    f.datos.addInterval(otra, {{QStringLiteral("C_ACEITE"), 5000}});
    f.datos.addVehicle(QStringLiteral("AAA"), f.marca, f.modelo, 30000);
    f.datos.addVehicle(QStringLiteral("BBB"), otra, f.datos.addModel(QStringLiteral("PANDA"), otra), 40000);
    f.datos.addMaintenance(QStringLiteral("AAA"), d(1), 20000, {QStringLiteral("C_ACEITE")});
    f.datos.addMaintenance(QStringLiteral("AAA"), d(2), 25000);
    for (int i = 0; i < 3; ++i)
        f.datos.addMaintenance(QStringLiteral("BBB"), d(3 + i), 36000 + i * 1000, {QStringLiteral("C_ACEITE")});
    Abrir(Informe_Mantenimiento);
    TDBGrid *rejilla = fDialogo->GridMatricula;
    rejilla->setFocus();
    QVERIFY(f.elegir(QStringLiteral("AAA")));

    const Vista a = Ver_Informe(fDialogo->BtnAceptar);
    QVERIFY(a.abierta);
    QCOMPARE(a.vehiculo.mid(0, 3), (QStringList{"AAA", "SEAT", "IBIZA"}));
    QCOMPARE(a.filas, 2);
    QCOMPARE(a.resumen.value(1), QStringLiteral("30.000"));
    Cursor_Libre();
    QVERIFY(fDialogo->isVisible());
    QCOMPARE(fDialogo->focusWidget(), rejilla);

    QTest::keyClick(rejilla, Qt::Key_Down);
    QCOMPARE(ModuloDatos->TableMatriculas->fieldByName(QStringLiteral("MATRICULA"))->asString(), QStringLiteral("BBB"));
    const Vista b = Ver_Informe(fDialogo->BtnAceptar);
    QVERIFY(b.abierta);
    QCOMPARE(b.vehiculo.mid(0, 3), (QStringList{"BBB", "FIAT", "PANDA"}));
    QCOMPARE(b.filas, 3);
    QCOMPARE(b.resumen.value(1), QStringLiteral("43.000"));
    Cursor_Libre();
    QVERIFY(fDialogo->isVisible());
    QVERIFY(Avisos_Prueba::Mostrados().isEmpty());
}

void TstInformes::ruedasYFicha()
{
    // The tyres report and the technical sheet of the second of two vehicles,
    // both with data: each holds the chosen vehicle only, and the report
    // cursor is left closed and unfiltered.
    FlotaInformes &f = *fFlota;
    for (const QString &p : {QStringLiteral("AAA"), QStringLiteral("BBB")}) {
        f.datos.addVehicle(p, f.marca, f.modelo, 1000);
        f.datos.addTyres(p, d(1), 500, QStringLiteral("Marca ") + p);
        f.datos.addSheet(p, {{QStringLiteral("TIPO"), QStringLiteral("Tipo ") + p}});
    }
    f.datos.addTyres(QStringLiteral("BBB"), d(2), 700, QStringLiteral("Otra"));

    Abrir(Informe_Ruedas);
    QVERIFY(f.elegir(QStringLiteral("BBB")));
    const Vista ruedas = Ver_Informe(fDialogo->BtnAceptar);
    QVERIFY(ruedas.abierta);
    QVERIFY(ruedas.cursorFiltrado);
    QCOMPARE(ruedas.vehiculosCursor, 1);
    QCOMPARE(ruedas.vehiculo.value(0), QStringLiteral("BBB"));
    QCOMPARE(ruedas.filas, 2);
    Cursor_Libre();

    ModuloDatos->Tipo_Informe = Informe_FichaTec;
    const Vista ficha = Ver_Informe(fDialogo->BtnAceptar);
    QVERIFY(ficha.abierta);
    QVERIFY(ficha.hoja.contains(QStringLiteral("BBB")));
    QVERIFY(ficha.hoja.contains(QStringLiteral("Tipo BBB")));
    QVERIFY(!ficha.hoja.contains(QStringLiteral("AAA")));
    Cursor_Libre();
    QVERIFY(Avisos_Prueba::Mostrados().isEmpty());
    QVERIFY(fDialogo->isVisible());
}

QTEST_MAIN(TstInformes)
#include "tst_informes.moc"
