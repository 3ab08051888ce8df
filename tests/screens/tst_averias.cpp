// The breakdowns windows driven headless: the record panels and the three
// views, the state that follows the repair date, the repair texts that open
// with it, the rule of the OK button, bad amounts and readings refused with a
// notice, long texts stored whole, and a vehicle's deletion reaching its
// breakdowns in every state.
#include "Averias.h"
#include "Avisos.h"
#include "BotonFecha.h"
#include "DBControles.h"
#include "DBCtrlGrid.h"
#include "DBGrid.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "DialogosPrueba.h"
#include "EdAverias.h"
#include "EdMatricula.h"
#include "Excepciones.h"
#include "ListaBase.h"
#include "Matriculas.h"
#include "Table.h"
#include "Teclado.h"
#include "Validadores.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

const QString Placa = QStringLiteral("1234ABC");
const QString Otra = QStringLiteral("9999ZZZ");
const QString Cabecera = QStringLiteral("AAA BBB - Kmtros actuales: 50.000");

QDate d(const char *texto)
{
    return QDate::fromString(QLatin1String(texto), QStringLiteral("dd/MM/yyyy"));
}

// What the user pastes into a text: the whole clipboard at once.
void Pegar(QPlainTextEdit *campo, const QString &texto)
{
    QGuiApplication::clipboard()->setText(texto);
    campo->setFocus(Qt::OtherFocusReason);
    campo->selectAll();
    QTest::keySequence(campo, QKeySequence::Paste);
}

using Fila = QMap<QString, QVariant>;

// Vehicles of AAA BBB, the data module over them and the breakdowns window.
struct Flota
{
    DatosPrueba datos;
    int marca = 0;
    int modelo = 0;
    std::unique_ptr<TModuloDatos> modulo;
    std::unique_ptr<TFormAverias> ventana;

    Flota()
    {
        marca = datos.addBrand(QStringLiteral("AAA"));
        modelo = datos.addModel(QStringLiteral("BBB"), marca);
        datos.addVehicle(Placa, marca, modelo, 50000);
    }

    bool abrir()
    {
        if (!modulo)
            modulo = std::make_unique<TModuloDatos>(datos.carpeta());
        ventana = std::make_unique<TFormAverias>();
        ventana->show();
        return QTest::qWaitForWindowExposed(ventana.get());
    }

    // The stored breakdowns, read afresh, in storing order.
    QList<Fila> registros() const
    {
        return datos.registros(QStringLiteral("Averias.DAT"));
    }

    bool usarEditor(QAbstractButton *boton, std::function<void(TFormEdAverias *)> accion)
    {
        return Usar_Editor<TFormEdAverias>(boton, accion);
    }

    QString titulo() const { return ventana->windowTitle(); }
    // The text a panel shows for a field.
    QString panel(int i, const char *campo) const
    {
        QWidget *w = ventana->GridAverias->panel(i)->findChild<QWidget *>(QLatin1String(campo));
        if (auto *e = qobject_cast<QLineEdit *>(w))
            return e->text();
        if (auto *m = qobject_cast<QPlainTextEdit *>(w))
            return m->toPlainText();
        return QStringLiteral("(no está)");
    }
};

QStringList Textos_Avisos()
{
    QStringList t;
    for (const TAvisoMostrado &a : Avisos_Prueba::Mostrados())
        t << a.Titulo + QStringLiteral(": ") + a.Texto;
    return t;
}

} // namespace

class TstAverias : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void ventana();
    void vistas();
    void editor();
    void soloReparadas();
    void estadoSigueLaReparacion();
    void textosDeReparacion();
    void fechaDeReparacionElegida();
    void botonAceptar_data();
    void botonAceptar();
    void importe_data();
    void importe();
    void kilometrosFueraDeRango();
    void textosLargosYAcentos();
    void eliminarVehiculoBorraTodas();
};

void TstAverias::initTestCase()
{
    Excepcion.Configurar_Excepciones(false);
}

void TstAverias::init()
{
    Avisos_Prueba::Reiniciar();
    Avisos_Prueba::Sin_Ventanas(true);
}

