// The data module: table objects, shared values, start-up check, vehicle header,
// tyre fields and the due computation.
#include "DataModulo.h"

#include "Esquema.h"
#include "Ficheros.h"
#include "Formatos.h"
#include "Table.h"
#include "Ubicaciones.h"

#include <QDebug>
#include <QFileInfo>
#include <QMap>

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

// A field that the file does not store: looked up in a catalogue, or worked out
// by the module for every record shown.
struct TCampoVirtual
{
    QString Nombre;
    TFieldKind Clase;
    TFieldType Tipo;
    int Tamano;
    QString Clave, Tabla, Clave_Tabla, Resultado; // lookups only
};

const QList<TCampoVirtual> &Campos_Virtuales()
{
    static const QList<TCampoVirtual> campos{
        {QStringLiteral("sMarca"), TFieldKind::Lookup, TFieldType::Text, 20, QStringLiteral("MARCA"),
         QStringLiteral("TableMarcas"), QStringLiteral("ORDENMARCA"), QStringLiteral("MARCA")},
        {QStringLiteral("sModelo"), TFieldKind::Lookup, TFieldType::Text, 20, QStringLiteral("MODELO"),
         QStringLiteral("TableModelos"), QStringLiteral("ORDENMODELO"), QStringLiteral("MODELO")},
        {QStringLiteral("KmRueda"), TFieldKind::Calculated, TFieldType::Integer, 0, {}, {}, {}, {}},
        {QStringLiteral("Medida"), TFieldKind::Calculated, TFieldType::Text, 20, {}, {}, {}, {}},
    };
    return campos;
}

// Every stored field of the file, in file order, where it stands in a field list.
const QString Todos = QStringLiteral("*");

// One table object of the module. Creation, the opening and closing orders,
// the close before a backup, lookup by name and deletion all come from these rows.
struct TObjetoTabla
{
    QString Nombre;
    TTable *TModuloDatos::*Objeto;
    QString Fichero;
    QStringList Campos;  // declared, in order
    QString Indice;      // named index, or empty
    QString Maestro;     // master object and its linked field, or empty
    QString Campo_Maestro;
    int Apertura;        // place in Abrir_Tablas; 0: opened by the computation or report that needs it
    int Cierre;          // place in Cerrar_Tablas; 0 likewise
    TDataSource *TModuloDatos::*Fuente; // the windows' data source, or none
    QString Nombre_Fuente;
    QMap<QString, QString> Formatos; // display and edit format by field
};

QStringList Campos_Tareas()
{
    QStringList r;
    for (const tTarea &t : Tareas())
        r << t.Campo;
    return r;
}

QMap<QString, QString> Formatos_Km(const QStringList &campos)
{
    QMap<QString, QString> r;
    for (const QString &c : campos)
        r.insert(c, kFormatoKm);
    return r;
}

