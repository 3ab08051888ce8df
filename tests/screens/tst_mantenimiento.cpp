// The maintenance windows driven headless: the task boxes to and from the
// record, the rule of the OK button, the caption and the due boxes after every
// command and every move to another vehicle, and the whole path from an
// interval and an oil change to the overdue reading on screen.
#include "Avisos.h"
#include "DBControles.h"
#include "DBGrid.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "DialogosPrueba.h"
#include "EdIntervalos.h"
#include "EdMantenimiento.h"
#include "Excepciones.h"
#include "Intervalos.h"
#include "Mantenimiento.h"
#include "Proximo.h"
#include "Table.h"
#include "Teclado.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

const QString Placa = QStringLiteral("1234ABC");
const QColor Granate(128, 0, 0);
const QColor Azul_Marino(0, 0, 128);

QDate d(const char *texto)
{
    return QDate::fromString(QLatin1String(texto), QStringLiteral("dd/MM/yyyy"));
}

// One vehicle of one brand, the data module over them and the maintenance window.
struct Flota
{
    DatosPrueba datos;
    int marca = 0;
    int modelo = 0;
    std::unique_ptr<TModuloDatos> modulo;
    std::unique_ptr<TFormMantenimiento> ventana;

    explicit Flota(int km = 30000)
    {
        marca = datos.addBrand(QStringLiteral("SEAT"));
        modelo = datos.addModel(QStringLiteral("IBIZA"), marca);
        datos.addVehicle(Placa, marca, modelo, km);
    }

    bool abrir()
    {
        modulo = std::make_unique<TModuloDatos>(datos.carpeta());
        ventana = std::make_unique<TFormMantenimiento>();
        ventana->show();
        return QTest::qWaitForWindowExposed(ventana.get());
    }

    QLabel *caja(const char *campo) const { return ventana->Paneles[std::size_t(Indice_Tarea(QLatin1String(campo)))]; }

    // The stored maintenance records of the file, read afresh: one map per record.
    QList<QMap<QString, QVariant>> registros() const
    {
        return datos.registros(QStringLiteral("Mantenimiento.DAT"));
    }

    // Opens the editor with a toolbar button and lets `accion` work on it.
    bool usarEditor(QToolButton *boton, std::function<void(TFormEdMantenimiento *)> accion)
    {
        return Usar_Editor<TFormEdMantenimiento>(boton, accion);
    }
};

// Task fields holding "X", in task order.
QStringList Hechas(const QMap<QString, QVariant> &r)
{
    QStringList h;
    for (const tTarea &t : Tareas())
        if (r.value(t.Campo).toString() == QLatin1String("X"))
            h << t.Campo;
    return h;
}

QStringList Marcadas(const TFormEdMantenimiento *e)
{
    QStringList m;
    for (std::size_t i = 0; i < e->Casillas.size(); ++i)
        if (e->Casillas[i]->isChecked())
            m << Tareas()[i].Campo;
    return m;
}

// The colour the box's text is painted in: the commonest colour inside its frame
// other than the white ground (the glyphs' solid pixels; their edges are blends).
QColor ColorTexto(QLabel *l)
{
    const QImage imagen = l->grab().toImage();
    QHash<QRgb, int> cuenta;
    for (int y = 3; y < imagen.height() - 3; ++y)
        for (int x = 3; x < imagen.width() - 3; ++x) {
            const QRgb c = imagen.pixel(x, y) | 0xff000000u;
            if (c != 0xffffffffu)
                ++cuenta[c];
        }
    QRgb comun = 0;
    int maximo = 0;
    for (auto i = cuenta.cbegin(); i != cuenta.cend(); ++i)
        if (i.value() > maximo) {
            maximo = i.value();
            comun = i.key();
        }
    return maximo > 0 ? QColor(comun) : QColor();
}


} // namespace

class TstMantenimiento : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void ventana();
    void anadirGuardaTareas();
    void editarQuitaTarea();
    void marcaNoValida();
    void eliminar();
    void botonAceptar_data();
    void botonAceptar();
    void fechaIncompleta_data();
    void fechaIncompleta();
    void lecturaNoCambiaVehiculo();
    void avisoTablaVaciaRefresca();
    void cambioDeVehiculo();
    void cerradaNoSigueAlVehiculo();
    void deExtremoAExtremo_data();
    void deExtremoAExtremo();
};