void TstAverias::cleanup()
{
    DialogosPrueba::cerrarModales();
    Avisos_Prueba::Reiniciar();
}

// Caption, tool bar, the vehicle grid and the panels: four small fields on the
// left, the three texts on the right, the current one highlighted; the
// navigator moves from breakdown to breakdown, and a click anywhere on a panel
// leaves the focus on the panels' grid.
void TstAverias::ventana()
{
    Flota f;
    f.datos.addVehicle(Otra, f.marca, f.modelo, 7000);
    f.datos.addRecord(QStringLiteral("Averias.DAT"),
                      {{"MATRICULA", Placa}, {"FECHAINICIO", d("01/02/2024")}, {"KILOMETROS", 12345},
                       {"ESTADO", "P"}, {"AVERIA", "Ruido al frenar"}, {"IMPORTE", 1234.5}});
    f.datos.addBreakdown(Placa, d("03/02/2024"), 12400, QStringLiteral("No arranca"));
    f.datos.addBreakdown(Placa, d("05/02/2024"), 12500, QStringLiteral("Luz de aceite"));
    f.datos.addBreakdown(Placa, d("06/02/2024"), 12600, QStringLiteral("Reparada"), d("07/02/2024"));
    QVERIFY(f.abrir());
    TFormAverias *v = f.ventana.get();
    QCOMPARE(f.titulo(), Cabecera + QStringLiteral(" - Averias (3 registros)"));
    QCOMPARE(f.modulo->Pantalla_Activa, quint8(Pantalla_Averias));
    QCOMPARE(v->property(Propiedad_Ayuda).toInt(), 310);
    QCOMPARE(v->DBNavigator->dataSource(), f.modulo->DSAverias);

    // The views between Eliminar and Cerrar, the pending one pressed.
    const QList<QToolButton *> barra{v->BtnEliminar, v->SpeedButton1, v->SpeedButton2, v->SpeedButton3, v->BtnCerrar};
    QCOMPARE(v->SpeedButton1->text(), QStringLiteral("&Pendientes"));
    QCOMPARE(v->SpeedButton2->text(), QStringLiteral("&Reparadas"));
    QCOMPARE(v->SpeedButton3->text(), QStringLiteral("Ver &Todas"));
    for (int i = 1; i < barra.size(); ++i)
        QVERIFY(barra[i]->x() > barra[i - 1]->x() + barra[i - 1]->width() - 1);
    QVERIFY(v->SpeedButton1->isChecked());

    TDBCtrlGrid *g = v->GridAverias;
    QCOMPARE(g->panelCount(), 3);
    QCOMPARE(g->toolTip(), QStringLiteral("Doble Click para editar"));
    QCOMPARE(f.panel(0, "FECHAINICIO"), QStringLiteral("01/02/2024"));
    QCOMPARE(f.panel(0, "KILOMETROS"), QStringLiteral("12.345"));
    QCOMPARE(f.panel(0, "IMPORTE"), QStringLiteral("1.234,5"));
    QCOMPARE(f.panel(0, "FECHAFIN"), QString());
    QCOMPARE(f.panel(0, "AVERIA"), QStringLiteral("Ruido al frenar"));
    QCOMPARE(f.panel(2, "AVERIA"), QStringLiteral("Luz de aceite"));
    QFrame *p = g->panel(0);
    const QList<std::pair<const char *, const char *>> campos{
        {"FECHAINICIO", "Fecha Inicio"}, {"KILOMETROS", "Kilometros"}, {"FECHAFIN", "Fecha Fin"},
        {"IMPORTE", "Importe"}, {"AVERIA", "Descripción de la averia"},
        {"REPARACION", "Descripción de la reparación"}, {"MATERIALES", "Repuestos empleados"}};
    QWidget *primero = p->findChild<QWidget *>(QStringLiteral("FECHAINICIO"));
    for (const auto &[campo, ayuda] : campos) {
        QWidget *w = p->findChild<QWidget *>(QLatin1String(campo));
        QVERIFY2(w, campo);
        QCOMPARE(w->toolTip(), QString::fromUtf8(ayuda));
        if (auto *m = qobject_cast<QPlainTextEdit *>(w)) {
            QVERIFY(m->x() > primero->x() + primero->width());
            QCOMPARE(m->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        } else {
            QCOMPARE(w->x(), primero->x());
        }
    }
    QVERIFY(p->findChild<QWidget *>("FECHAFIN")->y() > p->findChild<QWidget *>("KILOMETROS")->y());
    QVERIFY(p->findChild<QWidget *>("MATERIALES")->y() > p->findChild<QWidget *>("REPARACION")->y());
    QVERIFY(p->findChild<QWidget *>("REPARACION")->y() > p->findChild<QWidget *>("AVERIA")->y());
    QCOMPARE(g->panelRow(0), 0);
    QCOMPARE(p->palette().color(QPalette::Window), TDBCtrlGrid::selectedColor());

    // The navigator moves to the next breakdown, not to the next vehicle.
    v->DBNavigator->buttonNext()->click();
    QCOMPARE(f.modulo->TableAverias->fieldByName("AVERIA")->asString(), QStringLiteral("No arranca"));
    QCOMPARE(f.modulo->TableMatriculas->fieldByName("MATRICULA")->asString(), Placa);
    QCOMPARE(g->panel(1)->palette().color(QPalette::Window), TDBCtrlGrid::selectedColor());

    // A click on a panel's text makes its breakdown current and leaves the focus on the grid.
    v->DBGridMatriculas->setFocus();
    QWidget *texto = g->panel(2)->findChild<QPlainTextEdit *>("AVERIA")->viewport();
    QTest::mouseClick(texto, Qt::LeftButton);
    QTRY_VERIFY(g->hasFocus());
    QCOMPARE(f.modulo->TableAverias->fieldByName("AVERIA")->asString(), QStringLiteral("Luz de aceite"));

    // A double click on a panel, or on the vehicle grid, edits the current breakdown.
    DialogosPrueba dialogos;
    QString editada;
    int editores = 0;
    auto anotar = [&](QWidget *w) {
        auto *e = qobject_cast<TFormEdAverias *>(w);
        ++editores;
        editada = e->DbMAveria->toPlainText();
        QCOMPARE(e->windowTitle(), QStringLiteral("Editar Averia"));
        QCOMPARE(e->property(Propiedad_Ayuda).toInt(), 320);
        e->reject();
    };
    dialogos.alAparecer(QStringLiteral("TFormEdAverias"), anotar);
    QTest::mouseDClick(g->panel(0)->findChild<QLineEdit *>("KILOMETROS"), Qt::LeftButton);
    QVERIFY(dialogos.esperar());
    QCOMPARE(editada, QStringLiteral("Ruido al frenar"));
    dialogos.alAparecer(QStringLiteral("TFormEdAverias"), anotar);
    TDBGrid *vehiculos = v->DBGridMatriculas;
    QTest::mouseDClick(vehiculos->viewport(), Qt::LeftButton, {},
                       vehiculos->visualRect(vehiculos->model()->index(0, 0)).center());
    QVERIFY(dialogos.esperar());
    QCOMPARE(editores, 2);

    // Another vehicle: its breakdowns, and the caption follows.
    vehiculos->selectRow(1);
    QCOMPARE(f.titulo(), QStringLiteral("AAA BBB - Kmtros actuales: 7.000 - Averias (0 registros)"));
    QVERIFY(!g->panel(0)->findChild<QWidget *>("AVERIA")->isVisible());
}

// The four single-line fields in one row under their labels, the three texts
// below, each under its red bold label, both date buttons beside their dates.
void TstAverias::editor()
{
    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [](TFormEdAverias *e) {
        const QList<std::tuple<const char *, const char *, QWidget *>> arriba{
            {"LblFeAveria", "Fecha Averia", e->DbEFeAveria},
            {"LblKm", "Kilometros", e->DbEKm},
            {"LblFeRep", "Fecha Rep.", e->DbEFeRep},
            {"LblImporte", "Importe factura", e->DBEditImporte}};
        int x = -1;
        for (const auto &[nombre, texto, campo] : arriba) {
            auto *l = e->findChild<QLabel *>(QLatin1String(nombre));
            QVERIFY2(l, nombre);
            QCOMPARE(l->text(), QString::fromUtf8(texto));
            QCOMPARE(l->buddy(), campo);
            QCOMPARE(campo->mapTo(e, QPoint()).y(), e->DbEFeAveria->mapTo(e, QPoint()).y());
            QVERIFY(l->mapTo(e, QPoint()).y() < campo->mapTo(e, QPoint()).y());
            QVERIFY(campo->mapTo(e, QPoint()).x() > x);
            x = campo->mapTo(e, QPoint()).x();
        }
        QVERIFY(e->BotonFechaAveria->mapTo(e, QPoint()).x() > e->DbEFeAveria->mapTo(e, QPoint()).x());
        QVERIFY(e->BotonFechaRep->mapTo(e, QPoint()).x() > e->DbEFeRep->mapTo(e, QPoint()).x());

        const QList<std::tuple<const char *, const char *, QPlainTextEdit *>> textos{
            {"LblAveria", "Descripción de la Averia", e->DbMAveria},
            {"LblReparacion", "Descripción de la Reparación", e->DbMReparacion},
            {"LblMateriales", "Materiales", e->MMateriales}};
        int y = e->DbEFeAveria->mapTo(e, QPoint()).y();
        for (const auto &[nombre, texto, memo] : textos) {
            auto *l = e->findChild<QLabel *>(QLatin1String(nombre));
            QVERIFY2(l, nombre);
            QCOMPARE(l->text(), QString::fromUtf8(texto));
            QCOMPARE(l->buddy(), memo);
            QVERIFY(l->font().bold());
            QCOMPARE(l->palette().color(QPalette::Active, QPalette::WindowText), QColor(Qt::red));
            QVERIFY(l->mapTo(e, QPoint()).y() > y);
            QVERIFY(memo->mapTo(e, QPoint()).y() > l->mapTo(e, QPoint()).y());
            QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            y = memo->mapTo(e, QPoint()).y();
        }
        e->BtnCancelar->click();
    }));
}

