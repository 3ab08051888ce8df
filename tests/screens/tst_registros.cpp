// Brands, models and vehicles through their real windows: captions and notices,
// the editor's modes and their failures, the brand and model lists opened over
// a vehicle editor, the model list narrowed to the chosen brand, capitals,
// typing limits and the deletion of a vehicle with everything recorded for it.
#include "Avisos.h"
#include "DBControles.h"
#include "DBGrid.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "DialogosPrueba.h"
#include "EdMarcas.h"
#include "EdMatricula.h"
#include "EdModelos.h"
#include "Marcas.h"
#include "Matriculas.h"
#include "Modelos.h"
#include "Table.h"
#include "Teclado.h"

#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

template <class T>
T *hijo(QWidget *ventana, const char *nombre)
{
    T *w = ventana ? ventana->findChild<T *>(QString::fromLatin1(nombre)) : nullptr;
    if (!w)
        qWarning("Falta el control %s", nombre);
    return w;
}

void pulsar(QWidget *ventana, const char *boton)
{
    if (auto *b = hijo<QAbstractButton>(ventana, boton))
        b->click();
}

// Chooses `nombre` in a lookup list as the user does; false when it is not offered.
bool elegir(QWidget *ventana, const char *lista, const QString &nombre)
{
    auto *c = hijo<TDBLookupComboBox>(ventana, lista);
    const int i = c ? c->findText(nombre) : -1;
    if (i < 0)
        return false;
    c->setCurrentIndex(i);
    emit c->activated(i);
    return true;
}

QStringList ofrecidos(QWidget *ventana, const char *lista)
{
    QStringList r;
    if (auto *c = hijo<TDBLookupComboBox>(ventana, lista))
        for (int i = 0; i < c->count(); ++i)
            r << c->itemText(i);
    return r;
}

// What the file holds, read through a table object of its own: one text per
// record, the given fields joined by "|".
QStringList leer(const QString &carpeta, const QString &tabla, const QStringList &campos)
{
    TDatabase db(QStringLiteral("Lectura"));
    db.setDirectory(carpeta);
    TTable t;
    t.setDatabase(&db);
    t.setTableName(tabla);
    t.open();
    QStringList r;
    for (t.first(); !t.eof(); t.next()) {
        QStringList v;
        for (const QString &c : campos)
            v << t.fieldByName(c)->asString();
        r << v.join(QLatin1Char('|'));
    }
    return r;
}

int contar(const QString &carpeta, const QString &tabla)
{
    return int(leer(carpeta, tabla, {}).size());
}

QStringList textosAvisos()
{
    QStringList r;
    for (const TAvisoMostrado &a : Avisos_Prueba::Mostrados())
        r << a.Titulo + QStringLiteral(": ") + a.Texto;
    return r;
}

enum class Clase { Vehiculos, Marcas, Modelos };

std::unique_ptr<TFormListaBase> crearLista(Clase c)
{
    switch (c) {
    case Clase::Vehiculos: return std::make_unique<TFormMatriculas>();
    case Clase::Marcas: return std::make_unique<TFormMarcas>();
    case Clase::Modelos: return std::make_unique<TFormModelos>();
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Clase)

class TstRegistros : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void captionCounts_data();
    void captionCounts();
    void emptyTableNotice_data();
    void emptyTableNotice();
    void editorOpensInItsMode_data();
    void editorOpensInItsMode();
    void deleteAnsweredNoKeepsDialog();
    void escapeWhileAddingDropsRecord_data();
    void escapeWhileAddingDropsRecord();
    void failedPostReportedAndDiscarded();
    void failedPreparationShownThenClosed();

    void capitals_data();
    void capitals();
    void modelJoinsCurrentVehicleBrand_data();
    void modelJoinsCurrentVehicleBrand();
    void deletedBrandLeavesEmptyName();

    void catalogueListsInsideVehicleEditor_data();
    void catalogueListsInsideVehicleEditor();
    void modelListFollowsBrand();
    void anotherBrandClearsModel_data();
    void anotherBrandClearsModel();
    void savedNamesAreTheChosenOnes();
    void vehicleDeletionTakesItsRecords_data();
    void vehicleDeletionTakesItsRecords();
    void plateLengthLimited();
    void kilometresDigitsAndRange_data();
    void kilometresDigitsAndRange();

private:
    void abrirModulo();
    QString carpeta() const { return m_datos->carpeta(); }
    // Shows a list window as the main window would, without blocking the test.
    TFormListaBase *mostrarLista(Clase c);

    std::unique_ptr<DatosPrueba> m_datos;
    std::unique_ptr<TModuloDatos> m_modulo;
    std::unique_ptr<TFormListaBase> m_lista;
};

void TstRegistros::init()
{
    m_datos = std::make_unique<DatosPrueba>();
    QVERIFY(m_datos->isValid());
    Avisos_Prueba::Reiniciar();
    Avisos_Prueba::Sin_Ventanas(true); // unscripted questions get their default, " &No"
    Avisos_Prueba::Fijar_Pitido([](TTipoAviso) {});
}

void TstRegistros::cleanup()
{
    DialogosPrueba::cerrarModales();
    m_lista.reset();
    m_modulo.reset();
    m_datos.reset();
    Avisos_Prueba::Reiniciar();
}

void TstRegistros::abrirModulo()
{
    m_modulo = std::make_unique<TModuloDatos>(carpeta());
    QVERIFY(ModuloDatos && ModuloDatos->TableMatriculas->active());
}