// Masters and lookup tables come before the objects that use them: the objects
// are created in this order and deleted in the reverse one.
const QList<TObjetoTabla> &Objetos()
{
    using M = TModuloDatos;
    const QString matricula = QStringLiteral("MATRICULA"), km = QStringLiteral("KILOMETROS");
    const QString porMatricula = QStringLiteral("Orden_Matri");
    static const QList<TObjetoTabla> objetos{
        {QStringLiteral("TableMarcas"), &M::TableMarcas, QStringLiteral("Marcas.DAT"),
         {QStringLiteral("MARCA"), QStringLiteral("ORDENMARCA")}, {}, {}, {}, 7, 7, &M::DSMarcas,
         QStringLiteral("DSMarcas"), {}},
        {QStringLiteral("TableModelos"), &M::TableModelos, QStringLiteral("Modelos.DAT"),
         {QStringLiteral("MODELO"), QStringLiteral("ORDENMODELO"), QStringLiteral("ORDENMARCA")}, {}, {}, {}, 8, 8,
         &M::DSModelos, QStringLiteral("DSModelos"), {}},
        {QStringLiteral("TableMatriculas"), &M::TableMatriculas, QStringLiteral("Matriculas.DAT"),
         {matricula, QStringLiteral("MARCA"), QStringLiteral("MODELO"), QStringLiteral("sMarca"),
          QStringLiteral("sModelo"), QStringLiteral("MARCA_S"), QStringLiteral("MODELO_S"), km},
         {}, {}, {}, 4, 1, &M::DSMatriculas, QStringLiteral("DSMatriculas"), {}},
        {QStringLiteral("TableMantto"), &M::TableMantto, QStringLiteral("Mantenimiento.DAT"), {Todos}, porMatricula,
         QStringLiteral("TableMatriculas"), matricula, 1, 2, &M::DSMantto, QStringLiteral("DSMantto"),
         Formatos_Km({km})},
        {QStringLiteral("TableAverias"), &M::TableAverias, QStringLiteral("Averias.DAT"), {Todos}, porMatricula,
         QStringLiteral("TableMatriculas"), matricula, 2, 4, &M::DSAverias, QStringLiteral("DSAverias"),
         {{km, kFormatoKm}, {QStringLiteral("IMPORTE"), kFormatoImporte}}},
        {QStringLiteral("TableRuedas"), &M::TableRuedas, QStringLiteral("Ruedas.DAT"),
         {Todos, QStringLiteral("KmRueda"), QStringLiteral("Medida")}, porMatricula, QStringLiteral("TableMatriculas"),
         matricula, 5, 5, &M::DSRuedas, QStringLiteral("DSRuedas"), Formatos_Km({km, QStringLiteral("KmRueda")})},
        {QStringLiteral("TableFichaTec"), &M::TableFichaTec, QStringLiteral("FichaTecnica.DAT"), {Todos},
         porMatricula, QStringLiteral("TableMatriculas"), matricula, 3, 3, &M::DSFichaTec,
         QStringLiteral("DSFichaTec"), {}},
        {QStringLiteral("TableKmCambios"), &M::TableKmCambios, QStringLiteral("KmCambios.DAT"), {Todos},
         QStringLiteral("Orden_Marca"), QStringLiteral("TableMarcas"), QStringLiteral("ORDENMARCA"), 6, 6,
         &M::DSKmCambios, QStringLiteral("DSKmCambios"), Formatos_Km(Campos_Tareas())},
        {QStringLiteral("TablaMantto"), &M::TablaMantto, QStringLiteral("Mantenimiento.DAT"),
         QStringList{QStringLiteral("FECHA"), km} + Campos_Tareas() + QStringList{matricula}, {}, {}, {}, 0, 0,
         nullptr, {}, Formatos_Km({km})},
        {QStringLiteral("TablaKmCambios"), &M::TablaKmCambios, QStringLiteral("KmCambios.DAT"),
         QStringList{QStringLiteral("MARCA")} + Campos_Tareas(), {}, {}, {}, 0, 0, nullptr, {}, {}},
        {QStringLiteral("TablaMatriculas"), &M::TablaMatriculas, QStringLiteral("Matriculas.DAT"),
         {matricula, QStringLiteral("MARCA"), QStringLiteral("MODELO"), km, QStringLiteral("sMarca"),
          QStringLiteral("sModelo")},
         {}, {}, {}, 0, 0, nullptr, {}, Formatos_Km({km})},
        {QStringLiteral("TablaFichaTec"), &M::TablaFichaTec, QStringLiteral("FichaTecnica.DAT"),
         {matricula, QStringLiteral("NEUMATICOS")}, {}, {}, {}, 0, 0, nullptr, {}, {}},
    };
    return objetos;
}

// The rows with a place in an order (Apertura or Cierre), in that order.
QList<const TObjetoTabla *> En_Orden(int TObjetoTabla::*lugar)
{
    QList<const TObjetoTabla *> r;
    for (const TObjetoTabla &o : Objetos())
        if (o.*lugar > 0)
            r << &o;
    std::sort(r.begin(), r.end(),
              [lugar](const TObjetoTabla *a, const TObjetoTabla *b) { return a->*lugar < b->*lugar; });
    return r;
}

const QList<const TObjetoTabla *> &Orden_Apertura()
{
    static const QList<const TObjetoTabla *> orden = En_Orden(&TObjetoTabla::Apertura);
    return orden;
}

const QList<const TObjetoTabla *> &Orden_Cierre()
{
    static const QList<const TObjetoTabla *> orden = En_Orden(&TObjetoTabla::Cierre);
    return orden;
}

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
    Destruir_Objetos();
    if (ModuloDatos == this)
        ModuloDatos = nullptr;
}

