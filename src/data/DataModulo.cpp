// The data module: table objects, shared values, start-up check, vehicle header,
// tyre fields and the due computation.
#include "DataModulo.h"

#include "Esquema.h"
#include "Ficheros.h"
#include "Formatos.h"
#include "Table.h"

#include <QCoreApplication>
#include <QDebug>

#include <algorithm>
#include <limits>

TModuloDatos *ModuloDatos = nullptr;

namespace {

TModuloDatos::tManejadorError &Manejador()
{
    static TModuloDatos::tManejadorError m;
    return m;
}

TModuloDatos::tCursorEspera &Cursor()
{
    static TModuloDatos::tCursorEspera c;
    return c;
}

const QString kFormatoKm = QStringLiteral("###.###,##");
const QString kFormatoImporte = QStringLiteral("###.###.###,##");

void Formato(TField *campo, const QString &mascara)
{
    campo->setDisplayFormat(mascara);
    campo->setEditFormat(mascara);
}

// Declares every stored field of the table, in file order.
void Declarar_Todos(TTable *tabla)
{
    const TTableDef *def = Definicion_Tabla(tabla->tableName());
    Q_ASSERT(def);
    for (const TFieldDef &f : def->fields)
        tabla->addField(f.name);
}

qint32 Saturar(qint64 v)
{
    const qint64 menor = std::numeric_limits<qint32>::min(), mayor = std::numeric_limits<qint32>::max();
    return static_cast<qint32>(v < menor ? menor : (v > mayor ? mayor : v));
}

// Closes a work table and switches its filter off, however the computation ended.
// Closed first: switching the filter off on an open table would read it whole.
struct Cerrar_Al_Salir
{
    TTable *tabla;
    ~Cerrar_Al_Salir()
    {
        try {
            tabla->close();
            tabla->setFiltered(false);
        } catch (...) {
        }
    }
};

} // namespace

QString Filtro_Matricula(const QString &matricula)
{
    QString t = matricula;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QStringLiteral("Matricula = '") + t + QLatin1Char('\'');
}

QString Filtro_Marca(qint32 marca)
{
    return QStringLiteral("Marca = ") + QString::number(marca);
}

TModuloDatos::TModuloDatos(const QString &carpetaDatos, QObject *parent)
    : QObject(parent), m_carpeta(carpetaDatos.isEmpty() ? Carpeta_Datos_Predeterminada() : carpetaDatos)
{
    ModuloDatos = this;
    Crear_Objetos();
    DataModuleCreate();
}

TModuloDatos::~TModuloDatos()
{
    DataModuleDestroy();
    // Details and lookups go before the tables they hang on, never after.
    for (QObject *o : std::initializer_list<QObject *>{
             DSMatriculas, DSMarcas, DSModelos, DSMantto, DSAverias, DSRuedas, DSFichaTec, DSKmCambios, TablaMantto,
             TablaKmCambios, TablaMatriculas, TablaFichaTec, TableMantto, TableAverias, TableRuedas, TableFichaTec,
             TableKmCambios, TableMatriculas, TableModelos, TableMarcas})
        delete o;
    if (ModuloDatos == this)
        ModuloDatos = nullptr;
}

QString TModuloDatos::Carpeta_Datos_Predeterminada()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir + QStringLiteral("Datos");
}

void TModuloDatos::Establecer_Manejador_Error(tManejadorError manejador)
{
    Manejador() = std::move(manejador);
}

void TModuloDatos::Informar_Error(std::exception_ptr error)
{
    if (Manejador()) {
        Manejador()(error);
        return;
    }
    try {
        std::rethrow_exception(error);
    } catch (const ECodedError &e) {
        qWarning().noquote() << e.message();
    } catch (const std::exception &e) {
        qWarning().noquote() << e.what();
    } catch (...) {
        qWarning() << "Error desconocido en el módulo de datos";
    }
}

void TModuloDatos::Establecer_Cursor_Espera(tCursorEspera cursor)
{
    Cursor() = std::move(cursor);
}