TFormListaBase *TstRegistros::mostrarLista(Clase c)
{
    m_lista = crearLista(c);
    m_lista->show();
    if (!QTest::qWaitForWindowExposed(m_lista.get()))
        return nullptr;
    return m_lista.get();
}

// ---------------------------------------------------------------- the pattern

void TstRegistros::captionCounts_data()
{
    QTest::addColumn<Clase>("clase");
    QTest::addColumn<int>("registros");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<int>("ayuda"); // the topic the help key opens; 0: none
    QTest::addColumn<int>("pantalla"); // Pantalla_Activa after showing, from Pantalla_Averias
    const int a = Pantalla_Averias, n = Pantalla_Ninguna;
    QTest::newRow("sin marcas") << Clase::Marcas << 0 << "Marcas (0 registros)" << 0 << a;
    QTest::newRow("una marca") << Clase::Marcas << 1 << "Marcas (1 registro)" << 0 << a;
    QTest::newRow("dos marcas") << Clase::Marcas << 2 << "Marcas (2 registros)" << 0 << a;
    QTest::newRow("un modelo") << Clase::Modelos << 1 << "Modelos (1 registro)" << 0 << a;
    QTest::newRow("dos modelos") << Clase::Modelos << 2 << "Modelos (2 registros)" << 0 << a;
    QTest::newRow("sin vehículos") << Clase::Vehiculos << 0 << "Vehículos (0 registros)" << 410 << n;
    QTest::newRow("un vehículo") << Clase::Vehiculos << 1 << "Vehículos (1 registro)" << 410 << n;
    QTest::newRow("doce vehículos") << Clase::Vehiculos << 12 << "Vehículos (12 registros)" << 410 << n;
}

void TstRegistros::captionCounts()
{
    QFETCH(Clase, clase);
    QFETCH(int, registros);
    QFETCH(QString, titulo);
    QFETCH(int, ayuda);
    QFETCH(int, pantalla);
    const int marca = clase == Clase::Marcas ? 0 : m_datos->addBrand(QStringLiteral("SEAT"));
    const int modelo = clase == Clase::Vehiculos ? m_datos->addModel(QStringLiteral("IBIZA"), marca) : 0;
    for (int i = 0; i < registros; ++i) {
        if (clase == Clase::Marcas)
            m_datos->addBrand(QStringLiteral("MARCA %1").arg(i));
        if (clase == Clase::Modelos)
            m_datos->addModel(QStringLiteral("MODELO %1").arg(i), marca);
        if (clase == Clase::Vehiculos)
            m_datos->addVehicle(QStringLiteral("%1ABC").arg(1000 + i), marca, modelo, 1000 * i);
    }
    abrirModulo();
    ModuloDatos->Pantalla_Activa = Pantalla_Averias;
    QVERIFY(mostrarLista(clase));
    QCOMPARE(m_lista->windowTitle(), titulo);
    QCOMPARE(m_lista->property("HelpContext").toInt(), ayuda);
    QCOMPARE(int(ModuloDatos->Pantalla_Activa), pantalla);
}

void TstRegistros::emptyTableNotice_data()
{
    QTest::addColumn<Clase>("clase");
    QTest::addColumn<QString>("boton");
    QTest::addColumn<QString>("aviso");
    QTest::newRow("editar vehículo") << Clase::Vehiculos << "BtnEditar"
                                     << "Error al editar Vehículo.: La base de datos de Vehículos está vacía.";
    QTest::newRow("eliminar vehículo") << Clase::Vehiculos << "BtnEliminar"
                                       << "Error al eliminar Vehículo.: La base de datos de Vehículos está vacía.";
    QTest::newRow("editar marca") << Clase::Marcas << "BtnEditar"
                                  << "Error al editar Marca.: La base de datos de Marcas está vacía.";
    QTest::newRow("eliminar modelo") << Clase::Modelos << "BtnEliminar"
                                     << "Error al eliminar Modelo.: La base de datos de Modelos está vacía.";
}

// No editor opens; the caption is rebuilt all the same.
void TstRegistros::emptyTableNotice()
{
    QFETCH(Clase, clase);
    QFETCH(QString, boton);
    QFETCH(QString, aviso);
    abrirModulo();
    QVERIFY(mostrarLista(clase));
    const QString titulo = m_lista->windowTitle();
    m_lista->setWindowTitle(QString());
    pulsar(m_lista.get(), boton.toLatin1().constData());
    QCOMPARE(textosAvisos(), QStringList{aviso});
    QCOMPARE(Avisos_Prueba::Mostrados().first().Tipo, avError);
    QCOMPARE(m_lista->windowTitle(), titulo);
    QVERIFY(titulo.endsWith(QStringLiteral("(0 registros)")));
}

void TstRegistros::editorOpensInItsMode_data()
{
    QTest::addColumn<Clase>("clase");
    QTest::addColumn<QString>("boton");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<bool>("aceptar");
    QTest::addColumn<QString>("foco");
    QTest::addColumn<int>("ayuda");
    QTest::newRow("añadir marca") << Clase::Marcas << "BtnAnadir" << "Añadir Marca" << false << "EditMarca" << 0;
    QTest::newRow("editar marca") << Clase::Marcas << "BtnEditar" << "Editar Marca" << true << "EditMarca" << 0;
    QTest::newRow("eliminar marca") << Clase::Marcas << "BtnEliminar" << "Eliminar Marca" << true << "BtnCancelar"
                                    << 0;
    QTest::newRow("añadir modelo") << Clase::Modelos << "BtnAnadir" << "Añadir Modelo" << false << "EditModelo" << 0;
    QTest::newRow("editar modelo") << Clase::Modelos << "BtnEditar" << "Editar Modelo" << true << "EditModelo" << 0;
    QTest::newRow("añadir vehículo") << Clase::Vehiculos << "BtnAnadir" << "Añadir Matricula" << false
                                     << "EditMatricula" << 420;
    QTest::newRow("editar vehículo") << Clase::Vehiculos << "BtnEditar" << "Editar Matricula" << true
                                     << "EditMatricula" << 420;
    QTest::newRow("eliminar vehículo") << Clase::Vehiculos << "BtnEliminar" << "Eliminar Matricula" << true
                                       << "BtnCancelar" << 420;
}

