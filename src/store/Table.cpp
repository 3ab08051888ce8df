// The database object, and table objects from their declaration to open and
// close. Reading and moving live in TablaLectura.cpp, editing in
// TablaEdicion.cpp, field access in Campo.cpp.
//
// When the rows are read again: on open, refresh, post, delete, filter changes and
// every move of the master; and, before a move, when the file changed since the
// last read. Commits through this process are seen before any move; with strict
// change detection, commits by other programs (PRAGMA data_version) are looked for
// when a read starts (first, last, locate, a jump to a row, edit), not at every
// next/prior of a walk. valueAt never reads the file.
//
// A detail whose master is closed or has no record shows no rows. Moving while a
// record is pending posts it first; a master that moves away from a detail's
// pending record posts it, or cancels it when the post fails.
#include "Table.h"

#include "TablaPrivada.h"

#include <QDir>
#include <QFileInfo>

using namespace store;

// ---------------------------------------------------------------------------
// Database

TDatabase::TDatabase(const QString &databaseName, QObject *parent) : QObject(parent), m_d(new Private)
{
    m_d->name = databaseName;
}

TDatabase::~TDatabase() = default;

QString TDatabase::databaseName() const
{
    return m_d->name;
}

QString TDatabase::directory() const
{
    return m_d->directory;
}

void TDatabase::setDirectory(const QString &folder)
{
    if (m_d->openTables > 0)
        throw EDBEngineError(EngineCode::InvalidUse,
                             QStringLiteral("No se puede cambiar la carpeta de la base de datos %1 con tablas abiertas.")
                                 .arg(m_d->name));
    m_d->directory = folder;
}

QString TDatabase::tablePath(const QString &tableName) const
{
    return QDir(m_d->directory).filePath(tableName);
}

namespace {
// A folder as the file system knows it: symbolic links resolved, no trailing
// separator; the cleaned absolute path when it does not exist (any more).
QString carpetaReal(const QString &carpeta)
{
    const QFileInfo i(carpeta);
    const QString real = i.canonicalFilePath();
    return real.isEmpty() ? QDir::cleanPath(i.absoluteFilePath()) : real;
}
}

QStringList TDatabase::openFilesIn(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    const QString buscada = carpetaReal(folder);
    QStringList r;
    for (const QString &ruta : ficherosAbiertos()) {
        const QFileInfo f(ruta);
        if (carpetaReal(f.absolutePath()) != buscada)
            continue;
        const QString real = f.canonicalFilePath();
        const QString nombre = real.isEmpty() ? f.fileName() : QFileInfo(real).fileName();
        if (!r.contains(nombre))
            r << nombre;
    }
    r.sort();
    return r;
}

// ---------------------------------------------------------------------------
// Table object: declaration

TTable::TTable(QObject *parent) : QObject(parent), d(new Private(this))
{
}

TTable::~TTable()
{
    d->disconnectMaster();
    for (const QPointer<TTable> &t : d->enlace.detalles())
        if (t)
            t->d->enlace.maestro = nullptr;
    if (d->abierta)
        d->releaseConnection();
}

void TTable::setDatabase(TDatabase *db)
{
    d->db = db;
}

TDatabase *TTable::database() const
{
    return d->db;
}

void TTable::setTableName(const QString &name)
{
    d->requireClosed(QStringLiteral("No se puede cambiar el nombre de la tabla %1 abierta."));
    d->tableName = name;
}

QString TTable::tableName() const
{
    return d->tableName;
}

QString TTable::filePath() const
{
    return d->db ? d->db->tablePath(d->tableName) : d->tableName;
}

TField *TTable::addField(const QString &name)
{
    d->requireClosed(QStringLiteral("No se pueden declarar campos con la tabla %1 abierta."));
    if (TField *f = findField(name))
        return f;
    d->fields.emplace_back(new TField(this, name, TFieldKind::Data, TFieldType::Text, 0));
    return d->fields.back().get();
}

