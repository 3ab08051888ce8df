// The tyre windows driven headless: the grid with the distance each set has
// run and the size from the vehicle's sheet, kept true when the vehicle's
// reading or its sheet change in other windows; the editor's OK button, the
// brand in capitals, and input that cannot be stored refused whole.
#include "Avisos.h"
#include "BotonFecha.h"
#include "DBControles.h"
#include "DBGrid.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "DialogosPrueba.h"
#include "EdFichaTec.h"
#include "EdMatricula.h"
#include "EdRuedas.h"
#include "Excepciones.h"
#include "FichaTec.h"
#include "Matriculas.h"
#include "Ruedas.h"
#include "Table.h"
#include "Teclado.h"
#include "Validadores.h"

#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

const QString Placa = QStringLiteral("1234ABC");

QDate d(const char *texto)
{
    return QDate::fromString(QLatin1String(texto), QStringLiteral("dd/MM/yyyy"));
}

// Pastes `texto` into the field with the keyboard.
template <class Campo>
void Pegar(Campo *campo, const QString &texto)
{
    QApplication::clipboard()->setText(texto);
    campo->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(campo, Qt::Key_V, Qt::ControlModifier);
}

// A vehicle of brand AAA and model BBB at 50.000 km, the module over it and the tyre window.
struct Flota
{
    DatosPrueba datos;
    int marca = 0;
    int modelo = 0;
    std::unique_ptr<TModuloDatos> modulo;
    std::unique_ptr<TFormRuedas> ventana;

    explicit Flota(int km = 50000, bool conVehiculo = true)
    {
        marca = datos.addBrand(QStringLiteral("AAA"));
        modelo = datos.addModel(QStringLiteral("BBB"), marca);
        if (conVehiculo)
            datos.addVehicle(Placa, marca, modelo, km);
    }

    bool abrir()
    {
        if (!modulo)
            modulo = std::make_unique<TModuloDatos>(datos.carpeta());
        ventana = std::make_unique<TFormRuedas>();
        ventana->show();
        return QTest::qWaitForWindowExposed(ventana.get());
    }

    void cerrar()
    {
        ventana->close();
        ventana.reset();
    }

    QList<QMap<QString, QVariant>> ruedas() const { return datos.registros(QStringLiteral("Ruedas.DAT")); }

    // The grid's column `titulo`, top to bottom.
    QStringList columna(const QString &titulo) const
    {
        const TDBGridModel *m = ventana->DBGrid6->gridModel();
        for (int c = 0; c < m->columnCount(); ++c) {
            if (m->headerData(c, Qt::Horizontal).toString() != titulo)
                continue;
            QStringList valores;
            for (int r = 0; r < m->rowCount(); ++r)
                valores << m->data(m->index(r, c)).toString();
            return valores;
        }
        return {QStringLiteral("sin columna ") + titulo};
    }

    bool usarEditor(QToolButton *boton, std::function<void(TFormEdRuedas *)> accion)
    {
        return Usar_Editor<TFormEdRuedas>(boton, accion);
    }
};

QStringList Textos_Avisos()
{
    QStringList t;
    for (const TAvisoMostrado &a : Avisos_Prueba::Mostrados())
        t << a.Texto;
    return t;
}

} // namespace

class TstRuedas : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void ventana();
    void kmUso_data();
    void kmUso();
    void anadir();
    void editarYEliminar();
    void botonAceptar_data();
    void botonAceptar();
    void lecturaDelVehiculo();
    void medidaDeLaFicha();
    void cambioDeVehiculo();
    void sinVehiculo();
    void textoQueNoCabe_data();
    void textoQueNoCabe();
    void kilometrosFueraDeRango();
    void observacionesLargas();
};

void TstRuedas::initTestCase()
{
    Excepcion.Configurar_Excepciones(false);
}

void TstRuedas::init()
{
    Avisos_Prueba::Reiniciar();
    Avisos_Prueba::Sin_Ventanas(true);
}