// The caption, BtnAceptar and the focus right after the editor opens, and the
// data panel greyed only when deleting.
void TstRegistros::editorOpensInItsMode()
{
    QFETCH(Clase, clase);
    QFETCH(QString, boton);
    QFETCH(QString, titulo);
    QFETCH(bool, aceptar);
    QFETCH(QString, foco);
    QFETCH(int, ayuda);
    const int marca = m_datos->addBrand(QStringLiteral("SEAT"));
    m_datos->addVehicle(QStringLiteral("1234ABC"), marca, m_datos->addModel(QStringLiteral("IBIZA"), marca), 100);
    abrirModulo();
    QVERIFY(mostrarLista(clase));

    QString visto;
    bool activo = !aceptar, datos = false;
    QString enfocado;
    int tema = -1;
    DialogosPrueba d;
    d.alAparecer(QString(), [&](QWidget *w) {
        visto = w->windowTitle();
        tema = w->property("HelpContext").toInt();
        activo = hijo<QPushButton>(w, "BtnAceptar")->isEnabled();
        datos = hijo<QWidget>(w, "PnlDatos")->isEnabled();
        enfocado = w->focusWidget() ? w->focusWidget()->objectName() : QString();
        pulsar(w, "BtnCancelar");
    });
    pulsar(m_lista.get(), boton.toLatin1().constData());
    QVERIFY2(d.correcto(), qPrintable(d.errores().join('\n')));
    QCOMPARE(visto, titulo);
    QCOMPARE(activo, aceptar);
    QCOMPARE(datos, boton != QLatin1String("BtnEliminar"));
    QCOMPARE(enfocado, foco);
    QCOMPARE(tema, ayuda);
}

void TstRegistros::deleteAnsweredNoKeepsDialog()
{
    m_datos->addBrand(QStringLiteral("SEAT"));
    abrirModulo();
    QVERIFY(mostrarLista(Clase::Marcas));
    m_lista->setWindowTitle(QString());

    bool abierto = false;
    DialogosPrueba d;
    d.alAparecer(QStringLiteral("TFormEdMarcas"), [&](QWidget *w) {
        pulsar(w, "BtnAceptar"); // the question is answered " &No" (its default)
        abierto = w->isVisible();
        pulsar(w, "BtnCancelar");
    });
    pulsar(m_lista.get(), "BtnEliminar");
    QVERIFY2(d.correcto(), qPrintable(d.errores().join('\n')));
    QVERIFY(abierto);
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
    const TAvisoMostrado &q = Avisos_Prueba::Mostrados().first();
    QCOMPARE(q.Titulo, QStringLiteral("Eliminar Registro"));
    QCOMPARE(q.Texto, QStringLiteral("¿Desea ELIMINAR el registro actual?"));
    QCOMPARE(q.Botones, baSiNo);
    QVERIFY(q.Defecto_Segundo);
    QCOMPARE(leer(carpeta(), QStringLiteral("Marcas.DAT"), {QStringLiteral("MARCA")}), QStringList{"SEAT"});
    QCOMPARE(m_lista->windowTitle(), QStringLiteral("Marcas (1 registro)"));
}

void TstRegistros::escapeWhileAddingDropsRecord_data()
{
    QTest::addColumn<Clase>("clase");
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("campo");
    QTest::newRow("marca") << Clase::Marcas << "TFormEdMarcas" << "EditMarca";
    QTest::newRow("vehículo") << Clase::Vehiculos << "TFormEdMatricula" << "EditMatricula";
}

void TstRegistros::escapeWhileAddingDropsRecord()
{
    QFETCH(Clase, clase);
    QFETCH(QString, editor);
    QFETCH(QString, campo);
    const int marca = m_datos->addBrand(QStringLiteral("SEAT"));
    m_datos->addVehicle(QStringLiteral("1234ABC"), marca, m_datos->addModel(QStringLiteral("IBIZA"), marca), 100);
    abrirModulo();
    QVERIFY(mostrarLista(clase));
    const QString antes = m_lista->windowTitle();

    DialogosPrueba d;
    d.alAparecer(editor, [&](QWidget *w) {
        QWidget *c = hijo<QWidget>(w, campo.toLatin1().constData());
        Teclear(c, QStringLiteral("NUEVA"));
        QTest::keyClick(c, Qt::Key_Escape);
    });
    pulsar(m_lista.get(), "BtnAnadir");
    QVERIFY2(d.correcto(), qPrintable(d.errores().join('\n')));
    QCOMPARE(ModuloDatos->TableMarcas->state(), TDataSetState::Browse);
    QCOMPARE(ModuloDatos->TableMatriculas->state(), TDataSetState::Browse);
    QCOMPARE(contar(carpeta(), QStringLiteral("Marcas.DAT")), 1);
    QCOMPARE(contar(carpeta(), QStringLiteral("Matriculas.DAT")), 1);
    QCOMPARE(m_lista->windowTitle(), antes);
}