// Each button sets its view and the count; the window always opens pending.
void TstAverias::vistas()
{
    Flota f;
    f.datos.addBreakdown(Placa, d("01/02/2024"), 10000, QStringLiteral("Pendiente uno"));
    f.datos.addBreakdown(Placa, d("02/02/2024"), 11000, QStringLiteral("Reparada uno"), d("03/02/2024"));
    f.datos.addBreakdown(Placa, d("04/02/2024"), 12000, QStringLiteral("Reparada dos"), d("05/02/2024"));
    QVERIFY(f.abrir());
    const struct
    {
        QToolButton *TFormAverias::*boton;
        const char *cuenta;
        const char *primera;
    } pasos[] = {
        {&TFormAverias::SpeedButton2, "2 registros", "Reparada uno"},
        {&TFormAverias::SpeedButton3, "3 registros", "Pendiente uno"},
        {&TFormAverias::SpeedButton1, "1 registro", "Pendiente uno"},
        {&TFormAverias::SpeedButton3, "3 registros", "Pendiente uno"},
    };
    QCOMPARE(f.titulo(), Cabecera + QStringLiteral(" - Averias (1 registro)"));
    for (const auto &p : pasos) {
        QToolButton *b = f.ventana.get()->*p.boton;
        QTest::mouseClick(b, Qt::LeftButton);
        QVERIFY(b->isChecked());
        QCOMPARE(f.titulo(), Cabecera + QStringLiteral(" - Averias (") + QLatin1String(p.cuenta) + QLatin1Char(')'));
        QCOMPARE(f.panel(0, "AVERIA"), QLatin1String(p.primera));
    }
    // Closed on "Ver Todas", reopened on the pending ones.
    f.ventana.reset();
    QVERIFY(f.abrir());
    QCOMPARE(f.titulo(), Cabecera + QStringLiteral(" - Averias (1 registro)"));
    QVERIFY(f.ventana->SpeedButton1->isChecked());
    QVERIFY(!f.ventana->SpeedButton3->isChecked());
}