void TstRuedas::cleanup()
{
    DialogosPrueba::cerrarModales();
    Avisos_Prueba::Reiniciar();
}

// Caption, help topic, the grid's columns with their titles, the remarks of
// the current fitting, and the window taking over the vehicle-following role.
void TstRuedas::ventana()
{
    Flota f;
    f.datos.addTyres(Placa, d("01/02/2024"), 42500, QStringLiteral("MICHELIN"), QStringLiteral("Delanteras"));
    f.datos.addTyres(Placa, d("01/06/2024"), 48000, QStringLiteral("PIRELLI"), QStringLiteral("Traseras\ny válvulas"));
    QVERIFY(f.abrir());
    TFormRuedas *v = f.ventana.get();
    QCOMPARE(v->windowTitle(), QStringLiteral("AAA BBB - Kmtros actuales: 50.000 - Neumáticos (2 registros)"));
    QCOMPARE(f.modulo->Pantalla_Activa, quint8(Pantalla_Ruedas));
    QCOMPARE(v->property("HelpContext").toInt(), 510);
    QCOMPARE(v->DBGrid6->toolTip(), QStringLiteral("Doble Click para editar"));

    const TDBGridModel *m = v->DBGrid6->gridModel();
    QStringList titulos;
    for (int c = 0; c < m->columnCount(); ++c) {
        titulos << m->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(Qt::Alignment(m->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt()) & Qt::AlignHCenter,
                 Qt::AlignHCenter);
    }
    QCOMPARE(titulos, QStringList({"Fecha", "Km. Cambio", "Marca", "Medida", "Km. Uso"}));
    QCOMPARE(Qt::Alignment(m->data(m->index(0, 0), Qt::TextAlignmentRole).toInt()) & Qt::AlignHCenter,
             Qt::AlignHCenter);
    QCOMPARE(f.columna("Fecha"), QStringList({"01/02/2024", "01/06/2024"}));
    QCOMPARE(f.columna("Km. Cambio"), QStringList({"42.500", "48.000"}));
    QCOMPARE(f.columna("Marca"), QStringList({"MICHELIN", "PIRELLI"}));
    QCOMPARE(f.columna("Km. Uso"), QStringList({"7.500", "2.000"}));

    QVERIFY(v->DBMemoObservaci->isReadOnly());
    QCOMPARE(v->DBMemoObservaci->toPlainText(), QStringLiteral("Delanteras"));
    v->DBGrid6->selectRow(1);
    QCOMPARE(v->DBMemoObservaci->toPlainText(), QStringLiteral("Traseras\ny válvulas"));
    QCOMPARE(v->DBMemoObservaci->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void TstRuedas::kmUso_data()
{
    QTest::addColumn<int>("vehiculo");
    QTest::addColumn<int>("cambio");
    QTest::addColumn<QString>("uso");

    QTest::newRow("recorridos") << 50000 << 42500 << "7.500";
    QTest::newRow("cambio por encima del vehículo") << 50000 << 52000 << "-2.000";
    QTest::newRow("recién puestos") << 50000 << 50000 << ""; // the format shows no zero
    QTest::newRow("millones") << 1500000 << 250 << "1.499.750";
}

void TstRuedas::kmUso()
{
    QFETCH(int, vehiculo);
    QFETCH(int, cambio);
    QFETCH(QString, uso);

    Flota f(vehiculo);
    f.datos.addTyres(Placa, d("01/02/2024"), cambio);
    QVERIFY(f.abrir());
    QCOMPARE(f.columna("Km. Uso"), QStringList{uso});
}

// From the editor: what the user typed, the brand in capitals, quotes and
// accents as typed; the vehicle's own reading is never touched.
void TstRuedas::anadir()
{
    Flota f;
    QVERIFY(f.abrir());
    const QString Notas = QStringLiteral("Cambio en «Neumáticos O'Donnell»: \"4 ruedas\", ñandú, 100%");
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdRuedas *e) {
        QCOMPARE(e->windowTitle(), QStringLiteral("Añadir Neumático"));
        QVERIFY(e->DBEditFecha->hasFocus());
        QVERIFY(!e->BtnAceptar->isEnabled());
        Escribir(e->DBEditFecha, QStringLiteral("15032024"));
        Escribir(e->DBEditKm, QStringLiteral("52000"));
        Escribir(e->DBEditMarcaRuedas, QStringLiteral("bridgestone ñ'é"));
        QCOMPARE(e->DBEditMarcaRuedas->text(), QStringLiteral("BRIDGESTONE Ñ'É"));
        e->DBMemoObservaci->setFocus();
        Teclear(e->DBMemoObservaci, Notas);
        QVERIFY(e->BtnAceptar->isEnabled());
        e->BtnAceptar->click();
    }));

    const auto r = f.ruedas();
    QCOMPARE(r.size(), 1);
    QCOMPARE(r[0].value("MATRICULA").toString(), Placa);
    QCOMPARE(r[0].value("FECHA").toDate(), d("15/03/2024"));
    QCOMPARE(r[0].value("KILOMETROS").toInt(), 52000);
    QCOMPARE(r[0].value("MARCA").toString(), QStringLiteral("BRIDGESTONE Ñ'É"));
    QCOMPARE(r[0].value("OBSERVACIONES").toString(), Notas);
    QVERIFY(r[0].value("ORDEN").toInt() > 0);

    QVERIFY(f.ventana->windowTitle().endsWith(QStringLiteral(" - Neumáticos (1 registro)")));
    QCOMPARE(f.columna("Km. Uso"), QStringList{"-2.000"});
    QCOMPARE(f.ventana->DBMemoObservaci->toPlainText(), Notas);
    const auto v = f.datos.registros(QStringLiteral("Matriculas.DAT"));
    QCOMPARE(v.value(0).value("KILOMETROS").toInt(), 50000);
    QVERIFY(f.ventana->windowTitle().contains(QStringLiteral("Kmtros actuales: 50.000")));
}