void TstMantenimiento::initTestCase()
{
    Excepcion.Configurar_Excepciones(false);
}

void TstMantenimiento::init()
{
    Avisos_Prueba::Reiniciar();
    Avisos_Prueba::Sin_Ventanas(true);
}

void TstMantenimiento::cleanup()
{
    DialogosPrueba::cerrarModales();
    Avisos_Prueba::Reiniciar();
}

// Caption, grids, the band and the thirteen boxes with their labels, and the
// window taking over the vehicle-following role.
void TstMantenimiento::ventana()
{
    Flota f;
    f.datos.addMaintenance(Placa, d("01/02/2024"), 10000, {QStringLiteral("C_ACEITE")});
    QVERIFY(f.abrir());
    TFormMantenimiento *v = f.ventana.get();
    QCOMPARE(v->windowTitle(), QStringLiteral("SEAT IBIZA - Kmtros actuales: 30.000 - Mantenimiento (1 registro)"));
    QCOMPARE(f.modulo->Pantalla_Activa, quint8(Pantalla_Mantenimiento));

    const TDBGridModel *m = v->DBGrid1->gridModel();
    QStringList titulos;
    for (int c = 0; c < m->columnCount(); ++c)
        titulos << m->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titulos, QStringList({"Fecha", "Kilómetros", "Bujías", "C. Aceite", "F. Aceite", "F. Aire", "F. Combus",
                                   "L. Refrig.", "L. Frenos", "P. Ddelant.", "P. Tras.", "Atf. Caja", "Atf.Conver",
                                   "Atf. Difer", "Engrase"}));
    QCOMPARE(m->data(m->index(0, 3)).toString(), QStringLiteral("X"));
    QCOMPARE(m->data(m->index(0, 1)).toString(), QStringLiteral("10.000"));

    QCOMPARE(v->findChild<QLabel *>("LblProximo")->text(), QStringLiteral("Kilómetros próximo mantenimiento"));
    // Each box sits under its label, upper row first.
    const QList<QStringList> filas{
        {"PBujias", "Bujias", "PF_Aceite", "F. Aceite", "PF_Combus", "F.Combus.", "PL_Frenos", "L. Frenos",
         "PP_traseras", "P. Trasers", "PConver", "Convertidor", "PEngrase", "Engrase"},
        {"PAceite", "Aceite", "PF_Aire", "F. Aire", "PF_Refri", "Refrigerante", "PP_Delanteras", "P. Delanteras",
         "PCaja", "Caja", "PDif", "Diferencial"}};
    for (const QStringList &fila : filas) {
        for (int c = 0; c < fila.size(); c += 2) {
            auto *caja = v->findChild<QLabel *>(fila[c]);
            QVERIFY2(caja, qPrintable(fila[c]));
            QVERIFY(caja->font().bold());
            QVERIFY(caja->alignment() & Qt::AlignRight);
            auto *etiqueta = v->findChild<QLabel *>(QStringLiteral("Lbl") + fila[c]);
            QVERIFY(etiqueta);
            QCOMPARE(etiqueta->text(), fila[c + 1]);
            QCOMPARE(etiqueta->geometry().center().x(), caja->geometry().center().x());
            QVERIFY(etiqueta->geometry().bottom() < caja->geometry().top());
            QCOMPARE(caja->y(), v->findChild<QLabel *>(fila[0])->y());
        }
    }
    QCOMPARE(v->findChild<QLabel *>("PBujias")->y(), v->findChild<QLabel *>("PEngrase")->y());
    QVERIFY(v->findChild<QLabel *>("PAceite")->y() > v->findChild<QLabel *>("PBujias")->y());

    // No interval for the brand: the oil change counts at its own reading.
    QCOMPARE(f.caja("C_ACEITE")->text(), QStringLiteral("10.000"));
    QCOMPARE(ColorTexto(f.caja("C_ACEITE")), Granate);

    // Closed, it no longer follows the vehicle: a later move reaches no window.
    f.ventana.reset();
    f.modulo->TableMatriculas->last();
}