// Nothing pending: the count is 0 and there is nothing to edit or delete,
// until every breakdown is on show.
void TstAverias::soloReparadas()
{
    Flota f;
    f.datos.addBreakdown(Placa, d("02/02/2024"), 11000, QStringLiteral("Reparada"), d("03/02/2024"),
                         QStringLiteral("Cambio de batería"), 95.5);
    QVERIFY(f.abrir());
    QCOMPARE(f.titulo(), Cabecera + QStringLiteral(" - Averias (0 registros)"));
    for (QToolButton *b : {f.ventana->BtnEditar, f.ventana->BtnEliminar}) {
        f.ventana->setWindowTitle(QStringLiteral("viejo"));
        QVERIFY(!Abre_Editor(b));
        QCOMPARE(f.titulo(), Cabecera + QStringLiteral(" - Averias (0 registros)"));
    }
    QCOMPARE(Textos_Avisos(),
             QStringList({"Error al editar Averia.: La base de datos de Averias está vacía.",
                          "Error al eliminar Averia.: La base de datos de Averias está vacía."}));

    f.ventana->SpeedButton3->click();
    QCOMPARE(f.titulo(), Cabecera + QStringLiteral(" - Averias (1 registro)"));
    QVERIFY(f.usarEditor(f.ventana->BtnEditar, [](TFormEdAverias *e) {
        QCOMPARE(e->DbEFeRep->shownText(), QStringLiteral("03/02/2024"));
        QCOMPARE(e->DbMReparacion->toPlainText(), QStringLiteral("Cambio de batería"));
        QVERIFY(e->DbMReparacion->isEnabled());
        QVERIFY(e->MMateriales->isEnabled());
        QCOMPARE(e->DBEditImporte->text(), QStringLiteral("95,5"));
        QVERIFY(e->BtnAceptar->isEnabled());
        e->BtnAceptar->click();
    }));
    QCOMPARE(f.registros().value(0).value("ESTADO").toString(), QStringLiteral("C"));
}