void TstRuedas::editarYEliminar()
{
    Flota f;
    f.datos.addTyres(Placa, d("01/02/2024"), 42500, QStringLiteral("MICHELIN"));
    QVERIFY(f.abrir());
    // A double click on the grid edits the fitting.
    DialogosPrueba dialogos;
    dialogos.alAparecer(QStringLiteral("TFormEdRuedas"), [](QWidget *w) {
        auto *e = qobject_cast<TFormEdRuedas *>(w);
        QCOMPARE(e->windowTitle(), QStringLiteral("Editar Neumático"));
        QVERIFY(e->BtnAceptar->isEnabled());
        QCOMPARE(e->DBEditMarcaRuedas->text(), QStringLiteral("MICHELIN"));
        Escribir(e->DBEditKm, QStringLiteral("45000"));
        e->BtnAceptar->click();
    });
    QTest::mouseDClick(f.ventana->DBGrid6->viewport(), Qt::LeftButton, {},
                       f.ventana->DBGrid6->visualRect(f.ventana->DBGrid6->model()->index(0, 0)).center());
    QVERIFY(dialogos.esperar());
    QCOMPARE(f.ruedas().value(0).value("KILOMETROS").toInt(), 45000);
    QCOMPARE(f.columna("Km. Uso"), QStringList{"5.000"});

    Avisos_Prueba::Programar_Respuesta(true);
    QVERIFY(f.usarEditor(f.ventana->BtnEliminar, [](TFormEdRuedas *e) {
        QCOMPARE(e->windowTitle(), QStringLiteral("Eliminar Neumático"));
        QVERIFY(!e->PnlDatos->isEnabled());
        QVERIFY(!e->BotonFechaRuedas->isEnabled());
        QVERIFY(e->BtnCancelar->hasFocus());
        e->BtnAceptar->click();
    }));
    QVERIFY(f.ruedas().isEmpty());
    QVERIFY(f.ventana->windowTitle().endsWith(QStringLiteral(" - Neumáticos (0 registros)")));

    // Nothing left: the notices.
    for (const bool eliminar : {false, true}) {
        Avisos_Prueba::Reiniciar();
        Avisos_Prueba::Sin_Ventanas(true);
        QVERIFY(!Abre_Editor(eliminar ? f.ventana->BtnEliminar : f.ventana->BtnEditar));
        QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
        QCOMPARE(Avisos_Prueba::Mostrados()[0].Titulo,
                 eliminar ? QStringLiteral("Error al eliminar Neumático.") : QStringLiteral("Error al editar Neumático."));
        QCOMPARE(Avisos_Prueba::Mostrados()[0].Texto, QStringLiteral("La base de datos de Neumáticos está vacía."));
    }
}