void TstMantenimiento::anadirGuardaTareas()
{
    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [](TFormEdMantenimiento *e) {
        QCOMPARE(e->windowTitle(), QStringLiteral("Añadir Mantenimiento"));
        QVERIFY(Marcadas(e).isEmpty());
        Escribir(e->DBEditFecha, QStringLiteral("15032024"));
        Escribir(e->DBEditKilometros, QStringLiteral("10000"));
        e->findChild<QCheckBox *>("CBCAceite")->setChecked(true);
        e->findChild<QCheckBox *>("CBBujias")->setChecked(true);
        e->BtnAceptar->click();
    }));

    const auto r = f.registros();
    QCOMPARE(r.size(), 1);
    QCOMPARE(Hechas(r[0]), QStringList({"C_ACEITE", "BUJIAS"}));
    for (const tTarea &t : Tareas())
        if (t.Campo != QLatin1String("C_ACEITE") && t.Campo != QLatin1String("BUJIAS"))
            QVERIFY2(r[0].value(t.Campo).isNull(), qPrintable(t.Campo));
    QCOMPARE(r[0].value("MATRICULA").toString(), Placa);
    QCOMPARE(r[0].value("FECHA").toDate(), d("15/03/2024"));
    QCOMPARE(r[0].value("KILOMETROS").toInt(), 10000);

    const TDBGridModel *m = f.ventana->DBGrid1->gridModel();
    QCOMPARE(m->rowCount(), 1);
    QCOMPARE(m->data(m->index(0, 2)).toString(), QStringLiteral("X")); // Bujías
    QCOMPARE(m->data(m->index(0, 3)).toString(), QStringLiteral("X")); // C. Aceite
    QCOMPARE(m->data(m->index(0, 4)).toString(), QString());
    QVERIFY(f.ventana->windowTitle().endsWith(QStringLiteral(" - Mantenimiento (1 registro)")));
    QCOMPARE(f.caja("BUJIAS")->text(), QStringLiteral("10.000"));
}

// Clearing a box empties its field, and the due box follows at once.
void TstMantenimiento::editarQuitaTarea()
{
    Flota f;
    f.datos.addInterval(f.marca, {{QStringLiteral("BUJIAS"), 40000}, {QStringLiteral("C_ACEITE"), 15000}});
    f.datos.addMaintenance(Placa, d("01/02/2024"), 10000, {QStringLiteral("C_ACEITE"), QStringLiteral("BUJIAS")});
    QVERIFY(f.abrir());
    QCOMPARE(f.caja("BUJIAS")->text(), QStringLiteral("50.000"));
    QCOMPARE(ColorTexto(f.caja("BUJIAS")), Azul_Marino);

    QVERIFY(f.usarEditor(f.ventana->BtnEditar, [](TFormEdMantenimiento *e) {
        QCOMPARE(Marcadas(e), QStringList({"C_ACEITE", "BUJIAS"}));
        QVERIFY(e->BtnAceptar->isEnabled());
        e->findChild<QCheckBox *>("CBBujias")->setChecked(false);
        e->BtnAceptar->click();
    }));
    QCOMPARE(f.caja("BUJIAS")->text(), QString());
    QCOMPARE(f.caja("C_ACEITE")->text(), QStringLiteral("25.000"));
    QCOMPARE(Hechas(f.registros().value(0)), QStringList({"C_ACEITE"}));
    QVERIFY(f.registros().value(0).value("BUJIAS").isNull());
}

// Only a capital X counts as done: anything else loads unticked and is
// emptied by saving.
void TstMantenimiento::marcaNoValida()
{
    Flota f;
    f.datos.addRecord(QStringLiteral("Mantenimiento.DAT"),
                      {{"MATRICULA", Placa}, {"FECHA", d("01/02/2024")}, {"KILOMETROS", 10000},
                       {"C_ACEITE", "x"}, {"F_AIRE", "X"}});
    QVERIFY(f.abrir());
    QCOMPARE(f.caja("C_ACEITE")->text(), QString());
    QVERIFY(f.usarEditor(f.ventana->BtnEditar, [](TFormEdMantenimiento *e) {
        QCOMPARE(Marcadas(e), QStringList({"F_AIRE"}));
        // A digit added to a reading shown with its thousands grouped.
        e->DBEditKilometros->setFocus(Qt::OtherFocusReason);
        e->DBEditKilometros->end(false);
        QTest::keyClick(e->DBEditKilometros, Qt::Key_5);
        e->BtnAceptar->click();
    }));
    const auto r = f.registros();
    QCOMPARE(r.value(0).value("KILOMETROS").toInt(), 100005);
    QVERIFY(r.value(0).value("C_ACEITE").isNull());
    QCOMPARE(Hechas(r.value(0)), QStringList({"F_AIRE"}));
}