void TModuloDatos::Crear_Objetos()
{
    DbMaestro = new TDatabase(QStringLiteral("Maestro"), this);

    auto tabla = [this](const char *nombre) {
        auto *t = new TTable(this);
        t->setDatabase(DbMaestro);
        t->setTableName(QString::fromLatin1(nombre));
        return t;
    };
    TableMatriculas = tabla("Matriculas.DAT");
    TableMarcas = tabla("Marcas.DAT");
    TableModelos = tabla("Modelos.DAT");
    TableMantto = tabla("Mantenimiento.DAT");
    TableAverias = tabla("Averias.DAT");
    TableRuedas = tabla("Ruedas.DAT");
    TableFichaTec = tabla("FichaTecnica.DAT");
    TableKmCambios = tabla("KmCambios.DAT");
    TablaMantto = tabla("Mantenimiento.DAT");
    TablaKmCambios = tabla("KmCambios.DAT");
    TablaMatriculas = tabla("Matriculas.DAT");
    TablaFichaTec = tabla("FichaTecnica.DAT");

    // The current vehicle, with its brand and model names looked up in the catalogues.
    for (TTable *t : {TableMatriculas, TablaMatriculas}) {
        t->addField(QStringLiteral("MATRICULA"));
        t->addField(QStringLiteral("MARCA"));
        t->addField(QStringLiteral("MODELO"));
        if (t == TablaMatriculas)
            t->addField(QStringLiteral("KILOMETROS"));
        t->addLookupField(QStringLiteral("sMarca"), 20, QStringLiteral("MARCA"), TableMarcas,
                          QStringLiteral("ORDENMARCA"), QStringLiteral("MARCA"));
        t->addLookupField(QStringLiteral("sModelo"), 20, QStringLiteral("MODELO"), TableModelos,
                          QStringLiteral("ORDENMODELO"), QStringLiteral("MODELO"));
    }
    TableMatriculas->addField(QStringLiteral("MARCA_S"));
    TableMatriculas->addField(QStringLiteral("MODELO_S"));
    TableMatriculas->addField(QStringLiteral("KILOMETROS"));
    Formato(TablaMatriculas->fieldByName(QStringLiteral("KILOMETROS")), kFormatoKm);

    TableMarcas->addField(QStringLiteral("MARCA"));
    TableMarcas->addField(QStringLiteral("ORDENMARCA"));
    TableModelos->addField(QStringLiteral("MODELO"));
    TableModelos->addField(QStringLiteral("ORDENMODELO"));
    TableModelos->addField(QStringLiteral("ORDENMARCA"));

    for (TTable *t : {TableMantto, TableAverias, TableRuedas, TableFichaTec, TableKmCambios})
        Declarar_Todos(t);
    TableRuedas->addCalculatedField(QStringLiteral("KmRueda"), TFieldType::Integer);
    TableRuedas->addCalculatedField(QStringLiteral("Medida"), TFieldType::Text, 20);

    for (TTable *t : {TableMantto, TableAverias, TableRuedas, TableFichaTec}) {
        t->setIndexName(QStringLiteral("Orden_Matri"));
        t->setMasterSource(TableMatriculas, QStringLiteral("MATRICULA"));
    }
    TableKmCambios->setIndexName(QStringLiteral("Orden_Marca"));
    TableKmCambios->setMasterSource(TableMarcas, QStringLiteral("ORDENMARCA"));

    TablaMantto->addField(QStringLiteral("FECHA"));
    TablaMantto->addField(QStringLiteral("KILOMETROS"));
    for (const tTarea &t : Tareas())
        TablaMantto->addField(t.Campo);
    TablaMantto->addField(QStringLiteral("MATRICULA"));

    TablaKmCambios->addField(QStringLiteral("MARCA"));
    for (const tTarea &t : Tareas())
        TablaKmCambios->addField(t.Campo);

    TablaFichaTec->addField(QStringLiteral("MATRICULA"));
    TablaFichaTec->addField(QStringLiteral("NEUMATICOS"));

    // Number formats, for showing and for editing.
    Formato(TableMantto->fieldByName(QStringLiteral("KILOMETROS")), kFormatoKm);
    Formato(TablaMantto->fieldByName(QStringLiteral("KILOMETROS")), kFormatoKm);
    Formato(TableRuedas->fieldByName(QStringLiteral("KILOMETROS")), kFormatoKm);
    Formato(TableRuedas->fieldByName(QStringLiteral("KmRueda")), kFormatoKm);
    Formato(TableAverias->fieldByName(QStringLiteral("KILOMETROS")), kFormatoKm);
    Formato(TableAverias->fieldByName(QStringLiteral("IMPORTE")), kFormatoImporte);
    for (const tTarea &t : Tareas())
        Formato(TableKmCambios->fieldByName(t.Campo), kFormatoKm);

    TableRuedas->setOnCalcFields([this](TTable &t) { TableRuedasCalcFields(t); });
    connect(TableMatriculas, &TTable::afterScroll, this, &TModuloDatos::TableMatriculasAfterScroll);

    auto fuente = [this](TTable *t) {
        auto *ds = new TDataSource(t, this);
        ds->setAutoEdit(false); // only an editor dialog starts an edit
        return ds;
    };
    DSMatriculas = fuente(TableMatriculas);
    DSMarcas = fuente(TableMarcas);
    DSModelos = fuente(TableModelos);
    DSMantto = fuente(TableMantto);
    DSAverias = fuente(TableAverias);
    DSRuedas = fuente(TableRuedas);
    DSFichaTec = fuente(TableFichaTec);
    DSKmCambios = fuente(TableKmCambios);
}