TField *TTable::addLookupField(const QString &name, int size, const QString &keyField, TTable *lookupTable,
                               const QString &lookupKeyField, const QString &lookupResultField)
{
    d->requireClosed(QStringLiteral("No se pueden declarar campos con la tabla %1 abierta."));
    auto *f = new TField(this, name, TFieldKind::Lookup, TFieldType::Text, size);
    f->m_keyFields = keyField;
    f->m_lookupTable = lookupTable;
    f->m_lookupKey = lookupKeyField;
    f->m_lookupResult = lookupResultField;
    d->fields.emplace_back(f);
    return f;
}

TField *TTable::addCalculatedField(const QString &name, TFieldType type, int size)
{
    d->requireClosed(QStringLiteral("No se pueden declarar campos con la tabla %1 abierta."));
    auto *f = new TField(this, name, TFieldKind::Calculated, type, size);
    d->fields.emplace_back(f);
    d->calc.campos.append(f);
    return f;
}

TField *TTable::findField(const QString &name) const
{
    for (const auto &f : d->fields)
        if (f->m_name.compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TField *TTable::fieldByName(const QString &name) const
{
    if (TField *f = findField(name))
        return f;
    d->error(EngineCode::InvalidUse, QStringLiteral("El campo %1 no existe en la tabla %2.").arg(name, d->name()));
}

QList<TField *> TTable::fields() const
{
    QList<TField *> r;
    for (const auto &f : d->fields)
        r.append(f.get());
    return r;
}

void TTable::setIndexName(const QString &name)
{
    d->requireClosed(QStringLiteral("No se puede cambiar el índice de la tabla %1 abierta."));
    d->indexName = name;
}

QString TTable::indexName() const
{
    return d->indexName;
}

void TTable::setMasterSource(TTable *master, const QString &masterField)
{
    d->requireClosed(QStringLiteral("No se puede enlazar la tabla %1 abierta."));
    d->enlace.maestro = master;
    d->enlace.campoMaestro = masterField;
}

TTable *TTable::masterSource() const
{
    return d->enlace.maestro;
}

void TTable::setFilter(const QString &filter)
{
    const Filtro nuevo = leerFiltro(filter, d->name());
    if (active() && !nuevo.vacio() && d->fileColumn(nuevo.campo) < 0)
        d->error(EngineCode::InvalidUse,
                 QStringLiteral("El campo %1 del filtro no existe en la tabla %2.").arg(nuevo.campo, d->name()));
    if (active() && d->editing())
        d->leaveEditForMove();
    d->filterText = filter;
    d->filtro = nuevo;
    if (active() && d->filtered)
        d->reloadFromFirst();
}

QString TTable::filter() const
{
    return d->filterText;
}

void TTable::setFiltered(bool on)
{
    if (d->filtered == on)
        return;
    if (active() && d->editing())
        d->leaveEditForMove();
    d->filtered = on;
    if (active() && !d->filtro.vacio())
        d->reloadFromFirst();
}

bool TTable::filtered() const
{
    return d->filtered;
}

void TTable::setOnCalcFields(CalcFieldsHandler h)
{
    d->onCalc = std::move(h);
    d->invalidateCaches();
}

// ---------------------------------------------------------------------------
// Opening and closing

// Without any declared data field, every stored field in file order.
void TTable::Private::declareStoredFields(const Esquema &e)
{
    for (const auto &f : fields)
        if (f->m_kind == TFieldKind::Data)
            return;
    for (const Columna &c : e.columnas)
        fields.emplace_back(new TField(q, c.nombre, TFieldKind::Data, TFieldType(c.tipo), c.tamano));
}

// The order of the named index, and for a detail the link column: the first
// field of that index (declared when the program did not).
void TTable::Private::resolveOrder(const Esquema &e)
{
    enlace.columna = -1;
    QStringList orden;
    if (!indexName.isEmpty()) {
        const Indice *i = e.indice(indexName);
        if (!i)
            error(EngineCode::InvalidUse, QStringLiteral("La tabla %1 no tiene el índice %2.").arg(name(), indexName));
        orden = i->campos;
    }
    if (enlace.maestro) {
        if (orden.isEmpty())
            error(EngineCode::InvalidUse,
                  QStringLiteral("La tabla %1 necesita un índice para enlazarse con su tabla maestra.").arg(name()));
        enlace.columna = e.columna(orden.first());
        const Columna &c = e.columnas[enlace.columna];
        if (!q->findField(orden.first()))
            fields.emplace_back(new TField(q, c.nombre, TFieldKind::Data, TFieldType(c.tipo), c.tamano));
    }
    QStringList ordenSql;
    for (const QString &c : orden)
        ordenSql << comillas(c);
    ordenSql << QStringLiteral("rowid");
    orderBy = ordenSql.join(QLatin1Char(','));
}

// Declared fields take their type and size from the file; each data field becomes
// a loaded column. A field, lookup key or filter field missing from the file fails.
void TTable::Private::resolveColumns(const Esquema &e)
{
    dataFields.clear();
    filas.quitarColumnas();
    for (const auto &f : fields) {
        f->m_column = -1;
        if (f->m_kind != TFieldKind::Data)
            continue;
        const int c = e.columna(f->m_name);
        if (c < 0)
            error(EngineCode::InvalidUse, QStringLiteral("El campo %1 no existe en la tabla %2.").arg(f->m_name, name()));
        f->m_type = TFieldType(e.columnas[c].tipo);
        f->m_size = e.columnas[c].tamano;
        f->m_column = int(dataFields.size());
        dataFields.append(f.get());
        filas.anadirColumna(f->m_type, c);
    }
    for (const auto &f : fields)
        if (f->m_kind == TFieldKind::Lookup && !q->findField(f->m_keyFields))
            error(EngineCode::InvalidUse, QStringLiteral("El campo %1 de la tabla %2 busca por %3, que no está declarado.")
                                              .arg(f->m_name, name(), f->m_keyFields));
    if (!filtro.vacio() && e.columna(filtro.campo) < 0)
        error(EngineCode::InvalidUse,
              QStringLiteral("El campo %1 del filtro no existe en la tabla %2.").arg(filtro.campo, name()));
}

void TTable::Private::releaseConnection()
{
    abierta = false;
    selectRows = nullptr;
    selectOne = nullptr;
    cambios.soltar();
    soltarConexion(con);
    con = nullptr;
    if (db)
        --db->d()->openTables;
}

void TTable::open()
{
    if (active())
        return;
    if (d->tableName.isEmpty())
        d->error(EngineCode::InvalidUse, QStringLiteral("No se ha indicado el nombre de la tabla."));
    d->con = abrirConexion(QFileInfo(filePath()).absoluteFilePath(), d->name());
    if (d->db)
        ++d->db->d()->openTables;
    try {
        const Esquema &e = d->con->esquema;
        d->declareStoredFields(e);
        d->resolveOrder(e);
        d->resolveColumns(e);
        d->abierta = true;
        d->cambios.vigilar(d->con, d->name());
        d->prepareRead();
        d->enlace.fijar(d->masterKey(), d->masterId());
        d->loadRows(kSinRegistro, 0);
    } catch (...) {
        d->releaseConnection();
        d->filas.vaciar();
        throw;
    }
    d->cur = d->rowCount() > 0 ? 0 : -1;
    d->bof = true;
    d->eof = d->rowCount() == 0;
    d->connectMaster();
    d->avisar(Private::Aviso::Estado);
    emit afterOpen();
    d->scrollId = d->currentId();
    d->avisar(Private::Aviso::Scroll);
}

void TTable::close()
{
    if (!active())
        return;
    d->disconnectMaster();
    d->releaseConnection();
    d->filas.vaciar();
    d->cur = -1;
    d->eof = d->bof = true;
    d->enlace.filasPendientes = d->enlace.anuncioPendiente = false;
    d->buffer.vaciar();
    d->invalidateCaches();
    d->scrollId = kSinRegistro;
    d->avisar(Private::Aviso::Estado);
    d->avisar(Private::Aviso::Cierre);
}

bool TTable::active() const
{
    return d->abierta;
}

TDataSetState TTable::state() const
{
    return d->state();
}

QString TTable::formatVersion() const
{
    return TableStore::tableVersion(filePath());
}

void TTable::upgrade()
{
    d->requireClosed(QStringLiteral("La tabla %1 debe estar cerrada para actualizar su formato."));
    TableStore::upgradeTable(filePath());
}

TDataSource::TDataSource(TTable *table, QObject *parent) : QObject(parent), m_table(table)
{
}