void TstRuedas::botonAceptar_data()
{
    QTest::addColumn<QString>("fecha");
    QTest::addColumn<QString>("km");
    QTest::addColumn<bool>("activo");

    QTest::newRow("nada") << "" << "" << false;
    QTest::newRow("sólo kilómetros") << "" << "42500" << false;
    QTest::newRow("fecha sin kilómetros") << "15032024" << "" << false;
    QTest::newRow("fecha a medias") << "15" << "42500" << true;
    QTest::newRow("completo") << "15032024" << "42500" << true;
}

// Brand and remarks may stay empty; a date and a reading may not.
void TstRuedas::botonAceptar()
{
    QFETCH(QString, fecha);
    QFETCH(QString, km);
    QFETCH(bool, activo);

    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdRuedas *e) {
        QVERIFY(!e->BtnAceptar->isEnabled());
        Escribir(e->DBEditMarcaRuedas, QStringLiteral("MICHELIN"));
        Escribir(e->DBEditKm, km);
        Escribir(e->DBEditFecha, fecha);
        QCOMPARE(e->BtnAceptar->isEnabled(), activo);
        e->BtnCancelar->click();
    }));
    QVERIFY(f.ruedas().isEmpty());
}

// The distance run follows the vehicle's reading as its own editor changes
// it, for every fitting, though the tyre table itself did not change.
void TstRuedas::lecturaDelVehiculo()
{
    Flota f;
    f.datos.addTyres(Placa, d("01/02/2024"), 42500);
    f.datos.addTyres(Placa, d("01/06/2024"), 48000);
    QVERIFY(f.abrir());
    QCOMPARE(f.columna("Km. Uso"), QStringList({"7.500", "2.000"}));
    f.cerrar();

    {
        TFormMatriculas vehiculos;
        vehiculos.show();
        QVERIFY(QTest::qWaitForWindowExposed(&vehiculos));
        QVERIFY(Usar_Editor<TFormEdMatricula>(vehiculos.BtnEditar, [](TFormEdMatricula *e) {
            Escribir(e->EditKilometros, QStringLiteral("61000"));
            e->BtnAceptar->click();
        }));
    }
    QVERIFY(f.abrir());
    QCOMPARE(f.columna("Km. Uso"), QStringList({"18.500", "13.000"}));
    QVERIFY(f.ventana->windowTitle().contains(QStringLiteral("Kmtros actuales: 61.000")));
}

