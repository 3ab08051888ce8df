// The data module on a temporary data folder: start-up (check, upgrade, opening
// and its failures), the windows that follow the current vehicle, the vehicle
// header, the tyre fields, the due computation and the formats the fields carry.
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "Esquema.h"
#include "Formatos.h"
#include "Proximo.h"
#include "Table.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <memory>

#include <sqlite3.h>

namespace {

// Stands for a list window that follows the current vehicle.
class VentanaFalsa : public tVentanaVehiculo
{
public:
    int titulos = 0;
    int proximos = 0;
    std::array<qint32, Num_Tareas> visto{};
    void Actualizar_Titulo() override
    {
        ++titulos;
        ModuloDatos->Actualizar_Cabecera_Vehiculo();
    }
    void Mostrar_Proximo_Mantenimiento() override
    {
        ++proximos;
        visto = ModuloDatos->Km_Proximo;
    }
};

// The module's twelve table objects and eight data sources by their names,
// taken from its members.
QMap<QString, QObject *> Objetos_Por_Nombre(TModuloDatos *m)
{
    return {{"TableMatriculas", m->TableMatriculas}, {"TableMarcas", m->TableMarcas},
            {"TableModelos", m->TableModelos},       {"TableMantto", m->TableMantto},
            {"TableAverias", m->TableAverias},       {"TableRuedas", m->TableRuedas},
            {"TableFichaTec", m->TableFichaTec},     {"TableKmCambios", m->TableKmCambios},
            {"TablaMantto", m->TablaMantto},         {"TablaKmCambios", m->TablaKmCambios},
            {"TablaMatriculas", m->TablaMatriculas}, {"TablaFichaTec", m->TablaFichaTec},
            {"DSMatriculas", m->DSMatriculas},       {"DSMarcas", m->DSMarcas},
            {"DSModelos", m->DSModelos},             {"DSMantto", m->DSMantto},
            {"DSAverias", m->DSAverias},             {"DSRuedas", m->DSRuedas},
            {"DSFichaTec", m->DSFichaTec},           {"DSKmCambios", m->DSKmCambios}};
}

const QStringList Las_Doce{"TableMatriculas", "TableMarcas",    "TableModelos",   "TableMantto",
                           "TableAverias",    "TableRuedas",    "TableFichaTec",  "TableKmCambios",
                           "TablaMantto",     "TablaKmCambios", "TablaMatriculas", "TablaFichaTec"};

QStringList Tablas_Abiertas(TModuloDatos *m)
{
    QStringList r;
    for (TTable *t : {m->TableMantto, m->TableAverias, m->TableFichaTec, m->TableMatriculas, m->TableRuedas,
                      m->TableKmCambios, m->TableMarcas, m->TableModelos})
        if (t->active())
            r << t->tableName();
    return r;
}

// "C_ACEITE=25000,BUJIAS=10000" -> values by task field.
QMap<QString, int> Leer_Valores(const QString &texto)
{
    QMap<QString, int> r;
    for (const QString &par : texto.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList p = par.split(QLatin1Char('='));
        r.insert(p[0], p[1].toInt());
    }
    return r;
}

void Crear_Fichero(const QString &ruta, const QByteArray &contenido = "x")
{
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(contenido);
}

// Makes a table file look as an older (or newer) store left it: the format mark
// and, optionally, without its named index.
void Marcar_Fichero(const QString &ruta, int version, const QString &indiceQuitado)
{
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(ruta.toUtf8().constData(), &db), SQLITE_OK);
    QString sql = QStringLiteral("PRAGMA user_version=%1;").arg(version);
    if (!indiceQuitado.isEmpty())
        sql += QStringLiteral("DROP INDEX \"%1\";").arg(indiceQuitado);
    char *error = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    const QString texto = QString::fromUtf8(error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
    QVERIFY2(rc == SQLITE_OK, qPrintable(texto));
}

} // namespace

class TstModulo : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void arranqueCorrecto();
    void actualizacion_data();
    void actualizacion();
    void faltaTabla_data();
    void faltaTabla();
    void carpetaInexistente();
    void tablaIlegible();
    void ficherosSobrantes();
    void tareasEnLasTablas();
    void tablaPorNombre_data();
    void tablaPorNombre();
    void ordenes_data();
    void ordenes();
    void destruccion_data();
    void destruccion();

    void despuesDeMover_data();
    void despuesDeMover();
    void ventanaCerrada();
    void cabecera_data();
    void cabecera();
    void ruedas_data();
    void ruedas();
    void proximo_data();
    void proximo();
    void proximoConElDetalle_data();
    void proximoConElDetalle();
    void formatosDeCampos_data();
    void formatosDeCampos();

private:
    void Crear_Modulo(const QString &carpeta);

    std::unique_ptr<DatosPrueba> m_datos;
    std::unique_ptr<TModuloDatos> m_modulo;
    QStringList m_errores;
    QStringList m_cursor;
};

void TstModulo::init()
{
    m_errores.clear();
    m_cursor.clear();
    TModuloDatos::Establecer_Manejador_Error([this](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const ECodedError &err) {
            m_errores << err.message();
        } catch (const std::exception &err) {
            m_errores << QString::fromUtf8(err.what());
        }
    });
    TModuloDatos::Establecer_Cursor_Espera([this](bool espera) { m_cursor << (espera ? "espera" : "normal"); });
    TableStore::setStrictChangeDetection(false);
    m_datos = std::make_unique<DatosPrueba>();
    QVERIFY(m_datos->isValid());
}