void TModuloDatos::DataModuleCreate()
{
    try {
        Pantalla_Activa = Pantalla_Ninguna;
        DbMaestro->setDirectory(m_carpeta);
        Revisar_Tablas(m_carpeta);
        Abrir_Tablas();
        TableStore::setStrictChangeDetection(true);
    } catch (...) {
        Informar_Error(std::current_exception());
    }
}

void TModuloDatos::DataModuleDestroy()
{
    try {
        Cerrar_Tablas();
    } catch (...) {
        Informar_Error(std::current_exception());
    }
}

void TModuloDatos::Abrir_Tablas()
{
    for (TTable *t : {TableMantto, TableAverias, TableFichaTec, TableMatriculas, TableRuedas, TableKmCambios,
                      TableMarcas, TableModelos})
        t->open();
}

void TModuloDatos::Cerrar_Tablas()
{
    for (TTable *t : {TableMatriculas, TableMantto, TableFichaTec, TableAverias, TableRuedas, TableKmCambios,
                      TableMarcas, TableModelos})
        t->close();
}

void TModuloDatos::Revisar_Tablas(const QString &carpeta)
{
    if (Cursor())
        Cursor()(true);
    struct Restaurar
    {
        ~Restaurar()
        {
            if (Cursor())
                Cursor()(false);
        }
    } restaurar;

    QStringList lista;
    TTable temporal; // a table by full path, in no database
    Listar_Ficheros(Unir_Camino(carpeta, QStringLiteral("*.DAT")), lista);
    for (const QString &ruta : lista) {
        temporal.setTableName(ruta);
        // Compared on the character codes, as the versions are written ("2.50" < "3.00").
        if (QString::compare(temporal.formatVersion(), QStringLiteral("3.00"), Qt::CaseSensitive) < 0)
            temporal.upgrade();
    }
    Borrar_Ficheros(carpeta, QStringLiteral("*.DUP"), false);
    Borrar_Ficheros(carpeta, QStringLiteral("*.??P"), false);
}

void TModuloDatos::Actualizar_Cabecera_Vehiculo()
{
    Cabecera_Vehiculo = TableMatriculas->fieldByName(QStringLiteral("sMarca"))->asString() + QLatin1Char(' ')
        + TableMatriculas->fieldByName(QStringLiteral("sModelo"))->asString()
        + QStringLiteral(" - Kmtros actuales: ")
        + Formatos::Formatear_N(TableMatriculas->fieldByName(QStringLiteral("KILOMETROS"))->asInteger(), 0);
}

void TModuloDatos::Registrar_Ventana(quint8 pantalla, tVentanaVehiculo *ventana, QObject *vida)
{
    if (pantalla >= m_ventanas.size())
        return;
    m_ventanas[pantalla] = ventana;
    if (vida)
        connect(vida, &QObject::destroyed, this, [this, ventana] { Quitar_Ventana(ventana); });
}

void TModuloDatos::Quitar_Ventana(tVentanaVehiculo *ventana)
{
    for (auto &v : m_ventanas)
        if (v == ventana)
            v = nullptr;
}

void TModuloDatos::TableMatriculasAfterScroll()
{
    // A window that has closed has unregistered itself, so a stale Pantalla_Activa
    // refreshes nothing.
    tVentanaVehiculo *ventana = Pantalla_Activa < m_ventanas.size() ? m_ventanas[Pantalla_Activa] : nullptr;
    if (!ventana)
        return;
    try {
        ventana->Actualizar_Titulo();
        if (Pantalla_Activa == Pantalla_Mantenimiento) {
            Calcular_Proximo_Mantenimiento();
            ventana->Mostrar_Proximo_Mantenimiento();
        }
    } catch (...) {
        // The move itself has happened; the failure is reported, not sent back
        // through the store that announced the move.
        Informar_Error(std::current_exception());
    }
}

void TModuloDatos::Mostrar_Proximo_Mantenimiento()
{
    if (tVentanaVehiculo *v = m_ventanas[Pantalla_Mantenimiento])
        v->Mostrar_Proximo_Mantenimiento();
}

