// Data-bound edit, memo, lookup combo and navigator: what typing does in each
// table state, capitals, masks and formats, the moment a field's own text
// handler sees the text, choosing a name, and following the table.
#include "Avisos.h"
#include "DBControles.h"
#include "DatosPrueba.h"
#include "Formatos.h"
#include "Table.h"
#include "Teclado.h"

#include <QClipboard>
#include <QScopeGuard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

// A window holding the control under test and a plain edit to move the focus to.
struct Ventana
{
    QWidget w;
    QLineEdit *otro = new QLineEdit(&w);

    void mostrar(QWidget *control)
    {
        control->setParent(&w);
        control->setGeometry(5, 5, 200, 60);
        otro->setGeometry(5, 80, 200, 24);
        w.resize(220, 120);
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
};

void seleccionarTodo(QWidget *w)
{
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
}

} // namespace

class TstDBControles : public QObject
{
    Q_OBJECT

private slots:
    void typingFollowsState_data();
    void typingFollowsState();
    void capitals_data();
    void capitals();
    void inputMasks_data();
    void inputMasks();
    void formatsAndKeys_data();
    void formatsAndKeys();
    void textHandlerSeesTextWhenLeaving_data();
    void textHandlerSeesTextWhenLeaving();
    void pasteThatDoesNotFit_data();
    void pasteThatDoesNotFit();
    void unreadableTextWaits_data();
    void unreadableTextWaits();
    void lookupChoice_data();
    void lookupChoice();
    void lookupListFollowsFilter();
    void navigatorStates_data();
    void navigatorStates();
    void controlsFollowTable_data();
    void controlsFollowTable();
};

void TstDBControles::typingFollowsState_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("estado");
    QTest::addColumn<bool>("autoEdit");
    QTest::addColumn<int>("estadoFinal");
    QTest::addColumn<QString>("pendiente"); // the field's value after typing
    QTest::addColumn<QString>("mostrado");  // the control's text after typing
    QTest::addColumn<QString>("trasCancelar");

    const int browse = int(TDataSetState::Browse), edit = int(TDataSetState::Edit), insert = int(TDataSetState::Insert);
    for (const char *c : {"edit", "memo"}) {
        const QString antes = QLatin1String(c) == QLatin1String("edit") ? QStringLiteral("1234ABC") : QStringLiteral("Motor");
        QTest::addRow("%s, consultando", c) << c << "browse" << false << browse << antes << antes << antes;
        QTest::addRow("%s, consultando con edicion automatica", c)
            << c << "browse" << true << edit << "XYZ" << "XYZ" << antes;
        QTest::addRow("%s, editando", c) << c << "edit" << false << edit << "XYZ" << "XYZ" << antes;
        QTest::addRow("%s, anadiendo", c) << c << "insert" << false << insert << "XYZ" << "XYZ" << antes;
    }
}

void TstDBControles::typingFollowsState()
{
    QFETCH(QString, control);
    QFETCH(QString, estado);
    QFETCH(bool, autoEdit);
    QFETCH(int, estadoFinal);
    QFETCH(QString, pendiente);
    QFETCH(QString, mostrado);
    QFETCH(QString, trasCancelar);

    Mesa m(QStringLiteral("Averias.DAT"));
    m.datos.addBreakdown(QStringLiteral("1234ABC"), QDate(2024, 5, 1), 1000, QStringLiteral("Motor"));
    m.tabla.open();
    m.ds.setAutoEdit(autoEdit);
    const bool esEdit = control == QLatin1String("edit");
    QWidget *w;
    if (esEdit) {
        auto *e = new TDBEdit;
        e->setDataSource(&m.ds);
        e->setDataField(QStringLiteral("MATRICULA"));
        w = e;
    } else {
        auto *e = new TDBMemo;
        e->setDataSource(&m.ds);
        e->setDataField(QStringLiteral("AVERIA"));
        w = e;
    }
    auto texto = [&] { return esEdit ? static_cast<TDBEdit *>(w)->text() : static_cast<TDBMemo *>(w)->toPlainText(); };
    TField *campo = m.tabla.fieldByName(esEdit ? QStringLiteral("MATRICULA") : QStringLiteral("AVERIA"));
    Ventana v;
    v.mostrar(w);
    if (estado == QLatin1String("edit"))
        m.tabla.edit();
    else if (estado == QLatin1String("insert"))
        m.tabla.append();
    QSignalSpy estados(&m.tabla, &TTable::stateChanged);

    w->setFocus();
    seleccionarTodo(w);
    Teclear(w, QStringLiteral("XYZ"));
    QCOMPARE(int(m.tabla.state()), estadoFinal);
    QCOMPARE(campo->asString(), pendiente);
    QCOMPARE(texto(), mostrado);
    if (estado == QLatin1String("browse") && !autoEdit)
        QCOMPARE(estados.count(), 0); // no control ever begins the edit by itself

    m.tabla.cancel();
    QCOMPARE(texto(), trasCancelar);
    QCOMPARE(campo->asString(), trasCancelar);
}