// Saved without a repair date a breakdown is pending; with one, repaired; with
// it cleared, pending again. The pending view and the count follow each save.
void TstAverias::estadoSigueLaReparacion()
{
    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [](TFormEdAverias *e) {
        QCOMPARE(e->windowTitle(), QStringLiteral("Añadir Averia"));
        QCOMPARE(e->property(Propiedad_Ayuda).toInt(), 320);
        QVERIFY(e->DbEFeAveria->hasFocus());
        Escribir(e->DbEFeAveria, QStringLiteral("10032024"));
        Escribir(e->DbEKm, QStringLiteral("48000"));
        Escribir(e->DbMAveria, QStringLiteral("Pierde agua"));
        e->BtnAceptar->click();
    }));
    QCOMPARE(f.registros().size(), 1);
    Fila r = f.registros().value(0);
    QCOMPARE(r.value("ESTADO").toString(), QStringLiteral("P"));
    QCOMPARE(r.value("MATRICULA").toString(), Placa);
    QCOMPARE(r.value("FECHAINICIO").toDate(), d("10/03/2024"));
    QCOMPARE(r.value("KILOMETROS").toInt(), 48000);
    QVERIFY(r.value("FECHAFIN").isNull());
    QCOMPARE(f.titulo(), Cabecera + QStringLiteral(" - Averias (1 registro)"));
    QCOMPARE(f.panel(0, "AVERIA"), QStringLiteral("Pierde agua"));

    QVERIFY(f.usarEditor(f.ventana->BtnEditar, [](TFormEdAverias *e) {
        QCOMPARE(e->DbEKm->text().remove(QLatin1Char('.')), QStringLiteral("48000"));
        Escribir(e->DbEFeRep, QStringLiteral("12032024"));
        Escribir(e->DbMReparacion, QStringLiteral("Manguito nuevo"));
        Escribir(e->DBEditImporte, QStringLiteral("80,25"));
        e->BtnAceptar->click();
    }));
    r = f.registros().value(0);
    QCOMPARE(r.value("ESTADO").toString(), QStringLiteral("C"));
    QCOMPARE(r.value("FECHAFIN").toDate(), d("12/03/2024"));
    QCOMPARE(r.value("IMPORTE").toDouble(), 80.25);
    QCOMPARE(f.titulo(), Cabecera + QStringLiteral(" - Averias (0 registros)"));
    f.ventana->SpeedButton2->click();
    QCOMPARE(f.titulo(), Cabecera + QStringLiteral(" - Averias (1 registro)"));
    QCOMPARE(f.panel(0, "FECHAFIN"), QStringLiteral("12/03/2024"));
    QCOMPARE(f.panel(0, "IMPORTE"), QStringLiteral("80,25"));

    QVERIFY(f.usarEditor(f.ventana->BtnEditar, [](TFormEdAverias *e) {
        Escribir(e->DbEFeRep, QString());
        QVERIFY(!e->DbMReparacion->isEnabled());
        e->BtnAceptar->click();
    }));
    r = f.registros().value(0);
    QCOMPARE(r.value("ESTADO").toString(), QStringLiteral("P"));
    QVERIFY(r.value("FECHAFIN").isNull());
    QCOMPARE(r.value("REPARACION").toString(), QStringLiteral("Manguito nuevo"));
    QCOMPARE(f.titulo(), Cabecera + QStringLiteral(" - Averias (0 registros)"));
    f.ventana->SpeedButton1->click();
    QCOMPARE(f.titulo(), Cabecera + QStringLiteral(" - Averias (1 registro)"));

    // Deleted after its question.
    Avisos_Prueba::Programar_Respuesta(true);
    QVERIFY(f.usarEditor(f.ventana->BtnEliminar, [](TFormEdAverias *e) {
        QCOMPARE(e->windowTitle(), QStringLiteral("Eliminar Averia"));
        QVERIFY(!e->DbMAveria->isEnabled());
        QVERIFY(!e->BotonFechaRep->isEnabled());
        e->BtnAceptar->click();
    }));
    QVERIFY(f.registros().isEmpty());
    QCOMPARE(f.titulo(), Cabecera + QStringLiteral(" - Averias (0 registros)"));
}