// "Medida" is the sheet's tyre size, for every fitting: empty without a sheet,
// there as soon as one is added, gone when it is deleted.
void TstRuedas::medidaDeLaFicha()
{
    Flota f;
    f.datos.addTyres(Placa, d("01/02/2024"), 42500);
    f.datos.addTyres(Placa, d("01/06/2024"), 48000);
    QVERIFY(f.abrir());
    QCOMPARE(f.columna("Medida"), QStringList({"", ""}));
    f.cerrar();

    auto usarFicha = [&](bool anadir) {
        TFormFichaTec ficha;
        ficha.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ficha));
        if (!anadir)
            Avisos_Prueba::Programar_Respuesta(true);
        QVERIFY(Usar_Editor<TFormEdFichaTec>(anadir ? ficha.BtnAnadir : ficha.BtnEliminar, [&](TFormEdFichaTec *e) {
            if (anadir)
                Escribir(e->findChild<TDBEdit *>("DBEditNeumaticos"), QStringLiteral("205/55 r16"));
            e->BtnAceptar->click();
        }));
    };
    usarFicha(true);
    QVERIFY(f.abrir());
    QCOMPARE(f.columna("Medida"), QStringList({"205/55 R16", "205/55 R16"}));
    f.cerrar();

    usarFicha(false);
    QVERIFY(f.abrir());
    QCOMPARE(f.columna("Medida"), QStringList({"", ""}));
    QCOMPARE(f.ruedas().size(), 2); // deleting the sheet touches the sheet alone
}

// A move to another vehicle shows its fittings, caption and size at once.
void TstRuedas::cambioDeVehiculo()
{
    Flota f;
    f.datos.addVehicle(QStringLiteral("9999ZZZ"), f.marca, f.modelo, 10000);
    f.datos.addTyres(Placa, d("01/02/2024"), 42500, QStringLiteral("MICHELIN"));
    f.datos.addTyres(QStringLiteral("9999ZZZ"), d("01/02/2024"), 4000, QStringLiteral("PIRELLI"), QStringLiteral("Nota"));
    f.datos.addTyres(QStringLiteral("9999ZZZ"), d("01/03/2024"), 6000, QStringLiteral("FIRESTONE"));
    f.datos.addSheet(QStringLiteral("9999ZZZ"), {{QStringLiteral("NEUMATICOS"), QStringLiteral("195/65 R15")}});
    QVERIFY(f.abrir());
    QCOMPARE(f.columna("Marca"), QStringList{"MICHELIN"});

    f.ventana->DBNavigator->buttonNext()->click();
    QCOMPARE(f.ventana->windowTitle(),
             QStringLiteral("AAA BBB - Kmtros actuales: 10.000 - Neumáticos (2 registros)"));
    QCOMPARE(f.columna("Marca"), QStringList({"PIRELLI", "FIRESTONE"}));
    QCOMPARE(f.columna("Km. Uso"), QStringList({"6.000", "4.000"}));
    QCOMPARE(f.columna("Medida"), QStringList({"195/65 R15", "195/65 R15"}));
    QCOMPARE(f.ventana->DBMemoObservaci->toPlainText(), QStringLiteral("Nota"));

    QTest::keyClick(f.ventana->DBGridMatriculas, Qt::Key_Up);
    QCOMPARE(f.columna("Marca"), QStringList{"MICHELIN"});
    QCOMPARE(f.columna("Medida"), QStringList{""});
    QVERIFY(f.ventana->windowTitle().endsWith(QStringLiteral("(1 registro)")));
}

// With no vehicle there is nothing to add a fitting to: the add is refused
// and nothing is stored.
void TstRuedas::sinVehiculo()
{
    Flota f(0, false);
    QVERIFY(f.abrir());
    QVERIFY(!Abre_Editor(f.ventana->BtnAnadir));
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
    QCOMPARE(Avisos_Prueba::Mostrados()[0].Titulo, QStringLiteral("Error al añadir Neumático."));
    QCOMPARE(Avisos_Prueba::Mostrados()[0].Texto, Texto_Sin_Vehiculo());
    QVERIFY(f.ruedas().isEmpty());
}

// The brand holds 20 characters: a 21st typed is not taken, and a paste that
// would pass them is refused whole, with a notice, never cut.
void TstRuedas::textoQueNoCabe_data()
{
    QTest::addColumn<QString>("antes");
    QTest::addColumn<QString>("pegado");
    QTest::addColumn<bool>("cabe");

    QTest::newRow("pegado que cabe") << "MICHELIN" << QStringLiteral(" ÉNERGY SAV") << true;
    QTest::newRow("pegado de más") << "MICHELIN" << QStringLiteral(" PRIMACY 4 ÉNERGY") << false;
    QTest::newRow("pegado largo en vacío") << "" << QString(25, QLatin1Char('x')) << false;
}