void TstModulo::cleanup()
{
    m_modulo.reset();
    QVERIFY(!ModuloDatos);
    m_datos.reset();
    TModuloDatos::Establecer_Manejador_Error({});
    TModuloDatos::Establecer_Cursor_Espera({});
}

void TstModulo::Crear_Modulo(const QString &carpeta)
{
    m_modulo = std::make_unique<TModuloDatos>(carpeta);
    QCOMPARE(ModuloDatos, m_modulo.get());
}

void TstModulo::arranqueCorrecto()
{
    const int marca = m_datos->addBrand("AAA");
    m_datos->addVehicle("1111AAA", marca, 0, 30000);
    m_datos->addVehicle("2222BBB", marca, 0, 60000);
    m_datos->addMaintenance("2222BBB", QDate(2001, 3, 7), 1000);
    m_datos->addMaintenance("1111AAA", QDate(2001, 3, 7), 2000);
    m_datos->addMaintenance("1111AAA", QDate(2001, 3, 8), 3000);
    m_datos->addBreakdown("1111AAA", QDate(2001, 3, 7), 2000);
    m_datos->addInterval(marca, {{"C_ACEITE", 15000}});
    Crear_Modulo(m_datos->carpeta());
    QCOMPARE(m_errores, QStringList());
    QCOMPARE(Tablas_Abiertas(m_modulo.get()).size(), 8);
    // Details opened before their master still follow the current vehicle and brand.
    QCOMPARE(m_modulo->TableMatriculas->fieldByName("MATRICULA")->asString(), QString("1111AAA"));
    QCOMPARE(m_modulo->TableMantto->recordCount(), 2);
    QCOMPARE(m_modulo->TableAverias->recordCount(), 1);
    QCOMPARE(m_modulo->TableKmCambios->recordCount(), 1);
    for (TTable *t : {m_modulo->TablaMantto, m_modulo->TablaKmCambios, m_modulo->TablaMatriculas,
                      m_modulo->TablaFichaTec})
        QVERIFY(!t->active());
    QCOMPARE(m_modulo->Pantalla_Activa, quint8(Pantalla_Ninguna));
    QVERIFY(TableStore::strictChangeDetection());
    QCOMPARE(m_cursor, (QStringList{"espera", "normal"}));
    for (TDataSource *ds : {m_modulo->DSMatriculas, m_modulo->DSMarcas, m_modulo->DSModelos, m_modulo->DSMantto,
                            m_modulo->DSAverias, m_modulo->DSRuedas, m_modulo->DSFichaTec, m_modulo->DSKmCambios})
        QVERIFY(!ds->autoEdit());
}

void TstModulo::actualizacion_data()
{
    QTest::addColumn<QString>("tabla");
    QTest::addColumn<int>("marca");
    QTest::addColumn<QString>("indiceQuitado");
    QTest::addColumn<QString>("antes");
    QTest::addColumn<QString>("despues");
    // Without the upgrade its index would be missing and opening would fail.
    QTest::newRow("antigua") << "Mantenimiento.DAT" << 250 << "Orden_Matri" << "2.50" << "3.00";
    QTest::newRow("antigua sin indice") << "KmCambios.DAT" << 300 << "Orden_Marca" << "2.99" << "3.00";
    QTest::newRow("actual") << "Marcas.DAT" << 300 << "" << "3.00" << "3.00";
    QTest::newRow("posterior") << "Averias.DAT" << 301 << "" << "3.01" << "3.01";
}

// Tables in an older format are upgraded at start, before anything opens them;
// the others are left alone.
void TstModulo::actualizacion()
{
    QFETCH(QString, tabla);
    QFETCH(int, marca);
    QFETCH(QString, indiceQuitado);
    QFETCH(QString, antes);
    QFETCH(QString, despues);
    const QString ruta = m_datos->ruta(tabla);
    Marcar_Fichero(ruta, marca, indiceQuitado);
    QCOMPARE(TableStore::tableVersion(ruta), antes);
    Crear_Modulo(m_datos->carpeta());
    QCOMPARE(m_errores, QStringList());
    QCOMPARE(Tablas_Abiertas(m_modulo.get()).size(), 8);
    m_modulo.reset();
    QCOMPARE(TableStore::tableVersion(ruta), despues);
}

void TstModulo::faltaTabla_data()
{
    QTest::addColumn<QString>("falta");
    QTest::addColumn<QStringList>("abiertas");
    QTest::newRow("la primera") << "Mantenimiento.DAT" << QStringList();
    QTest::newRow("averias") << "Averias.DAT" << QStringList{"Mantenimiento.DAT"};
    QTest::newRow("vehiculos") << "Matriculas.DAT"
                               << QStringList{"Mantenimiento.DAT", "Averias.DAT", "FichaTecnica.DAT"};
    QTest::newRow("la ultima") << "Modelos.DAT"
                               << QStringList{"Mantenimiento.DAT", "Averias.DAT", "FichaTecnica.DAT",
                                              "Matriculas.DAT", "Ruedas.DAT", "KmCambios.DAT", "Marcas.DAT"};
}