// The repair texts open with a typed repair date and close without it; what
// the user typed in them meanwhile is kept and stored.
void TstAverias::textosDeReparacion()
{
    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [](TFormEdAverias *e) {
        QVERIFY(!e->DbMReparacion->isEnabled());
        QVERIFY(!e->MMateriales->isEnabled());
        QVERIFY(e->DbMAveria->isEnabled());
        Escribir(e->DbEFeAveria, QStringLiteral("10032024"));
        Escribir(e->DbEKm, QStringLiteral("1000"));
        Escribir(e->DbEFeRep, QStringLiteral("1"));
        QVERIFY(e->DbMReparacion->isEnabled());
        QVERIFY(e->MMateriales->isEnabled());
        Escribir(e->DbEFeRep, QStringLiteral("11032024"));
        Escribir(e->DbMReparacion, QStringLiteral("Cambio de correa"));
        Escribir(e->MMateriales, QStringLiteral("1 correa"));
        Escribir(e->DbEFeRep, QString());
        QCOMPARE(e->DbEFeRep->shownText(), QStringLiteral("  /  /    "));
        QVERIFY(!e->DbMReparacion->isEnabled());
        QVERIFY(!e->MMateriales->isEnabled());
        QCOMPARE(e->DbMReparacion->toPlainText(), QStringLiteral("Cambio de correa"));
        e->BtnAceptar->click();
    }));
    const Fila r = f.registros().value(0);
    QCOMPARE(r.value("ESTADO").toString(), QStringLiteral("P"));
    QCOMPARE(r.value("REPARACION").toString(), QStringLiteral("Cambio de correa"));
    QCOMPARE(r.value("MATERIALES").toString(), QStringLiteral("1 correa"));
}