void TstDBControles::capitals_data()
{
    QTest::addColumn<QString>("tecleado");
    QTest::addColumn<bool>("pegado");
    QTest::addColumn<QString>("guardado");
    QTest::newRow("eñe y tilde") << "ñandú" << false << "ÑANDÚ";
    QTest::newRow("letras y blancos") << "seat ibiza" << false << "SEAT IBIZA";
    QTest::newRow("otros acentos") << "àüç" << false << "ÀÜÇ";
    // Their capitals could not be stored in the table's character set.
    QTest::newRow("sin mayuscula guardable") << "µß7" << false << "µß7";
    QTest::newRow("pegado") << "camión" << true << "CAMIÓN";
}

void TstDBControles::capitals()
{
    QFETCH(QString, tecleado);
    QFETCH(bool, pegado);
    QFETCH(QString, guardado);
    Mesa m(QStringLiteral("Marcas.DAT"));
    m.tabla.open();
    auto *e = new TDBEdit;
    e->setDataSource(&m.ds);
    e->setDataField(QStringLiteral("MARCA"));
    e->setUpperCase(true);
    Ventana v;
    v.mostrar(e);
    m.tabla.append();
    e->setFocus();
    if (pegado) {
        QGuiApplication::clipboard()->setText(tecleado);
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    } else {
        Teclear(e, tecleado);
    }
    QCOMPARE(e->text(), guardado);
    v.otro->setFocus();
    m.tabla.post();
    QCOMPARE(m.tabla.fieldByName(QStringLiteral("MARCA"))->asString(), guardado);
}

void TstDBControles::inputMasks_data()
{
    QTest::addColumn<QString>("mascara");
    QTest::addColumn<QString>("qt");
    QTest::newRow("fecha") << "!99/99/9999;1;_" << "00/00/0000; ";
    QTest::newRow("letras y cifras obligatorias") << ">LL-00;0;_" << ">AA-99; ";
    QTest::newRow("cualquier caracter y literal") << "\\A\\9ccC;1; " << "\\A\\9xxX; ";
    QTest::newRow("caja normal") << "<>aA;1;_" << "!nN; ";
    QTest::newRow("ya en forma de Qt") << "99/99/9999; " << "99/99/9999; ";
    QTest::newRow("sin mascara") << "" << "";
}

void TstDBControles::inputMasks()
{
    QFETCH(QString, mascara);
    QFETCH(QString, qt);
    QCOMPARE(qtInputMask(mascara), qt);
}

void TstDBControles::formatsAndKeys_data()
{
    QTest::addColumn<QString>("tabla");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("formato");
    QTest::addColumn<QString>("visto");     // without the focus
    QTest::addColumn<QString>("tecleado");  // after selecting everything
    QTest::addColumn<QVariant>("guardado");
    QTest::addColumn<QString>("vistoAlSalir");
    QTest::addColumn<bool>("derecha");

    QTest::newRow("kilometros con formato") << "Mantenimiento.DAT" << "KILOMETROS" << "###.###,##" << "123.456"
                                            << "98765" << QVariant(98765) << "98.765" << true;
    QTest::newRow("kilometros sin formato") << "Mantenimiento.DAT" << "KILOMETROS" << "" << "123456" << "1.500"
                                            << QVariant(1500) << "1500" << true;
    QTest::newRow("letras en un numero") << "Mantenimiento.DAT" << "KILOMETROS" << "" << "123456" << "12a3"
                                         << QVariant(123) << "123" << true;
    QTest::newRow("importe") << "Averias.DAT" << "IMPORTE" << "###.###.###,##" << "1.234,5" << "2.500,75"
                             << QVariant(2500.75) << "2.500,75" << true;
    QTest::newRow("fecha") << "Mantenimiento.DAT" << "FECHA" << "" << "07/03/2001" << "8/3/2001"
                           << QVariant(QDate(2001, 3, 8)) << "08/03/2001" << false;
    QTest::newRow("matricula, no mas larga que su campo")
        << "Mantenimiento.DAT" << "MATRICULA" << "" << "1234ABC" << "ABCDEFGHIJKLMNOP" << QVariant("ABCDEFGHIJKL")
        << "ABCDEFGHIJKL" << false;
}