// Opening stops at the missing table: those before it stay open, the rest closed.
void TstModulo::faltaTabla()
{
    QFETCH(QString, falta);
    QFETCH(QStringList, abiertas);
    QVERIFY(QFile::remove(m_datos->ruta(falta)));
    Crear_Modulo(m_datos->carpeta());
    QCOMPARE(m_errores.size(), 1);
    QVERIFY2(m_errores[0].contains(falta), qPrintable(m_errores[0]));
    QCOMPARE(Tablas_Abiertas(m_modulo.get()), abiertas);
    QVERIFY(!TableStore::strictChangeDetection()); // the last step did not run
}

void TstModulo::carpetaInexistente()
{
    Crear_Modulo(m_datos->carpeta() + "/NoExiste");
    QCOMPARE(m_errores.size(), 1);
    QCOMPARE(Tablas_Abiertas(m_modulo.get()), QStringList());
    QVERIFY(!QDir(m_datos->carpeta() + "/NoExiste").exists()); // nothing created
}

// A file the store cannot read at the check leaves every table closed, and the
// leftover files are not deleted; the cursor comes back all the same.
void TstModulo::tablaIlegible()
{
    QVERIFY(QFile::remove(m_datos->ruta("Marcas.DAT")));
    Crear_Fichero(m_datos->ruta("Marcas.DAT"), QByteArray(4096, 'z'));
    Crear_Fichero(m_datos->carpeta() + "/X.DUP");
    Crear_Modulo(m_datos->carpeta());
    QCOMPARE(m_errores.size(), 1);
    QCOMPARE(Tablas_Abiertas(m_modulo.get()), QStringList());
    QVERIFY(QFile::exists(m_datos->carpeta() + "/X.DUP"));
    QCOMPARE(m_cursor, (QStringList{"espera", "normal"}));
}

void TstModulo::ficherosSobrantes()
{
    const QString d = m_datos->carpeta();
    // W.DAT is another table: the check reads its version like the others'.
    TableStore::createTable(d, TTableDef{QStringLiteral("W.DAT"), {{QStringLiteral("A"), TFieldType::Integer, 0}}, {}});
    for (const char *n : {"X.DUP", "Y.TMP", "Z.IDP", "v.tmp"})
        Crear_Fichero(d + "/" + n);
    QVERIFY(QDir(d).mkdir("Q.TMP"));
    Crear_Modulo(d);
    QCOMPARE(m_errores, QStringList());
    for (const char *n : {"X.DUP", "Y.TMP", "Z.IDP", "v.tmp"})
        QVERIFY2(!QFile::exists(d + "/" + n), n);
    QVERIFY(QFile::exists(d + "/W.DAT"));
    QVERIFY(QDir(d + "/Q.TMP").exists());
    for (const TTableDef &def : Definicion_Tablas())
        QVERIFY(QFile::exists(d + "/" + def.name));
}

// Every task has its flag in the maintenance table and its interval in the
// interval table, under the same name.
void TstModulo::tareasEnLasTablas()
{
    const TTableDef *mantto = Definicion_Tabla("Mantenimiento.DAT");
    const TTableDef *km = Definicion_Tabla("KmCambios.DAT");
    QVERIFY(mantto && km);
    QSet<QString> paneles, casillas;
    for (const tTarea &t : Tareas()) {
        auto tipo = [&](const TTableDef *def) {
            for (const TFieldDef &f : def->fields)
                if (f.name == t.Campo)
                    return f.type;
            return TFieldType::Memo;
        };
        QCOMPARE(tipo(mantto), TFieldType::Text);
        QCOMPARE(tipo(km), TFieldType::Integer);
        paneles << t.Panel;
        casillas << t.Casilla;
    }
    QCOMPARE(paneles.size(), Num_Tareas);
    QCOMPARE(casillas.size(), Num_Tareas);
    QSet<int> rejilla(Orden_Rejilla_Tareas().begin(), Orden_Rejilla_Tareas().end());
    QCOMPARE(rejilla.size(), Num_Tareas);
}

void TstModulo::tablaPorNombre_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("tabla");  // the member it must give; empty: none
    QTest::addColumn<QString>("fuente"); // the data source of that table; empty: none
    for (const QString &n : Las_Doce)
        QTest::newRow(qPrintable(n)) << n << n << (n.startsWith("Table") ? "DS" + n.mid(5) : QString());
    QTest::newRow("otra caja") << "tablemantto" << "TableMantto" << "DSMantto";
    QTest::newRow("una fuente no es una tabla") << "DSMantto" << "" << "";
    QTest::newRow("con su campo") << "TableMantto.FECHA" << "" << "";
    QTest::newRow("el fichero") << "Mantenimiento.DAT" << "" << "";
    QTest::newRow("vacio") << "" << "" << "";
}