// A second vehicle with a plate already stored: the store refuses it, the user is
// told why, the dialog closes and nothing of what was typed stays.
void TstRegistros::failedPostReportedAndDiscarded()
{
    const int marca = m_datos->addBrand(QStringLiteral("SEAT"));
    m_datos->addVehicle(QStringLiteral("1234ABC"), marca, m_datos->addModel(QStringLiteral("IBIZA"), marca), 100);
    abrirModulo();
    QVERIFY(mostrarLista(Clase::Vehiculos));

    bool cerrado = false;
    DialogosPrueba d;
    d.alAparecer(QStringLiteral("TFormEdMatricula"), [&](QWidget *w) {
        Teclear(hijo<QWidget>(w, "EditMatricula"), QStringLiteral("1234abc"));
        QVERIFY(elegir(w, "DBLCBMarca", QStringLiteral("SEAT")));
        QVERIFY(elegir(w, "DBLCBModelo", QStringLiteral("IBIZA")));
        Teclear(hijo<QWidget>(w, "EditKilometros"), QStringLiteral("500"));
        pulsar(w, "BtnAceptar");
        cerrado = !w->isVisible();
    });
    pulsar(m_lista.get(), "BtnAnadir");
    QVERIFY2(d.correcto(), qPrintable(d.errores().join('\n')));
    QVERIFY(cerrado);
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
    const QString texto = Avisos_Prueba::Mostrados().first().Texto;
    QVERIFY2(texto.contains(QStringLiteral("Error al AÑADIR registro.")), qPrintable(texto));
    QVERIFY2(texto.contains(QStringLiteral("La clave de este registro está duplicada")), qPrintable(texto));
    QCOMPARE(ModuloDatos->TableMatriculas->state(), TDataSetState::Browse);
    QCOMPARE(leer(carpeta(), QStringLiteral("Matriculas.DAT"), {"MATRICULA", "KILOMETROS"}),
             QStringList{"1234ABC|100"});
    QCOMPARE(m_lista->windowTitle(), QStringLiteral("Vehículos (1 registro)"));
}

// The table cannot take a new record: the dialog still opens, shows why over
// itself and closes without changing anything.
void TstRegistros::failedPreparationShownThenClosed()
{
    abrirModulo();
    ModuloDatos->TableMarcas->close();
    ModuloDatos->Modo_Edicion_Marca = Modo_Anadir;
    TFormEdMarcas editor;
    QTimer guardia;
    guardia.setSingleShot(true);
    connect(&guardia, &QTimer::timeout, &editor, &QDialog::reject);
    guardia.start(5000);
    QCOMPARE(editor.exec(), int(QDialog::Rejected));
    QVERIFY(guardia.isActive()); // closed by itself
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
    QVERIFY(Avisos_Prueba::Mostrados().first().Texto.contains(QStringLiteral("Error al intentar AÑADIR registro.")));
}

// ---------------------------------------------------------------- brands and models

void TstRegistros::capitals_data()
{
    QTest::addColumn<Clase>("clase");
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("tecleado");
    QTest::addColumn<QString>("tabla");
    QTest::addColumn<QString>("guardado");
    QTest::newRow("marca") << Clase::Marcas << "TFormEdMarcas" << "EditMarca" << "citroen señal" << "Marcas.DAT"
                           << "CITROEN SEÑAL";
    QTest::newRow("modelo") << Clase::Modelos << "TFormEdModelos" << "EditModelo" << "león fr" << "Modelos.DAT"
                            << "LEÓN FR";
}

void TstRegistros::capitals()
{
    QFETCH(Clase, clase);
    QFETCH(QString, editor);
    QFETCH(QString, campo);
    QFETCH(QString, tecleado);
    QFETCH(QString, tabla);
    QFETCH(QString, guardado);
    abrirModulo();
    QVERIFY(mostrarLista(clase));
    bool desactivado = false, activado = false, vaciado = false;
    DialogosPrueba d;
    d.alAparecer(editor, [&](QWidget *w) {
        auto *aceptar = hijo<QPushButton>(w, "BtnAceptar");
        auto *c = hijo<QLineEdit>(w, campo.toLatin1().constData());
        desactivado = !aceptar->isEnabled();
        Teclear(c, QStringLiteral("x"));
        activado = aceptar->isEnabled();
        QTest::keyClick(c, Qt::Key_Backspace);
        vaciado = !aceptar->isEnabled();
        Teclear(c, tecleado);
        pulsar(w, "BtnAceptar");
    });
    pulsar(m_lista.get(), "BtnAnadir");
    QVERIFY2(d.correcto(), qPrintable(d.errores().join('\n')));
    QVERIFY(desactivado && activado && vaciado);
    const QString nombre = clase == Clase::Marcas ? QStringLiteral("MARCA") : QStringLiteral("MODELO");
    QCOMPARE(leer(carpeta(), tabla, {nombre}), QStringList{guardado});
    QVERIFY(m_lista->windowTitle().endsWith(QStringLiteral("(1 registro)")));
}

void TstRegistros::modelJoinsCurrentVehicleBrand_data()
{
    QTest::addColumn<bool>("conVehiculo");
    QTest::addColumn<QString>("boton");
    QTest::newRow("sin vehículos") << false << "BtnAnadir";
    QTest::newRow("añadido") << true << "BtnAnadir";
    QTest::newRow("editado") << true << "BtnEditar";
}