void TstMantenimiento::eliminar()
{
    Flota f;
    f.datos.addMaintenance(Placa, d("01/02/2024"), 10000, {QStringLiteral("F_ACEITE"), QStringLiteral("ENGRASE")});
    QVERIFY(f.abrir());
    QCOMPARE(f.caja("ENGRASE")->text(), QStringLiteral("10.000"));

    // " &No" leaves the dialog open on the record; then " &Sí" deletes it.
    Avisos_Prueba::Programar_Respuesta(false);
    Avisos_Prueba::Programar_Respuesta(true);
    QVERIFY(f.usarEditor(f.ventana->BtnEliminar, [](TFormEdMantenimiento *e) {
        QCOMPARE(e->windowTitle(), QStringLiteral("Eliminar Mantenimiento"));
        QCOMPARE(Marcadas(e), QStringList({"F_ACEITE", "ENGRASE"}));
        for (QCheckBox *cb : e->Casillas)
            QVERIFY(!cb->isEnabled());
        e->BtnAceptar->click();
        QVERIFY(e->isVisible());
        QCOMPARE(Marcadas(e), QStringList({"F_ACEITE", "ENGRASE"}));
        e->BtnAceptar->click();
    }));
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 2);
    QCOMPARE(Avisos_Prueba::Mostrados()[0].Texto, QStringLiteral("¿Desea ELIMINAR el registro actual?"));
    QVERIFY(f.registros().isEmpty());
    QVERIFY(f.ventana->windowTitle().endsWith(QStringLiteral(" - Mantenimiento (0 registros)")));
    QCOMPARE(f.caja("ENGRASE")->text(), QString());
    QCOMPARE(f.caja("F_ACEITE")->text(), QString());
}

void TstMantenimiento::botonAceptar_data()
{
    QTest::addColumn<QString>("fecha");
    QTest::addColumn<QString>("km");
    QTest::addColumn<bool>("activo");

    QTest::newRow("nada") << "" << "" << false;
    QTest::newRow("sólo kilómetros") << "" << "10000" << false;
    QTest::newRow("fecha sin kilómetros") << "15032024" << "" << false;
    QTest::newRow("fecha a medias") << "15" << "10000" << true;
    QTest::newRow("completo") << "15032024" << "10000" << true;
}

void TstMantenimiento::botonAceptar()
{
    QFETCH(QString, fecha);
    QFETCH(QString, km);
    QFETCH(bool, activo);

    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdMantenimiento *e) {
        QVERIFY(!e->BtnAceptar->isEnabled());
        QCOMPARE(e->DBEditFecha->shownText(), QStringLiteral("  /  /    "));
        Escribir(e->DBEditKilometros, km);
        Escribir(e->DBEditFecha, fecha);
        QCOMPARE(e->BtnAceptar->isEnabled(), activo);
        // A ticked task alone does not make a record worth storing.
        e->Casillas[0]->setChecked(true);
        QCOMPARE(e->BtnAceptar->isEnabled(), activo);
        e->BtnCancelar->click();
    }));
    QVERIFY(f.registros().isEmpty());
}

// A date that is not one is told, once, and kept in the dialog: nothing is
// stored without it, whether the user clicks OK or presses Enter in the date.
void TstMantenimiento::fechaIncompleta_data()
{
    QTest::addColumn<bool>("conRaton");

    QTest::newRow("clic en Aceptar") << true;
    QTest::newRow("Intro en la fecha") << false;
}

void TstMantenimiento::fechaIncompleta()
{
    QFETCH(bool, conRaton);

    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdMantenimiento *e) {
        Escribir(e->DBEditKilometros, QStringLiteral("10000"));
        Escribir(e->DBEditFecha, QStringLiteral("1503"));
        QVERIFY(e->BtnAceptar->isEnabled());
        if (conRaton)
            QTest::mouseClick(e->BtnAceptar, Qt::LeftButton);
        else
            QTest::keyClick(e->DBEditFecha, Qt::Key_Return);
        QVERIFY(e->isVisible());
        QTRY_VERIFY(e->DBEditFecha->hasFocus());
        QCOMPARE(e->DBEditFecha->shownText(), QStringLiteral("15/03/    "));
        // Mended, it is stored.
        Escribir(e->DBEditFecha, QStringLiteral("15032024"));
        QTest::mouseClick(e->BtnAceptar, Qt::LeftButton);
    }));
    QStringList avisos;
    for (const TAvisoMostrado &a : Avisos_Prueba::Mostrados())
        avisos << a.Texto;
    QCOMPARE(avisos, QStringList{QStringLiteral("La fecha \"15/03/    \" no es correcta")});
    const auto r = f.registros();
    QCOMPARE(r.size(), 1);
    QCOMPARE(r[0].value("FECHA").toDate(), d("15/03/2024"));
}