void TstDBControles::formatsAndKeys()
{
    QFETCH(QString, tabla);
    QFETCH(QString, campo);
    QFETCH(QString, formato);
    QFETCH(QString, visto);
    QFETCH(QString, tecleado);
    QFETCH(QVariant, guardado);
    QFETCH(QString, vistoAlSalir);
    QFETCH(bool, derecha);

    Mesa m(tabla);
    if (tabla == QLatin1String("Averias.DAT"))
        m.datos.addBreakdown(QStringLiteral("1234ABC"), QDate(2001, 3, 7), 123456, QString(), QDate(), QString(), 1234.5);
    else
        m.datos.addMaintenance(QStringLiteral("1234ABC"), QDate(2001, 3, 7), 123456);
    m.tabla.open();
    TField *f = m.tabla.fieldByName(campo);
    f->setDisplayFormat(formato);
    auto *e = new TDBEdit;
    e->setDataSource(&m.ds);
    e->setDataField(campo);
    Ventana v;
    v.mostrar(e);
    QCOMPARE(e->text(), visto);
    QCOMPARE(bool(e->alignment() & Qt::AlignRight), derecha);

    m.tabla.edit();
    e->setFocus();
    seleccionarTodo(e);
    Teclear(e, tecleado);
    v.otro->setFocus();
    QCOMPARE(f->value(), guardado);
    QCOMPARE(e->text(), vistoAlSalir);
    m.tabla.post();
    QCOMPARE(f->value(), guardado);
}

// A paste that would pass the field's size is refused whole, with a notice:
// the field keeps what it showed, and no character is cut away unseen.
void TstDBControles::pasteThatDoesNotFit_data()
{
    QTest::addColumn<QString>("antes");
    QTest::addColumn<bool>("seleccionado");
    QTest::addColumn<QString>("pegado");
    QTest::addColumn<QString>("despues");
    QTest::addColumn<bool>("aviso");
    QTest::newRow("cabe justo") << "1234" << false << "ABCDEFGH" << "1234ABCDEFGH" << false;
    QTest::newRow("uno de mas") << "1234" << false << "ABCDEFGHI" << "1234" << true;
    QTest::newRow("sobre la seleccion") << "OLD" << true << "ABCDEFGHIJKL" << "ABCDEFGHIJKL" << false;
    QTest::newRow("largo sobre la seleccion") << "OLD" << true << "ABCDEFGHIJKLM" << "OLD" << true;
}

void TstDBControles::pasteThatDoesNotFit()
{
    QFETCH(QString, antes);
    QFETCH(bool, seleccionado);
    QFETCH(QString, pegado);
    QFETCH(QString, despues);
    QFETCH(bool, aviso);
    Avisos_Prueba::Reiniciar();
    Avisos_Prueba::Sin_Ventanas(true);
    Mesa m(QStringLiteral("Mantenimiento.DAT")); // MATRICULA holds 12 characters
    m.tabla.open();
    auto *e = new TDBEdit;
    e->setDataSource(&m.ds);
    e->setDataField(QStringLiteral("MATRICULA"));
    Ventana v;
    v.mostrar(e);
    m.tabla.append();
    e->setFocus();
    Teclear(e, antes);
    if (seleccionado)
        seleccionarTodo(e);
    QGuiApplication::clipboard()->setText(pegado);
    QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QCOMPARE(e->text(), despues);
    QCOMPARE(Avisos_Prueba::Mostrados().size(), aviso ? 1 : 0);
    if (aviso)
        QCOMPARE(Avisos_Prueba::Mostrados()[0].Texto, Texto_No_Cabe(12));
    v.otro->setFocus();
    QCOMPARE(m.tabla.fieldByName(QStringLiteral("MATRICULA"))->asString(), despues);
    Avisos_Prueba::Reiniciar();
}