void TstRuedas::textoQueNoCabe()
{
    QFETCH(QString, antes);
    QFETCH(QString, pegado);
    QFETCH(bool, cabe);

    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdRuedas *e) {
        Escribir(e->DBEditFecha, QStringLiteral("15032024"));
        Escribir(e->DBEditKm, QStringLiteral("42500"));
        Escribir(e->DBEditMarcaRuedas, antes);
        e->DBEditMarcaRuedas->end(false);
        Pegar(e->DBEditMarcaRuedas, pegado);
        QCoreApplication::processEvents();
        const QString esperado = cabe ? (antes + pegado).toUpper() : antes;
        QCOMPARE(e->DBEditMarcaRuedas->text(), esperado);
        QCOMPARE(Textos_Avisos(), cabe ? QStringList() : QStringList{Texto_No_Cabe(20)});
        e->BtnAceptar->click();
    }));
    const QString esperado = cabe ? (antes + pegado).toUpper() : antes;
    QCOMPARE(f.ruedas().value(0).value("MARCA").toString(), esperado);

    // Typed: the field stops at 20.
    Avisos_Prueba::Reiniciar();
    Avisos_Prueba::Sin_Ventanas(true);
    QVERIFY(f.usarEditor(f.ventana->BtnEditar, [&](TFormEdRuedas *e) {
        Escribir(e->DBEditMarcaRuedas, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
        QCOMPARE(e->DBEditMarcaRuedas->text(), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
        e->BtnAceptar->click();
    }));
    QCOMPARE(f.ruedas().value(0).value("MARCA").toString(), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    QVERIFY(Avisos_Prueba::Mostrados().isEmpty());
}

// A reading past what a kilometre field holds is refused as it is typed, with
// its notice; what was there stays.
void TstRuedas::kilometrosFueraDeRango()
{
    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdRuedas *e) {
        Escribir(e->DBEditFecha, QStringLiteral("15032024"));
        Escribir(e->DBEditKm, QStringLiteral("21474836479"));
        QCOMPARE(e->DBEditKm->text(), QStringLiteral("2147483647"));
        QTest::keyClicks(e->DBEditKm, QStringLiteral("km"));
        QCOMPARE(e->DBEditKm->text(), QStringLiteral("2147483647"));
        QCoreApplication::processEvents();
        QCOMPARE(Textos_Avisos(), QStringList{Texto_Kilometros_Fuera_De_Rango()});
        e->BtnAceptar->click();
    }));
    QCOMPARE(f.ruedas().value(0).value("KILOMETROS").toInt(), 2147483647);
    QCOMPARE(f.columna("Km. Uso"), QStringList{"-2.147.433.647"});
}

// Remarks of many kilobytes, pasted, are stored and shown whole.
void TstRuedas::observacionesLargas()
{
    Flota f;
    QVERIFY(f.abrir());
    QString notas;
    for (int i = 0; notas.size() < 200 * 1024; ++i)
        notas += QStringLiteral("Línea %1: presión 2,3 bar «delante», 'detrás' \"igual\".\n").arg(i);
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdRuedas *e) {
        Escribir(e->DBEditFecha, QStringLiteral("15032024"));
        Escribir(e->DBEditKm, QStringLiteral("42500"));
        Pegar(e->DBMemoObservaci, notas);
        e->BtnAceptar->click();
    }));
    QCOMPARE(f.ruedas().value(0).value("OBSERVACIONES").toString(), notas);
    QCOMPARE(f.ventana->DBMemoObservaci->toPlainText(), notas);
}

QTEST_MAIN(TstRuedas)
#include "tst_ruedas.moc"