// Report expressions reach the table objects by name; the windows reach a
// table's data source through the table.
void TstModulo::tablaPorNombre()
{
    QFETCH(QString, nombre);
    QFETCH(QString, tabla);
    QFETCH(QString, fuente);
    Crear_Modulo(m_datos->carpeta());
    const QMap<QString, QObject *> objetos = Objetos_Por_Nombre(m_modulo.get());
    TTable *t = m_modulo->Tabla(nombre);
    QCOMPARE(static_cast<QObject *>(t), objetos.value(tabla));
    QCOMPARE(static_cast<QObject *>(m_modulo->Fuente(t)), objetos.value(fuente));
    const QStringList nombres = TModuloDatos::Nombres_Tablas();
    QCOMPARE(nombres.size(), 12);
    QCOMPARE(QSet<QString>(nombres.begin(), nombres.end()), QSet<QString>(Las_Doce.begin(), Las_Doce.end()));
}

void TstModulo::ordenes_data()
{
    QTest::addColumn<QString>("operacion");
    QTest::addColumn<QStringList>("orden");    // of the objects opened or closed
    QTest::addColumn<QStringList>("abiertas"); // objects left open afterwards
    QTest::addColumn<QStringList>("ficheros"); // table files of the folder the store still holds open
    const QStringList trabajo{"TablaMantto", "TablaKmCambios", "TablaMatriculas", "TablaFichaTec"};
    QTest::newRow("Abrir_Tablas") << "Abrir_Tablas"
                                  << QStringList{"TableMantto", "TableAverias", "TableFichaTec", "TableMatriculas",
                                                 "TableRuedas", "TableKmCambios", "TableMarcas", "TableModelos"}
                                  << QStringList{"TableMantto", "TableAverias", "TableFichaTec", "TableMatriculas",
                                                 "TableRuedas", "TableKmCambios", "TableMarcas", "TableModelos"}
                                  << QStringList{"Averias.DAT", "FichaTecnica.DAT", "KmCambios.DAT", "Mantenimiento.DAT",
                                                 "Marcas.DAT", "Matriculas.DAT", "Modelos.DAT", "Ruedas.DAT"};
    // The work tables are their users' to close.
    QTest::newRow("Cerrar_Tablas") << "Cerrar_Tablas"
                                   << QStringList{"TableMatriculas", "TableMantto", "TableFichaTec", "TableAverias",
                                                  "TableRuedas", "TableKmCambios", "TableMarcas", "TableModelos"}
                                   << trabajo
                                   << QStringList{"FichaTecnica.DAT", "KmCambios.DAT", "Mantenimiento.DAT",
                                                  "Matriculas.DAT"};
    // Before a backup nothing of the folder may stay open.
    QTest::newRow("Cerrar_Carpeta_Datos")
        << "Cerrar_Carpeta_Datos"
        << QStringList{"TableMatriculas", "TableMantto", "TableFichaTec", "TableAverias", "TableRuedas",
                       "TableKmCambios", "TableMarcas", "TableModelos"} + trabajo
        << QStringList() << QStringList();
}

void TstModulo::ordenes()
{
    QFETCH(QString, operacion);
    QFETCH(QStringList, orden);
    QFETCH(QStringList, abiertas);
    m_datos->addVehicle("1111AAA", m_datos->addBrand("AAA"), 0, 1);
    Crear_Modulo(m_datos->carpeta());
    const QMap<QString, QObject *> objetos = Objetos_Por_Nombre(m_modulo.get());
    if (operacion == QLatin1String("Abrir_Tablas"))
        m_modulo->Cerrar_Tablas();
    else
        for (const char *t : {"TablaMantto", "TablaKmCambios", "TablaMatriculas", "TablaFichaTec"})
            static_cast<TTable *>(objetos.value(t))->open();

    QStringList visto;
    QObject escucha; // ends the connections with this test
    for (const QString &n : Las_Doce) {
        auto *t = static_cast<TTable *>(objetos.value(n));
        connect(t, &TTable::afterOpen, &escucha, [&visto, n] { visto << n; });
        connect(t, &TTable::afterClose, &escucha, [&visto, n] { visto << n; });
    }
    if (operacion == QLatin1String("Abrir_Tablas"))
        m_modulo->Abrir_Tablas();
    else if (operacion == QLatin1String("Cerrar_Tablas"))
        m_modulo->Cerrar_Tablas();
    else
        m_modulo->Cerrar_Carpeta_Datos();
    QCOMPARE(visto, orden);

    QStringList quedan;
    for (const QString &n : Las_Doce)
        if (static_cast<TTable *>(objetos.value(n))->active())
            quedan << n;
    std::sort(quedan.begin(), quedan.end());
    std::sort(abiertas.begin(), abiertas.end());
    QCOMPARE(quedan, abiertas);
    QFETCH(QStringList, ficheros);
    QCOMPARE(TDatabase::openFilesIn(m_datos->carpeta()), ficheros);
    QCOMPARE(m_errores, QStringList());
}

void TstModulo::destruccion_data()
{
    QTest::addColumn<QString>("antes");
    QTest::addColumn<QString>("despues");
    for (const char *d : {"TableMantto", "TableAverias", "TableRuedas", "TableFichaTec"})
        QTest::newRow(d) << d << "TableMatriculas"; // details
    QTest::newRow("intervalos") << "TableKmCambios" << "TableMarcas";
    for (const char *l : {"TableMatriculas", "TablaMatriculas"}) { // lookups of sMarca and sModelo
        QTest::newRow(qPrintable(QString(l) + " marcas")) << l << "TableMarcas";
        QTest::newRow(qPrintable(QString(l) + " modelos")) << l << "TableModelos";
    }
    QTest::newRow("fuente") << "DSMatriculas" << "TableMatriculas";
}