// A repair date picked in the calendar opens the texts as a typed one does.
void TstAverias::fechaDeReparacionElegida()
{
    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [](TFormEdAverias *e) {
        QVERIFY(e->BotonFechaAveria->isEnabled());
        QVERIFY(e->BotonFechaRep->isEnabled());
        DialogosPrueba calendario;
        calendario.pulsarAlAparecer(QStringLiteral("FmCalendario"), QStringLiteral("&Aceptar"));
        QTest::mouseClick(e->BotonFechaRep, Qt::LeftButton);
        QVERIFY2(calendario.esperar(), qPrintable(calendario.errores().join('\n')));
        QCOMPARE(e->DbEFeRep->shownText(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
        QVERIFY(e->DbMReparacion->isEnabled());
        QVERIFY(e->MMateriales->isEnabled());
        e->BtnCancelar->click();
    }));
    QVERIFY(f.registros().isEmpty());
}

void TstAverias::botonAceptar_data()
{
    QTest::addColumn<QString>("fecha");
    QTest::addColumn<QString>("km");
    QTest::addColumn<QString>("averia");
    QTest::addColumn<bool>("activo");

    QTest::newRow("nada") << "" << "" << "" << false;
    QTest::newRow("sólo la descripción") << "" << "" << "Humo" << false;
    QTest::newRow("sólo kilómetros") << "" << "1000" << "Humo" << false;
    QTest::newRow("fecha sin kilómetros") << "10032024" << "" << "Humo" << false;
    QTest::newRow("fecha a medias") << "10" << "1000" << "" << true;
    QTest::newRow("sin descripción") << "10032024" << "1000" << "" << true;
}

void TstAverias::botonAceptar()
{
    QFETCH(QString, fecha);
    QFETCH(QString, km);
    QFETCH(QString, averia);
    QFETCH(bool, activo);

    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdAverias *e) {
        QVERIFY(!e->BtnAceptar->isEnabled());
        Escribir(e->DbMAveria, averia);
        Escribir(e->DbEKm, km);
        Escribir(e->DbEFeAveria, fecha);
        QCOMPARE(e->BtnAceptar->isEnabled(), activo);
        // The repair date and the amount take no part.
        Escribir(e->DbEFeRep, QStringLiteral("11032024"));
        Escribir(e->DBEditImporte, QStringLiteral("10"));
        QCOMPARE(e->BtnAceptar->isEnabled(), activo);
        e->BtnCancelar->click();
    }));
    QVERIFY(f.registros().isEmpty());
}

// An amount is digits with a decimal comma and groups of thousands; what
// cannot be stored exactly is refused as typed, with a notice, and the
// amount typed so far stays.
void TstAverias::importe_data()
{
    QTest::addColumn<QString>("teclas");
    QTest::addColumn<QString>("visto");
    QTest::addColumn<double>("guardado");
    QTest::addColumn<bool>("aviso");

    QTest::newRow("entero") << "1500" << "1500" << 1500.0 << false;
    QTest::newRow("con decimales") << "1234,56" << "1234,56" << 1234.56 << false;
    QTest::newRow("coma primero") << ",5" << "0,5" << 0.5 << false;
    QTest::newRow("agrupado") << "1.234,5" << "1234,5" << 1234.5 << false;
    QTest::newRow("tercer decimal") << "12,345" << "12,34" << 12.34 << true;
    QTest::newRow("trece cifras") << "1234567890123" << "123456789012" << 123456789012.0 << true;
    QTest::newRow("letra") << "12e3" << "123" << 123.0 << true;
    QTest::newRow("signo") << "-5" << "5" << 5.0 << true;
    QTest::newRow("dos comas") << "1,2,3" << "1,23" << 1.23 << true;
}

void TstAverias::importe()
{
    QFETCH(QString, teclas);
    QFETCH(QString, visto);
    QFETCH(double, guardado);
    QFETCH(bool, aviso);

    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdAverias *e) {
        Escribir(e->DbEFeAveria, QStringLiteral("10032024"));
        Escribir(e->DbEKm, QStringLiteral("1000"));
        Escribir(e->DBEditImporte, teclas);
        QCOMPARE(e->DBEditImporte->text(), visto);
        QTRY_COMPARE(Avisos_Prueba::Mostrados().isEmpty(), !aviso);
        e->BtnAceptar->click();
    }));
    QCOMPARE(Textos_Avisos(), aviso ? QStringList{QStringLiteral("Importe: ") + Texto_Importe_No_Valido()} : QStringList());
    QCOMPARE(f.registros().size(), 1);
    QCOMPARE(f.registros().value(0).value("IMPORTE").toDouble(), guardado);
}