QString TModuloDatos::Carpeta_Datos_Predeterminada()
{
    return Ubicaciones().Carpeta_Datos;
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
    for (const TObjetoTabla &o : Objetos()) {
        auto *t = new TTable(this);
        t->setObjectName(o.Nombre);
        t->setDatabase(DbMaestro);
        t->setTableName(o.Fichero);
        this->*o.Objeto = t;
        for (const QString &campo : o.Campos) {
            if (campo == Todos) {
                Declarar_Todos(t);
                continue;
            }
            const auto v = std::find_if(Campos_Virtuales().begin(), Campos_Virtuales().end(),
                                        [&](const TCampoVirtual &c) { return c.Nombre == campo; });
            if (v == Campos_Virtuales().end())
                t->addField(campo);
            else if (v->Clase == TFieldKind::Lookup)
                t->addLookupField(v->Nombre, v->Tamano, v->Clave, Tabla(v->Tabla), v->Clave_Tabla, v->Resultado);
            else
                t->addCalculatedField(v->Nombre, v->Tipo, v->Tamano);
        }
        if (!o.Indice.isEmpty())
            t->setIndexName(o.Indice);
        if (!o.Maestro.isEmpty())
            t->setMasterSource(Tabla(o.Maestro), o.Campo_Maestro);
        for (auto f = o.Formatos.cbegin(); f != o.Formatos.cend(); ++f)
            Formato(t->fieldByName(f.key()), f.value());
        if (o.Fuente) {
            auto *ds = new TDataSource(t, this);
            ds->setObjectName(o.Nombre_Fuente);
            ds->setAutoEdit(false); // only an editor dialog starts an edit
            this->*o.Fuente = ds;
        }
    }

    TableRuedas->setOnCalcFields([this](TTable &t) { TableRuedasCalcFields(t); });
    connect(TableMatriculas, &TTable::afterScroll, this, &TModuloDatos::TableMatriculasAfterScroll);
}

// Data sources first, then every object before the masters and catalogues it
// hangs on: a detail or a lookup never outlives the table it refers to.
void TModuloDatos::Destruir_Objetos()
{
    for (const TObjetoTabla &o : Objetos())
        if (o.Fuente) {
            delete (this->*o.Fuente);
            this->*o.Fuente = nullptr;
        }
    for (auto o = Objetos().crbegin(); o != Objetos().crend(); ++o) {
        delete (this->*o->Objeto);
        this->*o->Objeto = nullptr;
    }
}

TTable *TModuloDatos::Tabla(const QString &nombre) const
{
    for (const TObjetoTabla &o : Objetos())
        if (o.Nombre.compare(nombre, Qt::CaseInsensitive) == 0)
            return this->*o.Objeto;
    return nullptr;
}

TDataSource *TModuloDatos::Fuente(const TTable *tabla) const
{
    for (const TObjetoTabla &o : Objetos())
        if (tabla && this->*o.Objeto == tabla)
            return o.Fuente ? this->*o.Fuente : nullptr;
    return nullptr;
}

QStringList TModuloDatos::Nombres_Tablas()
{
    QStringList r;
    for (const TObjetoTabla &o : Objetos())
        r << o.Nombre;
    return r;
}

void TModuloDatos::DataModuleCreate()
{
    QString enCurso; // the table file being checked or opened
    try {
        Pantalla_Activa = Pantalla_Ninguna;
        DbMaestro->setDirectory(m_carpeta);
        Revisar_Tablas(m_carpeta, &enCurso);
        Abrir_Tablas(&enCurso);
        enCurso.clear();
        TableStore::setStrictChangeDetection(true);
    } catch (...) {
        Fichero_Fallido = QFileInfo(enCurso).fileName();
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
    Abrir_Tablas(nullptr);
}

void TModuloDatos::Abrir_Tablas(QString *enCurso)
{
    for (const TObjetoTabla *o : Orden_Apertura()) {
        TTable *t = this->*o->Objeto;
        if (enCurso)
            *enCurso = t->tableName();
        t->open();
    }
}

void TModuloDatos::Cerrar_Tablas()
{
    for (const TObjetoTabla *o : Orden_Cierre())
        (this->*o->Objeto)->close();
}

void TModuloDatos::Cerrar_Carpeta_Datos()
{
    QList<const TObjetoTabla *> todos = Orden_Cierre();
    for (const TObjetoTabla &o : Objetos())
        if (o.Cierre == 0)
            todos << &o;
    std::exception_ptr primero;
    for (const TObjetoTabla *o : todos) {
        try {
            (this->*o->Objeto)->close();
        } catch (...) {
            if (!primero)
                primero = std::current_exception();
        }
    }
    if (primero)
        std::rethrow_exception(primero);
}

void TModuloDatos::Revisar_Tablas(const QString &carpeta)
{
    Revisar_Tablas(carpeta, nullptr);
}

void TModuloDatos::Revisar_Tablas(const QString &carpeta, QString *enCurso)
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
        if (enCurso)
            *enCurso = ruta;
        temporal.setTableName(ruta);
        // Compared on the character codes, as the versions are written ("2.50" < "3.00").
        if (QString::compare(temporal.formatVersion(), QStringLiteral("3.00"), Qt::CaseSensitive) < 0)
            temporal.upgrade();
    }
    if (enCurso)
        enCurso->clear();
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