// A detail or a lookup never outlives the table it refers to.
void TstModulo::destruccion()
{
    QFETCH(QString, antes);
    QFETCH(QString, despues);
    Crear_Modulo(m_datos->carpeta());
    const QMap<QString, QObject *> objetos = Objetos_Por_Nombre(m_modulo.get());
    QStringList orden;
    QObject escucha;
    for (auto o = objetos.cbegin(); o != objetos.cend(); ++o)
        connect(o.value(), &QObject::destroyed, &escucha, [&orden, n = o.key()] { orden << n; });
    m_modulo.reset();
    QCOMPARE(orden.size(), objetos.size());
    QVERIFY2(orden.indexOf(antes) < orden.indexOf(despues), qPrintable(orden.join(", ")));
}

void TstModulo::despuesDeMover_data()
{
    QTest::addColumn<int>("pantalla");
    QTest::newRow("mantenimiento") << int(Pantalla_Mantenimiento);
    QTest::newRow("averias") << int(Pantalla_Averias);
    QTest::newRow("ruedas") << int(Pantalla_Ruedas);
    QTest::newRow("ficha tecnica") << int(Pantalla_FichaTec);
    QTest::newRow("ninguna") << int(Pantalla_Ninguna);
}

// Only the window named by Pantalla_Activa is refreshed; the maintenance window
// also gets the due readings of the new vehicle.
void TstModulo::despuesDeMover()
{
    QFETCH(int, pantalla);
    const int marca = m_datos->addBrand("AAA");
    const int modelo = m_datos->addModel("BBB", marca);
    m_datos->addVehicle("1111AAA", marca, modelo, 30000);
    m_datos->addVehicle("2222BBB", marca, modelo, 60000);
    m_datos->addInterval(marca, {{"C_ACEITE", 15000}});
    m_datos->addMaintenance("1111AAA", QDate(2001, 3, 7), 10000, {"C_ACEITE"});
    m_datos->addMaintenance("2222BBB", QDate(2001, 3, 7), 40000, {"BUJIAS"});
    Crear_Modulo(m_datos->carpeta());

    VentanaFalsa ventanas[4];
    for (quint8 p = 0; p < 4; ++p)
        m_modulo->Registrar_Ventana(p, &ventanas[p]);
    m_modulo->Pantalla_Activa = quint8(pantalla);
    TTable *v = m_modulo->TableMatriculas;
    QVERIFY(v->locate("MATRICULA", "1111AAA"));
    m_modulo->Calcular_Proximo_Mantenimiento();
    const auto antes = m_modulo->Km_Proximo;
    QCOMPARE(antes[0], 25000);
    for (auto &w : ventanas)
        w = VentanaFalsa();

    QVERIFY(v->locate("MATRICULA", "2222BBB"));
    for (int p = 0; p < 4; ++p) {
        QCOMPARE(ventanas[p].titulos, p == pantalla ? 1 : 0);
        QCOMPARE(ventanas[p].proximos, p == pantalla && p == Pantalla_Mantenimiento ? 1 : 0);
    }
    if (pantalla == Pantalla_Mantenimiento) {
        std::array<qint32, Num_Tareas> esperado{};
        esperado[std::size_t(Indice_Tarea("BUJIAS"))] = 40000; // no interval for it: counts 0
        QCOMPARE(ventanas[0].visto, esperado); // the oil change of the other vehicle is gone
        QCOMPARE(m_modulo->Km_Actuales, 60000);
        QCOMPARE(m_modulo->Cabecera_Vehiculo, QString("AAA BBB - Kmtros actuales: 60.000"));
    } else {
        QCOMPARE(m_modulo->Km_Proximo, antes); // nothing recomputed
    }
}

// A window that was destroyed while still named by Pantalla_Activa is not called.
void TstModulo::ventanaCerrada()
{
    const int marca = m_datos->addBrand("AAA");
    m_datos->addVehicle("1111AAA", marca, 0, 1);
    m_datos->addVehicle("2222BBB", marca, 0, 2);
    Crear_Modulo(m_datos->carpeta());
    auto *vida = new QObject;
    auto ventana = std::make_unique<VentanaFalsa>();
    m_modulo->Registrar_Ventana(Pantalla_Ruedas, ventana.get(), vida);
    m_modulo->Pantalla_Activa = Pantalla_Ruedas;
    m_modulo->TableMatriculas->last();
    QCOMPARE(ventana->titulos, 1);
    delete vida;
    ventana.reset();
    m_modulo->TableMatriculas->first(); // would touch freed memory if still registered
    QCOMPARE(m_errores, QStringList());
}

void TstModulo::cabecera_data()
{
    QTest::addColumn<bool>("marcaBorrada");
    QTest::addColumn<int>("km");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("normal") << false << 123456 << "AAA BBB - Kmtros actuales: 123.456";
    QTest::newRow("sin lectura") << false << 0 << "AAA BBB - Kmtros actuales: 0";
    QTest::newRow("marca borrada") << true << 7 << " BBB - Kmtros actuales: 7";
}