// A text the field cannot take (a number that is not one, a memo its handler
// refuses by raising) stays on show, waiting, when the focus leaves or Enter is
// pressed, and Enter goes on to the window (whose OK tells the user); taking it
// into the record raises, and the mended text is taken.
void TstDBControles::unreadableTextWaits_data()
{
    QTest::addColumn<bool>("memo");
    QTest::addColumn<bool>("intro");
    QTest::newRow("número, al dejar el campo") << false << false;
    QTest::newRow("número, con Intro") << false << true;
    QTest::newRow("memo, al dejar el campo") << true << false;
}

void TstDBControles::unreadableTextWaits()
{
    QFETCH(bool, memo);
    QFETCH(bool, intro);
    Avisos_Prueba::Reiniciar();
    Avisos_Prueba::Sin_Ventanas(true);
    const auto limpiar = qScopeGuard([] { Avisos_Prueba::Reiniciar(); });
    Mesa m(QStringLiteral("Averias.DAT"));
    m.datos.addBreakdown(QStringLiteral("1234ABC"), QDate(2001, 3, 7), 1000, QString(), QDate(), QString(), 80);
    m.tabla.open();
    Ventana v;
    TDBEdit *e = nullptr;
    TDBMemo *t = nullptr;
    if (memo) {
        m.tabla.fieldByName(QStringLiteral("AVERIA"))->setOnSetText([](TField &f, const QString &texto) {
            if (texto.contains(QLatin1Char('#')))
                throw EDBEngineError(EngineCode::InvalidUse, QStringLiteral("Texto no válido"));
            f.setAsString(texto);
        });
        t = new TDBMemo;
        t->setDataSource(&m.ds);
        t->setDataField(QStringLiteral("AVERIA"));
        v.mostrar(t);
    } else {
        e = new TDBEdit;
        e->setDataSource(&m.ds);
        e->setDataField(QStringLiteral("IMPORTE"));
        v.mostrar(e);
    }
    QWidget *control = memo ? static_cast<QWidget *>(t) : e;
    m.tabla.edit();
    control->setFocus();
    seleccionarTodo(control);
    Teclear(control, memo ? QStringLiteral("12#") : QStringLiteral("12."));
    if (intro) {
        QSignalSpy intros(e, &QLineEdit::returnPressed);
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(intros.size(), 1);
        QVERIFY(e->hasFocus());
    } else {
        v.otro->setFocus();
        QVERIFY(v.otro->hasFocus());
    }
    QCOMPARE(memo ? t->toPlainText() : e->text(), memo ? QStringLiteral("12#") : QStringLiteral("12."));
    QVERIFY(memo ? t->modified() : e->modified());
    QVERIFY(Avisos_Prueba::Mostrados().isEmpty());
    if (memo) {
        QVERIFY_THROWS_EXCEPTION(EDBEngineError, t->updateRecord());
        t->setFocus();
        QTest::keyClick(t, Qt::Key_Backspace);
        t->updateRecord();
        QCOMPARE(m.tabla.fieldByName(QStringLiteral("AVERIA"))->asString(), QStringLiteral("12"));
    } else {
        QVERIFY_THROWS_EXCEPTION(EDBEngineError, e->updateRecord());
        e->setFocus();
        Teclear(e, QStringLiteral("500"));
        e->updateRecord();
        QCOMPARE(m.tabla.fieldByName(QStringLiteral("IMPORTE"))->asFloat(), 12500.0);
    }
}

void TstDBControles::textHandlerSeesTextWhenLeaving_data()
{
    QTest::addColumn<QString>("tecleado"); // after selecting everything; empty: Delete
    QTest::addColumn<QString>("recibido");  // what the handler was given
    QTest::addColumn<QDate>("guardado");
    QTest::addColumn<QString>("mostrado");
    QTest::addColumn<bool>("esperando");    // the text still waits for the field
    QTest::newRow("fecha correcta") << "15032024" << "15/03/2024" << QDate(2024, 3, 15) << "15/03/2024" << false;
    QTest::newRow("fecha a medias") << "1503" << "15/03/    " << QDate(2020, 1, 1) << "15/03/    " << true;
    QTest::newRow("fecha imposible") << "31022024" << "31/02/2024" << QDate(2020, 1, 1) << "31/02/2024" << true;
    QTest::newRow("en blanco") << "" << "  /  /    " << QDate() << "  /  /    " << false;
}