// Added or edited from the main menu, a model belongs to the brand of the vehicle
// the vehicle table was left on; with no vehicle, to no brand (0).
void TstRegistros::modelJoinsCurrentVehicleBrand()
{
    QFETCH(bool, conVehiculo);
    QFETCH(QString, boton);
    const int seat = m_datos->addBrand(QStringLiteral("SEAT"));
    const int audi = m_datos->addBrand(QStringLiteral("AUDI"));
    const int ibiza = m_datos->addModel(QStringLiteral("IBIZA"), seat);
    if (conVehiculo) {
        m_datos->addVehicle(QStringLiteral("1111AAA"), seat, ibiza, 10);
        m_datos->addVehicle(QStringLiteral("2222BBB"), audi, 0, 20);
    }
    abrirModulo();
    if (conVehiculo)
        QVERIFY(ModuloDatos->TableMatriculas->locate(QStringLiteral("MATRICULA"), QStringLiteral("2222BBB")));
    QVERIFY(mostrarLista(Clase::Modelos));
    DialogosPrueba d;
    d.alAparecer(QStringLiteral("TFormEdModelos"), [&](QWidget *w) {
        auto *c = hijo<QLineEdit>(w, "EditModelo");
        c->selectAll();
        Teclear(c, QStringLiteral("a4"));
        pulsar(w, "BtnAceptar");
    });
    pulsar(m_lista.get(), boton.toLatin1().constData());
    QVERIFY2(d.correcto(), qPrintable(d.errores().join('\n')));
    const QString esperado = QStringLiteral("A4|%1").arg(conVehiculo ? audi : 0);
    QVERIFY2(leer(carpeta(), QStringLiteral("Modelos.DAT"), {"MODELO", "ORDENMARCA"}).contains(esperado),
             qPrintable(leer(carpeta(), QStringLiteral("Modelos.DAT"), {"MODELO", "ORDENMARCA"}).join(',')));
}

void TstRegistros::deletedBrandLeavesEmptyName()
{
    const int seat = m_datos->addBrand(QStringLiteral("SEAT"));
    m_datos->addVehicle(QStringLiteral("1111AAA"), seat, m_datos->addModel(QStringLiteral("IBIZA"), seat), 10);
    abrirModulo();
    QVERIFY(mostrarLista(Clase::Marcas));
    Avisos_Prueba::Programar_Respuesta(true);
    DialogosPrueba d;
    d.pulsarAlAparecer(QStringLiteral("TFormEdMarcas"), QStringLiteral("&Aceptar"));
    pulsar(m_lista.get(), "BtnEliminar");
    QVERIFY2(d.correcto(), qPrintable(d.errores().join('\n')));
    QCOMPARE(m_lista->windowTitle(), QStringLiteral("Marcas (0 registros)"));
    m_lista.reset();

    QVERIFY(mostrarLista(Clase::Vehiculos));
    auto *grid = hijo<TDBGrid>(m_lista.get(), "DBGrid");
    QCOMPARE(grid->model()->rowCount(), 1);
    QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("1111AAA"));
    QCOMPARE(grid->model()->index(0, 1).data().toString(), QString());
    QCOMPARE(grid->model()->index(0, 2).data().toString(), QStringLiteral("IBIZA"));
    QCOMPARE(leer(carpeta(), QStringLiteral("Matriculas.DAT"), {"MARCA", "MARCA_S"}),
             QStringList{QStringLiteral("%1|SEAT").arg(seat)});
}

// ---------------------------------------------------------------- vehicles

void TstRegistros::catalogueListsInsideVehicleEditor_data()
{
    QTest::addColumn<QString>("boton");
    QTest::newRow("añadiendo") << "BtnAnadir";
    QTest::newRow("editando") << "BtnEditar";
}

// A brand and a model added from the lists opened over the vehicle editor are
// offered at once, the model belongs to the brand chosen there, and the editor
// goes on in its own mode.
void TstRegistros::catalogueListsInsideVehicleEditor()
{
    QFETCH(QString, boton);
    const int audi = m_datos->addBrand(QStringLiteral("AUDI"));
    const int a4 = m_datos->addModel(QStringLiteral("A4"), audi);
    m_datos->addVehicle(QStringLiteral("1111AAA"), audi, a4, 10);
    abrirModulo();
    QVERIFY(mostrarLista(Clase::Vehiculos));
    const bool anadiendo = boton == QLatin1String("BtnAnadir");

    QStringList listaModelos, ofertaModelos;
    QString tituloModelos;
    DialogosPrueba d;
    d.alAparecer(QStringLiteral("TFormEdMatricula"), [&](QWidget *w) {
        if (anadiendo)
            Teclear(hijo<QWidget>(w, "EditMatricula"), QStringLiteral("2222bbb"));
        pulsar(w, "SbMarca"); // returns once the brand list is closed
        QVERIFY(elegir(w, "DBLCBMarca", QStringLiteral("SEAT")));
        pulsar(w, "SbModelo");
        ofertaModelos = ofrecidos(w, "DBLCBModelo");
        QVERIFY(elegir(w, "DBLCBModelo", QStringLiteral("IBIZA")));
        pulsar(w, "BtnAceptar");
    });
    d.alAparecer(QStringLiteral("TFormMarcas"), [](QWidget *m) {
        pulsar(m, "BtnAnadir");
        pulsar(m, "BtnCerrar");
    });
    d.alAparecer(QStringLiteral("TFormEdMarcas"), [](QWidget *e) {
        Teclear(hijo<QWidget>(e, "EditMarca"), QStringLiteral("seat"));
        pulsar(e, "BtnAceptar");
    });
    d.alAparecer(QStringLiteral("TFormModelos"), [&](QWidget *m) {
        tituloModelos = m->windowTitle(); // only SEAT's models: none yet
        pulsar(m, "BtnAnadir");
        auto *grid = hijo<TDBGrid>(m, "DBGrid");
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            listaModelos << grid->model()->index(r, 0).data().toString();
        QTest::keyClick(grid, Qt::Key_Escape);
    });
    d.alAparecer(QStringLiteral("TFormEdModelos"), [](QWidget *e) {
        Teclear(hijo<QWidget>(e, "EditModelo"), QStringLiteral("ibiza"));
        pulsar(e, "BtnAceptar");
    });
    pulsar(m_lista.get(), boton.toLatin1().constData());
    QVERIFY2(d.correcto(), qPrintable(d.errores().join('\n')));

    QCOMPARE(tituloModelos, QStringLiteral("Modelos (0 registros)"));
    QCOMPARE(listaModelos, QStringList{"IBIZA"});
    QCOMPARE(ofertaModelos, QStringList{"IBIZA"});
    QCOMPARE(ModuloDatos->Modo_Edicion, anadiendo ? Modo_Anadir : Modo_Editar);
    // The store numbers the new brand and model after the existing ones.
    const int seat = audi + 1, ibiza = a4 + 1;
    QCOMPARE(leer(carpeta(), QStringLiteral("Modelos.DAT"), {"MODELO", "ORDENMARCA"}),
             (QStringList{QStringLiteral("A4|%1").arg(audi), QStringLiteral("IBIZA|%1").arg(seat)}));
    QStringList vehiculos{QStringLiteral("1111AAA|%1|%2|AUDI|A4").arg(audi).arg(a4)};
    if (anadiendo)
        vehiculos << QStringLiteral("2222BBB|%1|%2|SEAT|IBIZA").arg(seat).arg(ibiza);
    else
        vehiculos = QStringList{QStringLiteral("1111AAA|%1|%2|SEAT|IBIZA").arg(seat).arg(ibiza)};
    QCOMPARE(leer(carpeta(), QStringLiteral("Matriculas.DAT"), {"MATRICULA", "MARCA", "MODELO", "MARCA_S", "MODELO_S"}),
             vehiculos);
    QVERIFY(!ModuloDatos->TableModelos->filtered());
}