void TstModulo::cabecera()
{
    QFETCH(bool, marcaBorrada);
    QFETCH(int, km);
    QFETCH(QString, esperado);
    const int marca = m_datos->addBrand("AAA");
    m_datos->addVehicle("1111AAA", marca, m_datos->addModel("BBB", marca), km);
    Crear_Modulo(m_datos->carpeta());
    if (marcaBorrada) {
        QVERIFY(m_modulo->TableMarcas->locate("MARCA", "AAA"));
        m_modulo->TableMarcas->deleteRecord();
        m_modulo->TableMatriculas->refresh();
    }
    m_modulo->Actualizar_Cabecera_Vehiculo();
    QCOMPARE(m_modulo->Cabecera_Vehiculo, esperado);

    // The report cursor looks the names up in the same catalogues.
    TTable *informe = m_modulo->TablaMatriculas;
    informe->setFilter(Filtro_Matricula("1111AAA"));
    informe->setFiltered(true);
    informe->open();
    QCOMPARE(informe->fieldByName("sMarca")->asString() + " " + informe->fieldByName("sModelo")->asString(),
             esperado.section(" - ", 0, 0));
    informe->close();
}

void TstModulo::ruedas_data()
{
    QTest::addColumn<int>("kmVehiculo");
    QTest::addColumn<int>("kmRuedas");
    QTest::addColumn<QString>("matricula");
    QTest::addColumn<QString>("neumaticos"); // empty: no technical sheet
    QTest::addColumn<QString>("kmRueda");    // as shown
    QTest::newRow("recorridos") << 50000 << 42500 << "1111AAA" << "205/55 R16" << "7.500";
    QTest::newRow("montadas por encima") << 40000 << 42500 << "1111AAA" << "205/55 R16" << "-2.500";
    QTest::newRow("sin ficha") << 50000 << 42500 << "1111AAA" << "" << "7.500";
    QTest::newRow("comilla en la matricula") << 50000 << 50000 << "O'NEIL 1" << "185/65 R15" << "";
}

void TstModulo::ruedas()
{
    QFETCH(int, kmVehiculo);
    QFETCH(int, kmRuedas);
    QFETCH(QString, matricula);
    QFETCH(QString, neumaticos);
    QFETCH(QString, kmRueda);
    const int marca = m_datos->addBrand("AAA");
    m_datos->addVehicle("0000ZZZ", marca, 0, 1000);
    m_datos->addSheet("0000ZZZ", {{"NEUMATICOS", "OTRA MEDIDA"}});
    m_datos->addVehicle(matricula, marca, 0, kmVehiculo);
    m_datos->addTyres(matricula, QDate(2001, 3, 7), kmRuedas, "RUEDAS SA");
    if (!neumaticos.isEmpty())
        m_datos->addSheet(matricula, {{"NEUMATICOS", neumaticos}});
    Crear_Modulo(m_datos->carpeta());
    QVERIFY(m_modulo->TableMatriculas->locate("MATRICULA", matricula));

    TTable *r = m_modulo->TableRuedas;
    QCOMPARE(r->recordCount(), 1);
    TField *km = r->fieldByName("KmRueda");
    QCOMPARE(km->asInteger(), kmVehiculo - kmRuedas);
    QCOMPARE(Formatos::Texto_Valor(km, km->value()), kmRueda);
    QCOMPARE(r->fieldByName("Medida")->asString(), neumaticos);
    QCOMPARE(Formatos::Texto_Valor(km, r->valueAt(0, km)), kmRueda); // what a grid paints
    QVERIFY(!m_modulo->TablaFichaTec->active());
}