// A reading past 32 bits never reaches the table: the digit is refused with a
// notice and the rest is stored.
void TstAverias::kilometrosFueraDeRango()
{
    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdAverias *e) {
        Escribir(e->DbEFeAveria, QStringLiteral("10032024"));
        Escribir(e->DbEKm, QStringLiteral("21474836479"));
        QCOMPARE(e->DbEKm->text(), QStringLiteral("2147483647"));
        QTRY_VERIFY(!Avisos_Prueba::Mostrados().isEmpty());
        e->BtnAceptar->click();
    }));
    QCOMPARE(Avisos_Prueba::Mostrados().value(0).Texto, Texto_Kilometros_Fuera_De_Rango());
    QCOMPARE(f.registros().value(0).value("KILOMETROS").toInt(), 2147483647);
}

// Texts of many kilobytes, with quotes, accents and line breaks, are stored
// whole and shown back as they were written.
void TstAverias::textosLargosYAcentos()
{
    QString largo;
    for (int i = 0; largo.size() < 200 * 1024; ++i)
        largo += QStringLiteral("Línea %1: «pieza» 'n.º 7' \"ñandú\" — 100 € (¿qué?)\n").arg(i);
    const QString corto = QStringLiteral("Junta de culata; O'Neill dijo \"ya\"; àéïõü ÀÉÏÕÜ çÇ");

    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdAverias *e) {
        Escribir(e->DbEFeAveria, QStringLiteral("10032024"));
        Escribir(e->DbEKm, QStringLiteral("1000"));
        Pegar(e->DbMAveria, largo);
        Escribir(e->DbEFeRep, QStringLiteral("11032024"));
        Escribir(e->DbMReparacion, corto);
        Pegar(e->MMateriales, largo);
        e->BtnAceptar->click();
    }));
    const Fila r = f.registros().value(0);
    QCOMPARE(r.value("AVERIA").toString(), largo);
    QCOMPARE(r.value("REPARACION").toString(), corto);
    QCOMPARE(r.value("MATERIALES").toString(), largo);
    f.ventana->SpeedButton2->click();
    QCOMPARE(f.panel(0, "AVERIA"), largo);
    QCOMPARE(f.panel(0, "REPARACION"), corto);
    QVERIFY(f.usarEditor(f.ventana->BtnEditar, [&](TFormEdAverias *e) {
        QCOMPARE(e->DbMAveria->toPlainText(), largo);
        QCOMPARE(e->DbMReparacion->toPlainText(), corto);
    }));
}

// The view the window leaves on the table does not limit a vehicle's deletion.
void TstAverias::eliminarVehiculoBorraTodas()
{
    Flota f;
    f.datos.addVehicle(Otra, f.marca, f.modelo, 7000);
    f.datos.addBreakdown(Placa, d("01/02/2024"), 10000, QStringLiteral("Pendiente"));
    f.datos.addBreakdown(Placa, d("02/02/2024"), 11000, QStringLiteral("Reparada"), d("03/02/2024"));
    f.datos.addBreakdown(Otra, d("02/02/2024"), 5000, QStringLiteral("De otro"), d("03/02/2024"));
    QVERIFY(f.abrir());
    f.ventana->close();
    f.ventana.reset();
    QVERIFY(f.modulo->TableAverias->filtered());

    TFormMatriculas vehiculos;
    vehiculos.show();
    QVERIFY(QTest::qWaitForWindowExposed(&vehiculos));
    QCOMPARE(f.modulo->TableMatriculas->fieldByName("MATRICULA")->asString(), Placa);
    Avisos_Prueba::Programar_Respuesta(true);
    QVERIFY(Usar_Editor<TFormEdMatricula>(vehiculos.BtnEliminar, [](TFormEdMatricula *e) { e->BtnAceptar->click(); }));
    const QList<Fila> quedan = f.registros();
    QCOMPARE(quedan.size(), 1);
    QCOMPARE(quedan[0].value("MATRICULA").toString(), Otra);
}

QTEST_MAIN(TstAverias)
#include "tst_averias.moc"