// The model list offers the chosen brand's models only and follows a change of
// brand; after the dialog the model window lists every model again.
void TstRegistros::modelListFollowsBrand()
{
    const int seat = m_datos->addBrand(QStringLiteral("SEAT"));
    const int audi = m_datos->addBrand(QStringLiteral("AUDI"));
    m_datos->addModel(QStringLiteral("IBIZA"), seat);
    m_datos->addModel(QStringLiteral("A4"), audi);
    m_datos->addModel(QStringLiteral("LEON"), seat);
    m_datos->addModel(QStringLiteral("A6"), audi);
    abrirModulo();
    QVERIFY(mostrarLista(Clase::Vehiculos));

    QStringList alAbrir, conSeat, conAudi;
    bool aceptarSinModelo = true, aceptarCompleto = false;
    DialogosPrueba d;
    d.alAparecer(QStringLiteral("TFormEdMatricula"), [&](QWidget *w) {
        alAbrir = ofrecidos(w, "DBLCBModelo");
        Teclear(hijo<QWidget>(w, "EditMatricula"), QStringLiteral("1"));
        QVERIFY(elegir(w, "DBLCBMarca", QStringLiteral("SEAT")));
        conSeat = ofrecidos(w, "DBLCBModelo");
        aceptarSinModelo = hijo<QPushButton>(w, "BtnAceptar")->isEnabled();
        QVERIFY(elegir(w, "DBLCBMarca", QStringLiteral("AUDI")));
        conAudi = ofrecidos(w, "DBLCBModelo");
        QVERIFY(elegir(w, "DBLCBModelo", QStringLiteral("A6")));
        aceptarCompleto = hijo<QPushButton>(w, "BtnAceptar")->isEnabled();
        pulsar(w, "BtnCancelar");
    });
    pulsar(m_lista.get(), "BtnAnadir");
    QVERIFY2(d.correcto(), qPrintable(d.errores().join('\n')));
    QCOMPARE(alAbrir, QStringList());
    QCOMPARE(conSeat, (QStringList{"IBIZA", "LEON"}));
    QCOMPARE(conAudi, (QStringList{"A4", "A6"}));
    QVERIFY(!aceptarSinModelo);
    QVERIFY(aceptarCompleto);
    QCOMPARE(contar(carpeta(), QStringLiteral("Matriculas.DAT")), 0);
    m_lista.reset();
    QVERIFY(mostrarLista(Clase::Modelos));
    QCOMPARE(m_lista->windowTitle(), QStringLiteral("Modelos (4 registros)"));
}

// A model belongs to its brand: choosing another brand empties the model box and
// OK waits for one of the new brand's models; the same brand chosen again keeps it.
void TstRegistros::anotherBrandClearsModel_data()
{
    QTest::addColumn<bool>("editar");
    QTest::addColumn<QString>("marca");
    QTest::addColumn<QString>("modeloTrasCambio");
    QTest::addColumn<QString>("modeloFinal"); // chosen after the change; empty: none
    QTest::addColumn<QString>("guardado");    // MARCA_S|MODELO_S stored after OK
    QTest::newRow("añadir, otra marca") << false << "AUDI" << "" << "A6" << "AUDI|A6";
    QTest::newRow("añadir, otra marca, sin modelo") << false << "AUDI" << "" << "" << "";
    QTest::newRow("añadir, la misma marca") << false << "SEAT" << "IBIZA" << "" << "SEAT|IBIZA";
    QTest::newRow("editar, otra marca") << true << "AUDI" << "" << "A4" << "AUDI|A4";
    QTest::newRow("editar, otra marca, sin modelo") << true << "AUDI" << "" << "" << "SEAT|IBIZA";
}