void TstMantenimiento::lecturaNoCambiaVehiculo()
{
    Flota f(30000);
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [](TFormEdMantenimiento *e) {
        Escribir(e->DBEditFecha, QStringLiteral("15032024"));
        Escribir(e->DBEditKilometros, QStringLiteral("45000"));
        e->findChild<QCheckBox *>("CBCAceite")->setChecked(true);
        e->BtnAceptar->click();
    }));
    QCOMPARE(f.registros().value(0).value("KILOMETROS").toInt(), 45000);
    QCOMPARE(f.modulo->TableMatriculas->fieldByName("KILOMETROS")->asInteger(), 30000);
    QCOMPARE(f.modulo->Km_Actuales, 30000);
    QVERIFY(f.ventana->windowTitle().contains(QStringLiteral("Kmtros actuales: 30.000")));
    QCOMPARE(f.caja("C_ACEITE")->text(), QStringLiteral("45.000"));
    QCOMPARE(ColorTexto(f.caja("C_ACEITE")), Azul_Marino);
}

// Edit and delete with no record: the notice, then the caption and the boxes
// are rebuilt all the same.
void TstMantenimiento::avisoTablaVaciaRefresca()
{
    Flota f;
    QVERIFY(f.abrir());
    for (const bool eliminar : {false, true}) {
        f.ventana->setWindowTitle(QStringLiteral("viejo"));
        f.caja("C_ACEITE")->setText(QStringLiteral("viejo"));
        Avisos_Prueba::Reiniciar();
        Avisos_Prueba::Sin_Ventanas(true);
        QVERIFY(!Abre_Editor(eliminar ? f.ventana->BtnEliminar : f.ventana->BtnEditar));
        QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
        const TAvisoMostrado &a = Avisos_Prueba::Mostrados()[0];
        QCOMPARE(a.Titulo, eliminar ? QStringLiteral("Error al eliminar Mantenimiento.")
                                    : QStringLiteral("Error al editar Mantenimiento."));
        QCOMPARE(a.Texto, QStringLiteral("La base de datos de Mantenimiento está vacía."));
        QVERIFY(f.ventana->windowTitle().endsWith(QStringLiteral(" - Mantenimiento (0 registros)")));
        QCOMPARE(f.caja("C_ACEITE")->text(), QString());
    }
}

// Every box is redrawn by the move itself, with its colour; tasks the new
// vehicle never had done show nothing.
void TstMantenimiento::cambioDeVehiculo()
{
    Flota f(40000);
    // First vehicle: every task done at 10.000; intervals 10.000 to 40.000 by
    // task, so the due readings fall below, on and above its 40.000.
    QMap<QString, int> intervalos;
    for (int i = 0; i < Num_Tareas; ++i)
        intervalos.insert(Tareas()[std::size_t(i)].Campo, 10000 * (i % 4 + 1));
    f.datos.addInterval(f.marca, intervalos);
    QStringList todas;
    for (const tTarea &t : Tareas())
        todas << t.Campo;
    f.datos.addMaintenance(Placa, d("01/02/2024"), 10000, todas);
    // Second vehicle, of a brand without intervals: only greasing, long ago.
    const int otra = f.datos.addBrand(QStringLiteral("FIAT"));
    f.datos.addVehicle(QStringLiteral("9999ZZZ"), otra, f.datos.addModel(QStringLiteral("PUNTO"), otra), 5000);
    f.datos.addMaintenance(QStringLiteral("9999ZZZ"), d("01/02/2024"), 1000, {QStringLiteral("ENGRASE")});
    QVERIFY(f.abrir());

    auto comprobarPrimero = [&] {
        for (int i = 0; i < Num_Tareas; ++i) {
            QLabel *caja = f.ventana->Paneles[std::size_t(i)];
            const int proximo = 10000 + 10000 * (i % 4 + 1);
            QCOMPARE(caja->text(), QString::number(proximo / 1000) + QStringLiteral(".000"));
            QCOMPARE(ColorTexto(caja), proximo < 40000 ? Granate : Azul_Marino);
        }
    };
    comprobarPrimero();

    f.ventana->DBNavigator->buttonNext()->click(); // no event processing in between
    QVERIFY(f.ventana->windowTitle().startsWith(QStringLiteral("FIAT PUNTO - Kmtros actuales: 5.000")));
    for (int i = 0; i < Num_Tareas; ++i) {
        QLabel *caja = f.ventana->Paneles[std::size_t(i)];
        if (Tareas()[std::size_t(i)].Campo == QLatin1String("ENGRASE")) {
            QCOMPARE(caja->text(), QStringLiteral("1.000"));
            QCOMPARE(ColorTexto(caja), Granate);
        } else {
            QCOMPARE(caja->text(), QString());
        }
    }

    f.ventana->DBGridMatriculas->selectRow(0);
    QCOMPARE(f.modulo->TableMatriculas->fieldByName("MATRICULA")->asString(), Placa);
    comprobarPrimero();
}