void TstModulo::proximo_data()
{
    QTest::addColumn<int>("kmVehiculo");
    QTest::addColumn<QString>("intervalos"); // empty: the brand has no interval record
    QTest::addColumn<QStringList>("operaciones"); // "km:TAREA TAREA", in storing order
    QTest::addColumn<QString>("esperado");        // tasks not named stay 0
    QTest::addColumn<int>("color");               // of the oil change

    const int granate = int(tColorProximo::Granate), marino = int(tColorProximo::AzulMarino),
              nada = int(tColorProximo::SinCambio);
    QTest::newRow("sin operaciones") << 30000 << "C_ACEITE=15000" << QStringList() << "" << nada;
    QTest::newRow("aceite vencido") << 30000 << "C_ACEITE=15000" << QStringList{"10000:C_ACEITE", "25000:F_AIRE"}
                                    << "C_ACEITE=25000,F_AIRE=25000" << granate;
    QTest::newRow("justo en la lectura") << 25000 << "C_ACEITE=15000" << QStringList{"10000:C_ACEITE", "25000:"}
                                         << "C_ACEITE=25000" << marino;
    QTest::newRow("marca sin intervalos") << 30000 << "" << QStringList{"10000:C_ACEITE BUJIAS", "20000:BUJIAS"}
                                          << "C_ACEITE=10000,BUJIAS=20000" << granate;
    // Stored later with a lower reading and an earlier date: still the one that counts.
    QTest::newRow("la ultima guardada manda")
        << 30000 << "C_ACEITE=10000,ENGRASE=5000" << QStringList{"40000:C_ACEITE ENGRASE", "20000:C_ACEITE"}
        << "C_ACEITE=30000,ENGRASE=45000" << marino;
    QTest::newRow("solo X mayuscula") << 30000 << "C_ACEITE=15000" << QStringList{"10000:x", "12000:*"} << ""
                                      << nada;
    QTest::newRow("todas las tareas")
        << 1000 << "C_ACEITE=1,F_ACEITE=2,F_AIRE=3,F_COMBUSTIBLE=4,L_REFRIGERANTE=5,L_FRENOS=6,P_DELANTERAS=7,"
                   "P_TRASERAS=8,ATF_CAJA=9,ATF_CONVERTIDOR=10,ATF_DIFERENCIAL=11,BUJIAS=12,ENGRASE=13"
        << QStringList{"1000:C_ACEITE F_ACEITE F_AIRE F_COMBUSTIBLE L_REFRIGERANTE L_FRENOS P_DELANTERAS "
                       "P_TRASERAS ATF_CAJA ATF_CONVERTIDOR ATF_DIFERENCIAL BUJIAS ENGRASE"}
        << "C_ACEITE=1001,F_ACEITE=1002,F_AIRE=1003,F_COMBUSTIBLE=1004,L_REFRIGERANTE=1005,L_FRENOS=1006,"
           "P_DELANTERAS=1007,P_TRASERAS=1008,ATF_CAJA=1009,ATF_CONVERTIDOR=1010,ATF_DIFERENCIAL=1011,"
           "BUJIAS=1012,ENGRASE=1013"
        << marino;
    QTest::newRow("desbordamiento") << 30000 << "C_ACEITE=2147483000" << QStringList{"10000:C_ACEITE"}
                                    << "C_ACEITE=2147483647" << marino;
}

void TstModulo::proximo()
{
    QFETCH(int, kmVehiculo);
    QFETCH(QString, intervalos);
    QFETCH(QStringList, operaciones);
    QFETCH(QString, esperado);
    QFETCH(int, color);

    // A second brand and vehicle whose records must not count; the plate has a quote.
    const int otra = m_datos->addBrand("OTRA");
    m_datos->addInterval(otra, {{"C_ACEITE", 1}, {"BUJIAS", 1}});
    m_datos->addVehicle("D'AVILA", otra, 0, 5000);
    m_datos->addMaintenance("D'AVILA", QDate(2001, 3, 7), 99000, {"C_ACEITE", "F_AIRE", "BUJIAS"});

    const int marca = m_datos->addBrand("AAA");
    if (!intervalos.isEmpty())
        m_datos->addInterval(marca, Leer_Valores(intervalos));
    const QString matricula = "O'NEIL 1";
    m_datos->addVehicle(matricula, marca, 0, kmVehiculo);
    QDate fecha(2010, 1, 1);
    for (const QString &op : operaciones) {
        const QStringList p = op.split(QLatin1Char(':'));
        QStringList tareas = p[1].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (tareas.size() == 1 && Indice_Tarea(tareas[0]) < 0) {
            // A flag holding something other than "X".
            m_datos->addRecord("Mantenimiento.DAT", {{"MATRICULA", matricula}, {"FECHA", fecha},
                                                     {"KILOMETROS", p[0].toInt()}, {"C_ACEITE", tareas[0]}});
        } else {
            m_datos->addMaintenance(matricula, fecha, p[0].toInt(), tareas);
        }
        fecha = fecha.addDays(-1);
    }
    Crear_Modulo(m_datos->carpeta());
    QVERIFY(m_modulo->TableMatriculas->locate("MATRICULA", matricula));
    m_modulo->Km_Proximo.fill(-1);
    m_modulo->Calcular_Proximo_Mantenimiento();

    const QMap<QString, int> valores = Leer_Valores(esperado);
    for (const tTarea &t : Tareas())
        QCOMPARE(m_modulo->Km_Proximo[std::size_t(Indice_Tarea(t.Campo))], valores.value(t.Campo, 0));
    QCOMPARE(m_modulo->Km_Actuales, kmVehiculo);
    const tVistaProximo aceite = Vista_Proximo(m_modulo->Km_Proximo[0], m_modulo->Km_Actuales);
    QCOMPARE(int(aceite.Color), color);
    for (TTable *t : {m_modulo->TablaMantto, m_modulo->TablaKmCambios}) {
        QVERIFY(!t->active());
        QVERIFY(!t->filtered());
    }
}

void TstModulo::proximoConElDetalle_data()
{
    QTest::addColumn<QString>("estado"); // of TableMantto when the computation starts
    QTest::addColumn<int>("aceite");
    QTest::newRow("siguiendo al vehículo") << "" << 35000;
    QTest::newRow("filtrada a otro vehículo") << "filtrada" << 35000;
    QTest::newRow("con una edición pendiente") << "editando" << 35000;
    QTest::newRow("cerrada") << "cerrada" << 35000;
    QTest::newRow("otro programa guardó después") << "otro programa" << 65000;
}