void TstRegistros::anotherBrandClearsModel()
{
    QFETCH(bool, editar);
    QFETCH(QString, marca);
    QFETCH(QString, modeloTrasCambio);
    QFETCH(QString, modeloFinal);
    QFETCH(QString, guardado);
    const int seat = m_datos->addBrand(QStringLiteral("SEAT"));
    const int audi = m_datos->addBrand(QStringLiteral("AUDI"));
    const int ibiza = m_datos->addModel(QStringLiteral("IBIZA"), seat);
    m_datos->addModel(QStringLiteral("A4"), audi);
    m_datos->addModel(QStringLiteral("A6"), audi);
    if (editar)
        m_datos->addVehicle(QStringLiteral("1111AAA"), seat, ibiza, 10);
    abrirModulo();
    QVERIFY(mostrarLista(Clase::Vehiculos));

    QString mostrado;
    bool aceptarTrasCambio = true;
    DialogosPrueba d;
    d.alAparecer(QStringLiteral("TFormEdMatricula"), [&](QWidget *w) {
        if (!editar) {
            Teclear(hijo<QWidget>(w, "EditMatricula"), QStringLiteral("1111aaa"));
            QVERIFY(elegir(w, "DBLCBMarca", QStringLiteral("SEAT")));
            QVERIFY(elegir(w, "DBLCBModelo", QStringLiteral("IBIZA")));
        }
        QVERIFY(hijo<QPushButton>(w, "BtnAceptar")->isEnabled());
        QVERIFY(elegir(w, "DBLCBMarca", marca));
        mostrado = hijo<TDBLookupComboBox>(w, "DBLCBModelo")->shownText();
        aceptarTrasCambio = hijo<QPushButton>(w, "BtnAceptar")->isEnabled();
        if (!modeloFinal.isEmpty())
            QVERIFY(elegir(w, "DBLCBModelo", modeloFinal));
        pulsar(w, "BtnAceptar"); // without a model, nothing happens
        if (w->isVisible())
            pulsar(w, "BtnCancelar");
    });
    pulsar(m_lista.get(), editar ? "BtnEditar" : "BtnAnadir");
    QVERIFY2(d.correcto(), qPrintable(d.errores().join('\n')));
    QCOMPARE(mostrado, modeloTrasCambio);
    QCOMPARE(aceptarTrasCambio, !modeloTrasCambio.isEmpty());
    QCOMPARE(leer(carpeta(), QStringLiteral("Matriculas.DAT"), {"MARCA_S", "MODELO_S"}),
             guardado.isEmpty() ? QStringList() : QStringList{guardado});
    QVERIFY(Avisos_Prueba::Mostrados().isEmpty());
}

// The brand and model names kept with a vehicle are those chosen for it, not
// whichever catalogue records happen to be current.
void TstRegistros::savedNamesAreTheChosenOnes()
{
    const int seat = m_datos->addBrand(QStringLiteral("SEAT"));
    const int audi = m_datos->addBrand(QStringLiteral("AUDI"));
    m_datos->addModel(QStringLiteral("IBIZA"), seat);
    const int a4 = m_datos->addModel(QStringLiteral("A4"), audi);
    const int a6 = m_datos->addModel(QStringLiteral("A6"), audi);
    m_datos->addVehicle(QStringLiteral("1111AAA"), audi, a4, 10);
    abrirModulo();
    QVERIFY(mostrarLista(Clase::Vehiculos));
    DialogosPrueba d;
    d.alAparecer(QStringLiteral("TFormEdMatricula"), [&](QWidget *w) {
        QVERIFY(elegir(w, "DBLCBModelo", QStringLiteral("A6")));
        pulsar(w, "BtnAceptar");
    });
    pulsar(m_lista.get(), "BtnEditar");
    QVERIFY2(d.correcto(), qPrintable(d.errores().join('\n')));
    QCOMPARE(leer(carpeta(), QStringLiteral("Matriculas.DAT"), {"MARCA", "MODELO", "MARCA_S", "MODELO_S"}),
             QStringList{QStringLiteral("%1|%2|AUDI|A6").arg(audi).arg(a6)});
}

void TstRegistros::vehicleDeletionTakesItsRecords_data()
{
    QTest::addColumn<bool>("si");
    QTest::addColumn<bool>("soloPendientes");
    QTest::newRow("sí") << true << false;
    QTest::newRow("sí, averías filtradas a pendientes") << true << true;
    QTest::newRow("no") << false << true;
}