// Once the window is gone the module refreshes nothing when the vehicle moves,
// though Pantalla_Activa still names it.
void TstMantenimiento::cerradaNoSigueAlVehiculo()
{
    Flota f;
    f.datos.addVehicle(QStringLiteral("9999ZZZ"), f.marca, f.modelo, 5000);
    QVERIFY(f.abrir());
    const QString cabecera = f.modulo->Cabecera_Vehiculo;
    QVERIFY(cabecera.endsWith(QStringLiteral("30.000")));
    f.ventana->close();
    f.ventana.reset();
    QCOMPARE(f.modulo->Pantalla_Activa, quint8(Pantalla_Mantenimiento));
    f.modulo->TableMatriculas->last();
    QCOMPARE(f.modulo->TableMatriculas->fieldByName("MATRICULA")->asString(), QStringLiteral("9999ZZZ"));
    QCOMPARE(f.modulo->Cabecera_Vehiculo, cabecera);
}

// From the windows alone: the brand's interval, an oil change and a later
// visit without one, and the vehicle's reading. The later visit does not count.
void TstMantenimiento::deExtremoAExtremo_data()
{
    QTest::addColumn<int>("km");
    QTest::addColumn<QColor>("color");

    QTest::newRow("pasado") << 30000 << Granate;
    QTest::newRow("justo") << 25000 << Azul_Marino;
}

void TstMantenimiento::deExtremoAExtremo()
{
    QFETCH(int, km);
    QFETCH(QColor, color);

    Flota f(km);
    f.modulo = std::make_unique<TModuloDatos>(f.datos.carpeta());
    {
        TFormIntervalos intervalos;
        intervalos.show();
        QVERIFY(QTest::qWaitForWindowExposed(&intervalos));
        DialogosPrueba dialogos;
        dialogos.alAparecer(QStringLiteral("TFormEdIntervalos"), [](QWidget *w) {
            auto *e = qobject_cast<TFormEdIntervalos *>(w);
            Escribir(e->EditC_Aceite, QStringLiteral("15000"));
            e->BtnAceptar->click();
            if (e->isVisible())
                e->reject();
        });
        intervalos.BtnAnadir->click();
        QVERIFY(dialogos.esperar());
    }

    f.ventana = std::make_unique<TFormMantenimiento>();
    f.ventana->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.ventana.get()));
    for (const int lectura : {10000, 25000}) {
        QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [lectura](TFormEdMantenimiento *e) {
            Escribir(e->DBEditFecha, lectura == 10000 ? QStringLiteral("01022024") : QStringLiteral("01062024"));
            Escribir(e->DBEditKilometros, QString::number(lectura));
            if (lectura == 10000)
                e->findChild<QCheckBox *>("CBCAceite")->setChecked(true);
            else
                e->findChild<QCheckBox *>("CBFAire")->setChecked(true);
            e->BtnAceptar->click();
        }));
    }
    QCOMPARE(f.caja("C_ACEITE")->text(), QStringLiteral("25.000"));
    QCOMPARE(ColorTexto(f.caja("C_ACEITE")), color);
    QCOMPARE(f.caja("F_AIRE")->text(), QStringLiteral("25.000"));
    QVERIFY(f.ventana->windowTitle().endsWith(QStringLiteral(" - Mantenimiento (2 registros)")));
}

QTEST_MAIN(TstMantenimiento)
#include "tst_mantenimiento.moc"