// The vehicle's operations are taken from the maintenance table when it holds
// exactly them as stored, and read from the file otherwise: the result is the
// file's, whatever that table is doing.
void TstModulo::proximoConElDetalle()
{
    QFETCH(QString, estado);
    QFETCH(int, aceite);
    const int marca = m_datos->addBrand("AAA");
    m_datos->addInterval(marca, {{"C_ACEITE", 15000}});
    m_datos->addVehicle("O'NEIL 1", marca, 0, 30000);
    m_datos->addVehicle("OTRO", marca, 0, 30000);
    m_datos->addMaintenance("O'NEIL 1", QDate(2010, 1, 1), 40000, {"C_ACEITE"});
    m_datos->addMaintenance("OTRO", QDate(2010, 1, 1), 99000, {"C_ACEITE"});
    // Stored last with an earlier date: the detail shows it first, yet it counts.
    m_datos->addMaintenance("O'NEIL 1", QDate(2009, 12, 31), 20000, {"C_ACEITE"});
    Crear_Modulo(m_datos->carpeta());
    TTable *mantto = m_modulo->TableMantto;
    QVERIFY(m_modulo->TableMatriculas->locate("MATRICULA", "O'NEIL 1"));
    QCOMPARE(mantto->recordCount(), 2);

    if (estado == QLatin1String("filtrada")) {
        mantto->setFilter(Filtro_Matricula("OTRO"));
        mantto->setFiltered(true);
    } else if (estado == QLatin1String("editando")) {
        mantto->edit();
        mantto->fieldByName("C_ACEITE")->clear();
    } else if (estado == QLatin1String("cerrada")) {
        mantto->close();
    } else if (estado == QLatin1String("otro programa")) {
        m_datos->addMaintenance("O'NEIL 1", QDate(2009, 1, 1), 50000, {"C_ACEITE"});
    }
    m_modulo->Calcular_Proximo_Mantenimiento();
    QCOMPARE(m_modulo->Km_Proximo[std::size_t(Indice_Tarea("C_ACEITE"))], aceite);

    // The table is left as it was found.
    QCOMPARE(mantto->filtered(), estado == QLatin1String("filtrada"));
    QCOMPARE(mantto->state(), estado == QLatin1String("editando") ? TDataSetState::Edit
                              : estado == QLatin1String("cerrada")  ? TDataSetState::Inactive
                                                                    : TDataSetState::Browse);
    for (TTable *t : {m_modulo->TablaMantto, m_modulo->TablaKmCambios}) {
        QVERIFY(!t->active());
        QVERIFY(!t->filtered());
    }
    if (mantto->state() == TDataSetState::Edit)
        mantto->cancel();
    QVERIFY(m_errores.isEmpty());
}

void TstModulo::formatosDeCampos_data()
{
    QTest::addColumn<QString>("tabla");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<QString>("mostrado");
    QTest::newRow("km de mantenimiento") << "TableMantto" << "KILOMETROS" << QVariant(123456) << "123.456";
    QTest::newRow("km de mantenimiento cero") << "TableMantto" << "KILOMETROS" << QVariant(0) << "";
    QTest::newRow("km de trabajo") << "TablaMantto" << "KILOMETROS" << QVariant(1234567) << "1.234.567";
    QTest::newRow("km de averia") << "TableAverias" << "KILOMETROS" << QVariant(-7500) << "-7.500";
    QTest::newRow("importe") << "TableAverias" << "IMPORTE" << QVariant(1234.5) << "1.234,5";
    QTest::newRow("intervalo") << "TableKmCambios" << "ENGRASE" << QVariant(15000) << "15.000";
    QTest::newRow("km de ruedas") << "TableRuedas" << "KILOMETROS" << QVariant(42500) << "42.500";
    QTest::newRow("km de informe") << "TablaMatriculas" << "KILOMETROS" << QVariant(123456) << "123.456";
    QTest::newRow("km del vehiculo sin formato") << "TableMatriculas" << "KILOMETROS" << QVariant(123456)
                                                 << "123456";
    QTest::newRow("intervalo de trabajo sin formato") << "TablaKmCambios" << "ENGRASE" << QVariant(15000)
                                                      << "15000";
    QTest::newRow("fecha") << "TableMantto" << "FECHA" << QVariant(QDate(2001, 3, 7)) << "07/03/2001";
    QTest::newRow("vacio") << "TableAverias" << "IMPORTE" << QVariant() << "";
}

void TstModulo::formatosDeCampos()
{
    QFETCH(QString, tabla);
    QFETCH(QString, campo);
    QFETCH(QVariant, valor);
    QFETCH(QString, mostrado);
    Crear_Modulo(m_datos->carpeta());
    const QMap<QString, TTable *> tablas{
        {"TableMantto", m_modulo->TableMantto},       {"TablaMantto", m_modulo->TablaMantto},
        {"TableAverias", m_modulo->TableAverias},     {"TableKmCambios", m_modulo->TableKmCambios},
        {"TableRuedas", m_modulo->TableRuedas},       {"TablaMatriculas", m_modulo->TablaMatriculas},
        {"TableMatriculas", m_modulo->TableMatriculas}, {"TablaKmCambios", m_modulo->TablaKmCambios}};
    TField *f = tablas.value(tabla)->fieldByName(campo);
    QCOMPARE(Formatos::Texto_Valor(f, valor), mostrado);
    QCOMPARE(Formatos::Texto_Edicion(f, valor), mostrado); // edited as shown
}

QTEST_GUILESS_MAIN(TstModulo)
#include "tst_modulo.moc"