void TModuloDatos::TableRuedasCalcFields(TTable &tabla)
{
    TField *kmRueda = tabla.fieldByName(QStringLiteral("KmRueda"));
    TField *medida = tabla.fieldByName(QStringLiteral("Medida"));
    if (!TableMatriculas->active() || TableMatriculas->isEmpty()) {
        kmRueda->clear();
        medida->clear();
        return;
    }
    const qint64 km = qint64(TableMatriculas->fieldByName(QStringLiteral("KILOMETROS"))->asInteger())
        - tabla.fieldByName(QStringLiteral("KILOMETROS"))->asInteger();
    kmRueda->setAsInteger(Saturar(km));

    // The sheet is looked up by plate; the filter reads that one record instead of
    // the whole table.
    const QString matricula = TableMatriculas->fieldByName(QStringLiteral("MATRICULA"))->asString();
    Cerrar_Al_Salir cerrar{TablaFichaTec};
    TablaFichaTec->close();
    TablaFichaTec->setFilter(Filtro_Matricula(matricula));
    TablaFichaTec->setFiltered(true);
    TablaFichaTec->open();
    if (TablaFichaTec->locate(QStringLiteral("Matricula"), matricula))
        medida->setAsString(TablaFichaTec->fieldByName(QStringLiteral("NEUMATICOS"))->asString());
    else
        medida->clear();
}

void TModuloDatos::Calcular_Proximo_Mantenimiento()
{
    Km_Proximo.fill(0);
    Km_Actuales = TableMatriculas->fieldByName(QStringLiteral("KILOMETROS"))->asInteger();
    const QString matricula = TableMatriculas->fieldByName(QStringLiteral("MATRICULA"))->asString();
    const qint32 marca = TableMatriculas->fieldByName(QStringLiteral("MARCA"))->asInteger();

    Cerrar_Al_Salir cerrarMantto{TablaMantto};
    Cerrar_Al_Salir cerrarKm{TablaKmCambios};
    TablaMantto->close();

    // The vehicle's operations. The maintenance table follows the vehicle and the
    // maintenance window's grid has just read them for the move: when it shows
    // exactly them, as stored, they are visited there instead of being read a
    // second time through the work table, filtered before opening.
    TTable *operaciones = TablaMantto;
    if (TableMantto_Del_Vehiculo()) {
        TableMantto->checkForChanges(); // what other programs stored since it read them
        operaciones = TableMantto;
    } else {
        TablaMantto->setFilter(Filtro_Matricula(matricula));
        TablaMantto->setFiltered(true);
        TablaMantto->open();
    }

    TablaKmCambios->close();
    TablaKmCambios->setFilter(Filtro_Marca(marca));
    TablaKmCambios->setFiltered(true);
    TablaKmCambios->open();

    // The rows are in memory: they are walked without a check of the file on
    // every move.
    std::array<qint32, Num_Tareas> intervalo{};
    std::array<TField *, Num_Tareas> hecha{};
    const bool hayIntervalos = !TablaKmCambios->isEmpty();
    for (std::size_t i = 0; i < std::size_t(Num_Tareas); ++i) {
        const QString &campo = Tareas()[i].Campo;
        if (hayIntervalos)
            intervalo[i] = TablaKmCambios->valueAt(0, TablaKmCambios->fieldByName(campo)).toInt();
        hecha[i] = operaciones->fieldByName(campo);
    }
    const TField *km = operaciones->fieldByName(QStringLiteral("KILOMETROS"));

    // Storing order: the last operation entered that did a task decides its value.
    const int filas = operaciones->recordCount();
    std::vector<std::pair<qint64, int>> orden;
    orden.reserve(std::size_t(filas));
    for (int fila = 0; fila < filas; ++fila)
        orden.emplace_back(operaciones->recordId(fila), fila);
    std::sort(orden.begin(), orden.end());
    for (const auto &[id, fila] : orden) {
        const qint64 lectura = operaciones->valueAt(fila, km).toInt();
        for (std::size_t i = 0; i < std::size_t(Num_Tareas); ++i) {
            const QVariant marca = operaciones->valueAt(fila, hecha[i]);
            if (!marca.isNull() && marca.toString() == QLatin1String("X"))
                Km_Proximo[i] = Saturar(lectura + intervalo[i]);
        }
    }
}

bool TModuloDatos::TableMantto_Del_Vehiculo() const
{
    // Browsing both, the detail unfiltered: its rows are the current vehicle's
    // operations and nothing else (an edit in progress or a report's filter
    // would make them something else).
    return TableMantto->active() && TableMantto->state() == TDataSetState::Browse && !TableMantto->filtered()
        && TableMantto->masterSource() == TableMatriculas && TableMatriculas->active()
        && TableMatriculas->state() == TDataSetState::Browse;
}