void TstRegistros::vehicleDeletionTakesItsRecords()
{
    QFETCH(bool, si);
    QFETCH(bool, soloPendientes);
    const int seat = m_datos->addBrand(QStringLiteral("SEAT"));
    const int ibiza = m_datos->addModel(QStringLiteral("IBIZA"), seat);
    const QString v = QStringLiteral("1111AAA"), otro = QStringLiteral("2222BBB");
    m_datos->addVehicle(v, seat, ibiza, 90000);
    m_datos->addVehicle(otro, seat, ibiza, 5000);
    const QDate d0(2023, 1, 10);
    for (int i = 0; i < 3; ++i)
        m_datos->addMaintenance(v, d0.addMonths(i), 10000 * (i + 1), {QStringLiteral("C_ACEITE")});
    m_datos->addBreakdown(v, d0, 15000, QStringLiteral("Embrague"));
    m_datos->addBreakdown(v, d0.addDays(5), 16000, QStringLiteral("Faro"));
    m_datos->addBreakdown(v, d0.addDays(9), 17000, QStringLiteral("Luna"), d0.addDays(12), QStringLiteral("Cambiada"));
    m_datos->addTyres(v, d0, 20000);
    m_datos->addTyres(v, d0.addYears(1), 60000);
    m_datos->addSheet(v, {{QStringLiteral("MARCAMODELO"), QStringLiteral("SEAT IBIZA")}});
    m_datos->addMaintenance(otro, d0, 1000);
    m_datos->addBreakdown(otro, d0, 1000);
    m_datos->addTyres(otro, d0, 1000);
    m_datos->addSheet(otro);
    abrirModulo();
    if (soloPendientes) {
        ModuloDatos->TableAverias->setFilter(QStringLiteral("Estado = 'P'"));
        ModuloDatos->TableAverias->setFiltered(true);
    }
    QVERIFY(mostrarLista(Clase::Vehiculos));
    QVERIFY(ModuloDatos->TableMatriculas->locate(QStringLiteral("MATRICULA"), v));

    Avisos_Prueba::Programar_Respuesta(si);
    bool abierto = false;
    DialogosPrueba d;
    d.alAparecer(QStringLiteral("TFormEdMatricula"), [&](QWidget *w) {
        pulsar(w, "BtnAceptar");
        abierto = w->isVisible();
        if (abierto)
            pulsar(w, "BtnCancelar");
    });
    pulsar(m_lista.get(), "BtnEliminar");
    QVERIFY2(d.correcto(), qPrintable(d.errores().join('\n')));
    QCOMPARE(abierto, !si);
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
    QCOMPARE(Avisos_Prueba::Mostrados().first().Texto,
             QStringLiteral("Se van a eliminar la Matricula, Mantenimientos, Averias, Ruedas, Ficha Técnica de este "
                            "Vehículo.\r¿Desea continuar?"));

    const QStringList m{QStringLiteral("MATRICULA")};
    const int quedan = si ? 0 : 1;
    QCOMPARE(leer(carpeta(), QStringLiteral("Matriculas.DAT"), m).count(v), quedan);
    QCOMPARE(leer(carpeta(), QStringLiteral("Mantenimiento.DAT"), m).count(v), 3 * quedan);
    QCOMPARE(leer(carpeta(), QStringLiteral("Averias.DAT"), m).count(v), 3 * quedan);
    QCOMPARE(leer(carpeta(), QStringLiteral("Ruedas.DAT"), m).count(v), 2 * quedan);
    QCOMPARE(leer(carpeta(), QStringLiteral("FichaTecnica.DAT"), m).count(v), quedan);
    for (const char *t : {"Matriculas.DAT", "Mantenimiento.DAT", "Averias.DAT", "Ruedas.DAT", "FichaTecnica.DAT"})
        QCOMPARE(leer(carpeta(), QString::fromLatin1(t), m).count(otro), 1);
    // The breakdown window finds its filter as it left it.
    QCOMPARE(ModuloDatos->TableAverias->filtered(), soloPendientes);
    QCOMPARE(m_lista->windowTitle(), si ? QStringLiteral("Vehículos (1 registro)") : QStringLiteral("Vehículos (2 registros)"));
}

void TstRegistros::plateLengthLimited()
{
    abrirModulo();
    ModuloDatos->Modo_Edicion = Modo_Anadir;
    TFormEdMatricula editor;
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    Teclear(editor.EditMatricula, QStringLiteral("abcdefghijklmnop"));
    QCOMPARE(editor.EditMatricula->text(), QStringLiteral("ABCDEFGHIJKL"));
    editor.reject();
}

void TstRegistros::kilometresDigitsAndRange_data()
{
    QTest::addColumn<QString>("tecleado");
    QTest::addColumn<QString>("visto");
    QTest::addColumn<bool>("aviso");
    QTest::newRow("cifras") << "123456" << "123456" << false;
    QTest::newRow("letras y signos fuera") << "12a.-+3,4" << "1234" << false;
    QTest::newRow("el mayor") << "2147483647" << "2147483647" << false;
    QTest::newRow("uno más") << "2147483648" << "214748364" << true;
    QTest::newRow("diez nueves") << "9999999999" << "999999999" << true;
}

// Only digits reach the field; a value the table could not hold is refused at
// the key that makes it, with a notice, and what is stored is what is shown.
void TstRegistros::kilometresDigitsAndRange()
{
    QFETCH(QString, tecleado);
    QFETCH(QString, visto);
    QFETCH(bool, aviso);
    const int seat = m_datos->addBrand(QStringLiteral("SEAT"));
    m_datos->addVehicle(QStringLiteral("1111AAA"), seat, m_datos->addModel(QStringLiteral("IBIZA"), seat), 7);
    abrirModulo();
    ModuloDatos->Modo_Edicion = Modo_Editar;
    TFormEdMatricula editor;
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.EditKilometros->selectAll();
    Teclear(editor.EditKilometros, tecleado);
    QCOMPARE(editor.EditKilometros->text(), visto);
    QTRY_COMPARE(Avisos_Prueba::Mostrados().size(), aviso ? 1 : 0);
    if (aviso) {
        QCOMPARE(Avisos_Prueba::Mostrados().first().Tipo, avError);
        QVERIFY(Avisos_Prueba::Mostrados().first().Texto.contains(QStringLiteral("2.147.483.647")));
    }
    editor.BtnAceptar->click();
    QCOMPARE(leer(carpeta(), QStringLiteral("Matriculas.DAT"), {"KILOMETROS"}), QStringList{visto});
}

QTEST_MAIN(TstRegistros)
#include "tst_registros.moc"