void TstDBControles::textHandlerSeesTextWhenLeaving()
{
    QFETCH(QString, tecleado);
    QFETCH(QString, recibido);
    QFETCH(QDate, guardado);
    QFETCH(QString, mostrado);
    QFETCH(bool, esperando);

    Mesa m(QStringLiteral("Mantenimiento.DAT"));
    m.datos.addMaintenance(QStringLiteral("1234ABC"), QDate(2020, 1, 1), 1000);
    m.tabla.open();
    TField *fecha = m.tabla.fieldByName(QStringLiteral("FECHA"));
    fecha->setEditMask(QStringLiteral("!99/99/9999;1;_"));
    // A handler in the manner of the date check: a wrong date keeps the former value.
    QStringList textos;
    fecha->setOnSetText([&](TField &f, const QString &t) {
        textos << t;
        if (t.trimmed() == QLatin1String("/  /")) {
            f.clear();
            return;
        }
        const QDate d = Formatos::Leer_Fecha(t);
        if (d.isValid())
            f.setAsDate(d);
    });
    auto *e = new TDBEdit;
    e->setDataSource(&m.ds);
    e->setDataField(QStringLiteral("FECHA"));
    Ventana v;
    v.mostrar(e);
    // An exit handler watching the focus, as the highlighting does: it must find
    // the text already handed to the field.
    QDate alSalir(1, 1, 1);
    struct Vigia : QObject
    {
        std::function<void()> f;
        bool eventFilter(QObject *, QEvent *ev) override
        {
            if (ev->type() == QEvent::FocusOut)
                f();
            return false;
        }
    } vigia;
    vigia.f = [&] { alSalir = fecha->asDate(); };
    e->installEventFilter(&vigia);

    m.tabla.edit();
    e->setFocus();
    seleccionarTodo(e);
    if (tecleado.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    else
        Teclear(e, tecleado);
    QVERIFY(textos.isEmpty()); // nothing is checked while the user types
    v.otro->setFocus();
    QCOMPARE(textos, QStringList{recibido});
    QCOMPARE(fecha->asDate(), guardado);
    QCOMPARE(alSalir, guardado);
    QCOMPARE(e->shownText(), mostrado);
    QCOMPARE(e->modified(), esperando);

    // Before a post the editors hand every waiting text over once more.
    Grabar_Controles(&v.w);
    QCOMPARE(textos.size(), esperando ? 2 : 1);
}

namespace {
// The vehicles with the brand name looked up in the brands table.
struct Vehiculos
{
    DatosPrueba datos;
    TDatabase db;
    TTable marcas, vehiculos;
    TDataSource ds{&vehiculos};
    int seat = 0, fiat = 0, opel = 0;

    Vehiculos()
    {
        db.setDirectory(datos.carpeta());
        seat = datos.addBrand(QStringLiteral("SEAT"));
        fiat = datos.addBrand(QStringLiteral("FIAT"));
        opel = datos.addBrand(QStringLiteral("OPEL"));
        datos.addVehicle(QStringLiteral("1234ABC"), fiat, 0, 1000);
        marcas.setDatabase(&db);
        marcas.setTableName(QStringLiteral("Marcas.DAT"));
        vehiculos.setDatabase(&db);
        vehiculos.setTableName(QStringLiteral("Matriculas.DAT"));
        for (const char *n : {"MATRICULA", "MARCA", "MODELO", "MARCA_S", "MODELO_S", "KILOMETROS"})
            vehiculos.addField(QLatin1String(n));
        vehiculos.addLookupField(QStringLiteral("sMarca"), 20, QStringLiteral("MARCA"), &marcas,
                                 QStringLiteral("ORDENMARCA"), QStringLiteral("MARCA"));
        ds.setAutoEdit(false);
        marcas.open();
        vehiculos.open();
    }
};
} // namespace

void TstDBControles::lookupChoice_data()
{
    QTest::addColumn<QString>("estado");
    QTest::addColumn<bool>("autoEdit");
    QTest::addColumn<QString>("marca"); // the brand whose number MARCA holds afterwards
    QTest::addColumn<int>("elecciones");
    QTest::newRow("consultando") << "browse" << false << "FIAT" << 0;
    QTest::newRow("consultando con edicion automatica") << "browse" << true << "OPEL" << 1;
    QTest::newRow("editando") << "edit" << false << "OPEL" << 1;
}

void TstDBControles::lookupChoice()
{
    QFETCH(QString, estado);
    QFETCH(bool, autoEdit);
    QFETCH(QString, marca);
    QFETCH(int, elecciones);
    Vehiculos b;
    b.ds.setAutoEdit(autoEdit);
    auto *c = new TDBLookupComboBox;
    c->setDataSource(&b.ds);
    c->setDataField(QStringLiteral("sMarca"));
    Ventana v;
    v.mostrar(c);
    QCOMPARE(c->count(), 3);
    QCOMPARE(c->itemText(0), QStringLiteral("SEAT"));
    QCOMPARE(c->shownText(), QStringLiteral("FIAT"));
    if (estado == QLatin1String("edit"))
        b.vehiculos.edit();
    QSignalSpy elegidas(c, &TDBLookupComboBox::choiceMade);

    c->setFocus();
    QTest::keyClick(c, Qt::Key_Down); // the next name in the list
    const int esperada = marca == QLatin1String("OPEL") ? b.opel : b.fiat;
    QCOMPARE(b.vehiculos.fieldByName(QStringLiteral("MARCA"))->asInteger(), esperada);
    QCOMPARE(c->shownText(), marca);
    QCOMPARE(elegidas.count(), elecciones);
    if (elecciones == 0)
        QCOMPARE(b.vehiculos.state(), TDataSetState::Browse);
    b.vehiculos.cancel();
    QCOMPARE(c->shownText(), QStringLiteral("FIAT"));
}

void TstDBControles::lookupListFollowsFilter()
{
    Vehiculos b;
    auto *c = new TDBLookupComboBox;
    c->setDataSource(&b.ds);
    c->setDataField(QStringLiteral("sMarca"));
    Ventana v;
    v.mostrar(c);
    b.marcas.setFilter(QStringLiteral("Marca = 'SEAT'"));
    b.marcas.setFiltered(true);
    QCOMPARE(c->count(), 1);
    QCOMPARE(c->itemText(0), QStringLiteral("SEAT"));
    // The vehicle's brand is not in the list now; the control still shows what
    // the lookup field holds.
    QCOMPARE(c->shownText(), b.vehiculos.fieldByName(QStringLiteral("sMarca"))->asString());
    b.vehiculos.edit();
    c->setCurrentIndex(-1);
    QTest::keyClick(c, Qt::Key_Down);
    QCOMPARE(b.vehiculos.fieldByName(QStringLiteral("MARCA"))->asInteger(), b.seat);
    QCOMPARE(c->shownText(), QStringLiteral("SEAT"));
    b.marcas.setFiltered(false);
    QCOMPARE(c->count(), 3);
    QCOMPARE(c->shownText(), QStringLiteral("SEAT"));
    b.vehiculos.cancel();
    b.marcas.close();
    QCOMPARE(c->count(), 0);
}

void TstDBControles::navigatorStates_data()
{
    QTest::addColumn<int>("registros");
    QTest::addColumn<QString>("posicion");
    QTest::addColumn<QString>("activos"); // first, prior, next, last: 1 enabled
    QTest::newRow("tabla vacia") << 0 << "" << "0000";
    QTest::newRow("un registro") << 1 << "" << "0000";
    QTest::newRow("al principio") << 3 << "" << "0011";
    QTest::newRow("en medio") << 3 << "next" << "1111";
    QTest::newRow("al final") << 3 << "last" << "1100";
    QTest::newRow("pasado el final") << 3 << "last,next" << "1100";
    QTest::newRow("tabla cerrada") << 3 << "close" << "0000";
    QTest::newRow("boton siguiente") << 3 << "nbNext" << "1111";
    QTest::newRow("boton ultimo") << 3 << "nbLast" << "1100";
    QTest::newRow("boton primero") << 3 << "last,nbFirst" << "0011";
    QTest::newRow("boton anterior") << 3 << "last,nbPrior" << "1111";
}

void TstDBControles::navigatorStates()
{
    QFETCH(int, registros);
    QFETCH(QString, posicion);
    QFETCH(QString, activos);
    Mesa m(QStringLiteral("Marcas.DAT"));
    for (int i = 0; i < registros; ++i)
        m.datos.addBrand(QStringLiteral("M%1").arg(i));
    m.tabla.open();
    TDBNavigator nav;
    nav.setDataSource(&m.ds);
    QSignalSpy movidas(&nav, &TDBNavigator::moved);
    int clics = 0;
    for (const QString &paso : posicion.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (paso == QLatin1String("next"))
            m.tabla.next();
        else if (paso == QLatin1String("last"))
            m.tabla.last();
        else if (paso == QLatin1String("close"))
            m.tabla.close();
        else {
            auto *b = nav.findChild<QToolButton *>(paso);
            QVERIFY(b);
            b->click();
            ++clics;
        }
    }
    QString visto;
    for (QToolButton *b : {nav.buttonFirst(), nav.buttonPrior(), nav.buttonNext(), nav.buttonLast()})
        visto += b->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    QCOMPARE(visto, activos);
    QCOMPARE(movidas.count(), clics);
}

void TstDBControles::controlsFollowTable_data()
{
    QTest::addColumn<QString>("suceso");
    QTest::addColumn<QString>("km");
    QTest::addColumn<QString>("averia");
    QTest::newRow("siguiente") << "next" << "2000" << "Frenos";
    QTest::newRow("cerrada") << "close" << "" << "";
    QTest::newRow("cerrada y abierta") << "close,open" << "1000" << "Motor";
    QTest::newRow("leida de nuevo") << "external,refresh" << "1500" << "Motor";
    QTest::newRow("escrita por el programa") << "edit,write" << "3000" << "Motor";
    QTest::newRow("filtrada") << "filter" << "2000" << "Frenos";
}

void TstDBControles::controlsFollowTable()
{
    QFETCH(QString, suceso);
    QFETCH(QString, km);
    QFETCH(QString, averia);
    Mesa m(QStringLiteral("Averias.DAT"));
    m.datos.addBreakdown(QStringLiteral("1234ABC"), QDate(2024, 5, 1), 1000, QStringLiteral("Motor"));
    m.datos.addBreakdown(QStringLiteral("1234ABC"), QDate(2024, 6, 1), 2000, QStringLiteral("Frenos"));
    m.tabla.open();
    TDBEdit edit;
    edit.setDataSource(&m.ds);
    edit.setDataField(QStringLiteral("KILOMETROS"));
    TDBMemo memo;
    memo.setDataSource(&m.ds);
    memo.setDataField(QStringLiteral("AVERIA"));
    QCOMPARE(edit.text(), QStringLiteral("1000"));
    QCOMPARE(memo.toPlainText(), QStringLiteral("Motor"));
    for (const QString &paso : suceso.split(QLatin1Char(','))) {
        if (paso == QLatin1String("next"))
            m.tabla.next();
        else if (paso == QLatin1String("close"))
            m.tabla.close();
        else if (paso == QLatin1String("open"))
            m.tabla.open();
        else if (paso == QLatin1String("refresh"))
            m.tabla.refresh();
        else if (paso == QLatin1String("edit"))
            m.tabla.edit();
        else if (paso == QLatin1String("write"))
            m.tabla.fieldByName(QStringLiteral("KILOMETROS"))->setAsInteger(3000);
        else if (paso == QLatin1String("filter")) {
            m.tabla.setFilter(QStringLiteral("Kilometros = 2000"));
            m.tabla.setFiltered(true);
        } else if (paso == QLatin1String("external")) {
            // The same record changed through another table object.
            TTable otra;
            otra.setDatabase(&m.db);
            otra.setTableName(QStringLiteral("Averias.DAT"));
            otra.open();
            QVERIFY(otra.locate(QStringLiteral("KILOMETROS"), 1000));
            otra.edit();
            otra.fieldByName(QStringLiteral("KILOMETROS"))->setAsInteger(1500);
            otra.post();
        }
    }
    QCOMPARE(edit.text(), km);
    QCOMPARE(memo.toPlainText(), averia);
    QCOMPARE(edit.dbField() == nullptr, !m.tabla.active());
}

QTEST_MAIN(TstDBControles)
#include "tst_dbcontroles.moc"
