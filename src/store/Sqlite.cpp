// SQLite side of the store: shared connections, error codes, the file layout,
// table creation, format version and upgrade.
//
// A table file holds one data table named after the file ("Matriculas" for
// "Matriculas.DAT"), its indexes, and a small table "_Indices" listing the indexes
// the file must have. Field types are kept in the declared column types:
// VARCHAR(n) text, INTEGER integer, DOUBLE float, DATE date (ISO text yyyy-MM-dd),
// TEXT memo, and INTEGER PRIMARY KEY AUTOINCREMENT for the auto-increment field,
// which is then the record's rowid (so storing order and numbering agree).
// The format mark is PRAGMA user_version: 300 is "3.00".
#include "Sqlite.h"

#include "Table.h"
#include "Valores.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace store {

namespace {

constexpr int kVersionActual = 300;
constexpr int kEsperaMs = 1500; // a real lock by another program is reported after this wait
const char *const kTablaIndices = "_Indices";

QHash<QString, Conexion *> &pool()
{
    static QHash<QString, Conexion *> p;
    return p;
}


QString motivo(int rc)
{
    switch (rc & 0xff) {
    case SQLITE_READONLY: return QStringLiteral("el fichero o su carpeta son de sólo lectura");
    case SQLITE_FULL: return QStringLiteral("el disco está lleno");
    case SQLITE_IOERR: return QStringLiteral("error de entrada/salida en el disco");
    case SQLITE_CANTOPEN: return QStringLiteral("no se puede abrir el fichero o crear su diario");
    case SQLITE_PERM: return QStringLiteral("acceso denegado");
    case SQLITE_NOTADB: return QStringLiteral("el fichero no es una tabla de datos");
    case SQLITE_CORRUPT: return QStringLiteral("el fichero está dañado o incompleto");
    case SQLITE_FORMAT: return QStringLiteral("formato de fichero desconocido");
    case SQLITE_NOMEM: return QStringLiteral("no hay memoria suficiente");
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return QStringLiteral("otro programa tiene la tabla bloqueada");
    default: return QStringLiteral("código interno %1").arg(rc);
    }
}

int tipoDeclarado(const QString &declarado, bool clavePrimaria, int *tamano)
{
    const QString t = declarado.toUpper();
    *tamano = 0;
    static const QRegularExpression conTamano(QStringLiteral("\\((\\d+)\\)"));
    if (t.contains(QLatin1String("INT")))
        return int(clavePrimaria ? TFieldType::AutoInc : TFieldType::Integer);
    if (t.startsWith(QLatin1String("DATE")))
        return int(TFieldType::Date);
    if (t.contains(QLatin1String("CHAR"))) {
        const auto m = conTamano.match(t);
        if (m.hasMatch()) {
            *tamano = m.captured(1).toInt();
            return int(TFieldType::Text);
        }
        return int(TFieldType::Memo);
    }
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) || t.contains(QLatin1String("DOUB")))
        return int(TFieldType::Float);
    return int(TFieldType::Memo);
}

QString tipoSql(const TFieldDef &f)
{
    switch (f.type) {
    case TFieldType::Text: return QStringLiteral("VARCHAR(%1)").arg(f.size);
    case TFieldType::Integer: return QStringLiteral("INTEGER");
    case TFieldType::Float: return QStringLiteral("DOUBLE");
    case TFieldType::Date: return QStringLiteral("DATE");
    case TFieldType::AutoInc: return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case TFieldType::Memo: return QStringLiteral("TEXT");
    }
    return QStringLiteral("TEXT");
}

QString nombreIndice(const TIndexDef &i)
{
    return i.name.isEmpty() ? QStringLiteral("Clave_") + i.fields.join(QLatin1Char('_')) : i.name;
}

QString sqlIndice(const QString &tablaSql, const QString &nombre, const QStringList &campos, bool unico)
{
    QStringList cols;
    for (const QString &c : campos)
        cols << comillas(c);
    return QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
        .arg(unico ? QStringLiteral("UNIQUE ") : QString(), comillas(nombre), comillas(tablaSql), cols.join(QLatin1Char(',')));
}

int versionMarcada(sqlite3 *db, const QString &tabla)
{
    Sentencia st(db, QStringLiteral("PRAGMA user_version"), Operacion::Lectura, tabla);
    const int rc = sqlite3_step(st.get());
    if (rc != SQLITE_ROW)
        fallo(db, rc, Operacion::Lectura, tabla);
    return sqlite3_column_int(st.get(), 0);
}

bool existeTablaIndices(sqlite3 *db, const QString &tabla)
{
    Sentencia st(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name='_Indices'"),
                 Operacion::Lectura, tabla);
    const int rc = sqlite3_step(st.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        fallo(db, rc, Operacion::Lectura, tabla);
    return rc == SQLITE_ROW;
}

// The indexes the file says it must have.
QList<Indice> indicesExigidos(sqlite3 *db, const QString &tabla)
{
    QList<Indice> r;
    if (!existeTablaIndices(db, tabla))
        return r;
    Sentencia st(db, QStringLiteral("SELECT Nombre, Campos, Unico FROM _Indices ORDER BY rowid"), Operacion::Lectura, tabla);
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        Indice i;
        i.nombre = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 0)));
        i.campos = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 1)))
                       .split(QLatin1Char(','), Qt::SkipEmptyParts);
        i.unico = sqlite3_column_int(st.get(), 2) != 0;
        r.append(i);
    }
    if (rc != SQLITE_DONE)
        fallo(db, rc, Operacion::Lectura, tabla);
    return r;
}

QString textoVersion(int v)
{
    return QStringLiteral("%1.%2").arg(v / 100).arg(v % 100, 2, 10, QLatin1Char('0'));
}

} // namespace

void fallo(sqlite3 *db, int rc, Operacion op, const QString &tabla)
{
    const int primario = rc & 0xff;
    Q_UNUSED(db);
    if (primario == SQLITE_BUSY || primario == SQLITE_LOCKED)
        throw EDBEngineError(EngineCode::RecordLocked,
                             QStringLiteral("La tabla %1 está bloqueada por otro programa; inténtelo de nuevo más tarde.").arg(tabla));
    if (primario == SQLITE_CONSTRAINT)
        throw EDBEngineError(EngineCode::DuplicateKey,
                             QStringLiteral("La clave de este registro está duplicada en la tabla %1.").arg(tabla));
    if (primario == SQLITE_NOTADB || primario == SQLITE_CORRUPT || primario == SQLITE_FORMAT)
        throw EDBEngineError(EngineCode::ReadError,
                             QStringLiteral("Error de lectura en la tabla %1: %2.").arg(tabla, motivo(rc)));
    switch (op) {
    case Operacion::Lectura:
        throw EDBEngineError(EngineCode::ReadError,
                             QStringLiteral("Error de lectura en la tabla %1: %2.").arg(tabla, motivo(rc)));
    case Operacion::Escritura:
        throw EDBEngineError(EngineCode::WriteError,
                             QStringLiteral("Error de escritura en la tabla %1: %2.").arg(tabla, motivo(rc)));
    case Operacion::Borrado:
        throw EDBEngineError(EngineCode::CannotDelete,
                             QStringLiteral("No se ha podido borrar el registro de la tabla %1: %2.").arg(tabla, motivo(rc)));
    }
    throw EDBEngineError(EngineCode::ReadError, tabla);
}

int Esquema::columna(const QString &nombre) const
{
    for (int i = 0; i < columnas.size(); ++i)
        if (columnas[i].nombre.compare(nombre, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const Indice *Esquema::indice(const QString &nombre) const
{
    for (const Indice &i : indices)
        if (i.nombre.compare(nombre, Qt::CaseInsensitive) == 0)
            return &i;
    return nullptr;
}

QString comillas(const QString &identificador)
{
    QString s = identificador;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

void enlazar(sqlite3_stmt *st, int i, TFieldType tipo, const QVariant &v)
{
    if (v.isNull()) {
        sqlite3_bind_null(st, i);
        return;
    }
    QByteArray u;
    switch (tipo) {
    case TFieldType::Integer:
    case TFieldType::AutoInc: sqlite3_bind_int64(st, i, v.toLongLong()); return;
    case TFieldType::Float: sqlite3_bind_double(st, i, v.toDouble()); return;
    case TFieldType::Date: u = fechaIso(v.toDate()).toUtf8(); break;
    case TFieldType::Text:
    case TFieldType::Memo: u = v.toString().toUtf8(); break;
    }
    sqlite3_bind_text(st, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
}

Sentencia::Sentencia(sqlite3 *db, const QString &sql, Operacion op, const QString &tabla)
{
    const QByteArray u = sql.toUtf8();
    const int rc = sqlite3_prepare_v3(db, u.constData(), int(u.size()), SQLITE_PREPARE_PERSISTENT, &m_st, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(m_st);
        m_st = nullptr;
        fallo(db, rc, op, tabla);
    }
}

Sentencia::~Sentencia()
{
    if (m_st)
        sqlite3_finalize(m_st);
}

Sentencia &Sentencia::operator=(Sentencia &&o) noexcept
{
    if (this != &o) {
        if (m_st)
            sqlite3_finalize(m_st);
        m_st = o.m_st;
        o.m_st = nullptr;
    }
    return *this;
}

void ejecutar(sqlite3 *db, const QString &sql, Operacion op, const QString &tabla)
{
    char *err = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK)
        fallo(db, rc, op, tabla);
}

sqlite3 *abrirFichero(const QString &ruta, const QString &tabla, bool crear)
{
    if (!crear && !QFileInfo(ruta).isFile())
        throw EDBEngineError(EngineCode::TableNotFound,
                             QStringLiteral("No se encuentra la tabla %1 (%2).").arg(tabla, QDir::toNativeSeparators(ruta)));
    sqlite3 *db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (crear ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX
                      | SQLITE_OPEN_EXRESCODE;
    const int rc = sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(db);
        fallo(nullptr, rc, crear ? Operacion::Escritura : Operacion::Lectura, tabla);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kEsperaMs);
    try {
        // Reading the schema here turns a file that is not a database into a read
        // error at once. DELETE journal: the backup copies the folder's files as they
        // are. EXTRA: the folder is synced after the journal goes, so a post that
        // returned survives a power cut.
        ejecutar(db, QStringLiteral("PRAGMA synchronous=EXTRA; SELECT count(*) FROM sqlite_master"), Operacion::Lectura,
                 tabla);
        if (crear || !sqlite3_db_readonly(db, "main")) {
            Sentencia modo(db, QStringLiteral("PRAGMA journal_mode"), Operacion::Lectura, tabla);
            int rc2 = sqlite3_step(modo.get());
            if (rc2 != SQLITE_ROW)
                fallo(db, rc2, Operacion::Lectura, tabla);
            const QByteArray actual = reinterpret_cast<const char *>(sqlite3_column_text(modo.get(), 0));
            sqlite3_reset(modo.get());
            if (actual.compare("delete", Qt::CaseInsensitive) != 0)
                ejecutar(db, QStringLiteral("PRAGMA journal_mode=DELETE"), Operacion::Escritura, tabla);
        }
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    return db;
}

Esquema leerEsquema(sqlite3 *db, const QString &tabla)
{
    Esquema e;
    {
        Sentencia st(db,
                     QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite!_%' "
                                    "ESCAPE '!' AND name <> '_Indices' ORDER BY rowid"),
                     Operacion::Lectura, tabla);
        const int rc = sqlite3_step(st.get());
        if (rc == SQLITE_ROW)
            e.tablaSql = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 0)));
        else if (rc == SQLITE_DONE)
            throw EDBEngineError(EngineCode::ReadError,
                                 QStringLiteral("El fichero de la tabla %1 no contiene ninguna tabla de datos.").arg(tabla));
        else
            fallo(db, rc, Operacion::Lectura, tabla);
    }
    {
        Sentencia st(db, QStringLiteral("PRAGMA table_info(%1)").arg(comillas(e.tablaSql)), Operacion::Lectura, tabla);
        int rc;
        while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
            Columna c;
            c.nombre = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 1)));
            const QString tipo = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 2)));
            c.tipo = tipoDeclarado(tipo, sqlite3_column_int(st.get(), 5) != 0, &c.tamano);
            e.columnas.append(c);
        }
        if (rc != SQLITE_DONE)
            fallo(db, rc, Operacion::Lectura, tabla);
    }
    QList<QPair<QString, bool>> lista;
    {
        Sentencia st(db, QStringLiteral("PRAGMA index_list(%1)").arg(comillas(e.tablaSql)), Operacion::Lectura, tabla);
        int rc;
        while ((rc = sqlite3_step(st.get())) == SQLITE_ROW)
            lista.append({QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 1))),
                          sqlite3_column_int(st.get(), 2) != 0});
        if (rc != SQLITE_DONE)
            fallo(db, rc, Operacion::Lectura, tabla);
    }
    for (const auto &[nombre, unico] : lista) {
        Indice i;
        i.nombre = nombre;
        i.unico = unico;
        Sentencia st(db, QStringLiteral("PRAGMA index_info(%1)").arg(comillas(nombre)), Operacion::Lectura, tabla);
        QMap<int, QString> cols;
        int rc;
        while ((rc = sqlite3_step(st.get())) == SQLITE_ROW)
            cols.insert(sqlite3_column_int(st.get(), 0),
                        QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 2))));
        if (rc != SQLITE_DONE)
            fallo(db, rc, Operacion::Lectura, tabla);
        i.campos = cols.values();
        e.indices.append(i);
    }
    return e;
}

Conexion *abrirConexion(const QString &ruta, const QString &tabla)
{
    const QString clave = QFileInfo(ruta).absoluteFilePath();
    if (Conexion *c = pool().value(clave)) {
        ++c->usos;
        return c;
    }
    auto *c = new Conexion;
    c->ruta = clave;
    c->tabla = tabla;
    try {
        c->db = abrirFichero(clave, tabla, false);
        // One read transaction for the whole layout: the file is locked and checked once.
        ejecutar(c->db, QStringLiteral("BEGIN"), Operacion::Lectura, tabla);
        try {
            c->esquema = leerEsquema(c->db, tabla);
        } catch (...) {
            sqlite3_exec(c->db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
        ejecutar(c->db, QStringLiteral("COMMIT"), Operacion::Lectura, tabla);
    } catch (...) {
        if (c->db)
            sqlite3_close_v2(c->db);
        delete c;
        throw;
    }
    c->usos = 1;
    pool().insert(clave, c);
    return c;
}

sqlite3_stmt *Conexion::sentencia(const QString &sql, Operacion op)
{
    if (sqlite3_stmt *st = sentencias.value(sql))
        return st;
    Sentencia nueva(db, sql, op, tabla);
    sqlite3_stmt *st = nueva.release();
    sentencias.insert(sql, st);
    return st;
}

QStringList ficherosAbiertos()
{
    QStringList r;
    for (const Conexion *c : std::as_const(pool())) {
        for (int i = 0; const char *base = sqlite3_db_name(c->db, i); ++i) {
            const char *fichero = sqlite3_db_filename(c->db, base);
            if (fichero && *fichero) // temporary and in-memory databases have no file
                r << QFile::decodeName(fichero);
        }
    }
    return r;
}

void soltarConexion(Conexion *c)
{
    if (!c || --c->usos > 0)
        return;
    pool().remove(c->ruta);
    for (sqlite3_stmt *st : std::as_const(c->sentencias))
        sqlite3_finalize(st);
    sqlite3_close_v2(c->db);
    delete c;
}

} // namespace store

using namespace store;

namespace {
bool g_estricta = false;
}

QString TableStore::currentFormatVersion()
{
    return textoVersion(kVersionActual);
}

void TableStore::createTable(const QString &folder, const TTableDef &def)
{
    const QString ruta = QDir(folder).filePath(def.name);
    if (QFileInfo::exists(ruta))
        throw EDBEngineError(EngineCode::WriteError, QStringLiteral("La tabla %1 ya existe (%2).")
                                                         .arg(def.name, QDir::toNativeSeparators(ruta)));
    const QString tablaSql = QFileInfo(def.name).completeBaseName();
    QStringList cols;
    for (const TFieldDef &f : def.fields)
        cols << comillas(f.name) + QLatin1Char(' ') + tipoSql(f);
    sqlite3 *db = abrirFichero(ruta, def.name, true);
    try {
        ejecutar(db, QStringLiteral("BEGIN IMMEDIATE"), Operacion::Escritura, def.name);
        ejecutar(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(comillas(tablaSql), cols.join(QLatin1Char(','))),
                 Operacion::Escritura, def.name);
        ejecutar(db, QStringLiteral("CREATE TABLE _Indices (Nombre TEXT, Campos TEXT, Unico INTEGER)"),
                 Operacion::Escritura, def.name);
        for (const TIndexDef &i : def.indexes) {
            const QString nombre = nombreIndice(i);
            ejecutar(db, sqlIndice(tablaSql, nombre, i.fields, i.unique), Operacion::Escritura, def.name);
            Sentencia st(db, QStringLiteral("INSERT INTO _Indices VALUES (?,?,?)"), Operacion::Escritura, def.name);
            const QByteArray n = nombre.toUtf8(), c = i.fields.join(QLatin1Char(',')).toUtf8();
            sqlite3_bind_text(st.get(), 1, n.constData(), int(n.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(st.get(), 2, c.constData(), int(c.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(st.get(), 3, i.unique ? 1 : 0);
            const int rc = sqlite3_step(st.get());
            if (rc != SQLITE_DONE)
                fallo(db, rc, Operacion::Escritura, def.name);
        }
        ejecutar(db, QStringLiteral("PRAGMA user_version=%1").arg(kVersionActual), Operacion::Escritura, def.name);
        ejecutar(db, QStringLiteral("COMMIT"), Operacion::Escritura, def.name);
    } catch (...) {
        sqlite3_close_v2(db);
        QFile::remove(ruta);
        throw;
    }
    sqlite3_close_v2(db);
}

QString TableStore::tableVersion(const QString &path)
{
    const QString tabla = QFileInfo(path).fileName();
    sqlite3 *db = abrirFichero(path, tabla, false);
    try {
        const Esquema e = leerEsquema(db, tabla); // a file with no data table is no table
        int v = versionMarcada(db, tabla);
        if (v >= kVersionActual) {
            if (!existeTablaIndices(db, tabla))
                v = kVersionActual - 1;
            for (const Indice &i : indicesExigidos(db, tabla))
                if (!e.indice(i.nombre))
                    v = kVersionActual - 1; // a file without one of its indexes is not at this format
        }
        sqlite3_close_v2(db);
        return textoVersion(v);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
}

void TableStore::upgradeTable(const QString &path)
{
    const QString tabla = QFileInfo(path).fileName();
    sqlite3 *db = abrirFichero(path, tabla, false);
    try {
        ejecutar(db, QStringLiteral("BEGIN IMMEDIATE"), Operacion::Escritura, tabla);
        try {
            const Esquema e = leerEsquema(db, tabla);
            if (!existeTablaIndices(db, tabla)) {
                // An unmarked file: keep the indexes it has as the ones it must have.
                ejecutar(db, QStringLiteral("CREATE TABLE _Indices (Nombre TEXT, Campos TEXT, Unico INTEGER)"),
                         Operacion::Escritura, tabla);
                for (const Indice &i : e.indices) {
                    if (i.nombre.startsWith(QLatin1String("sqlite_")))
                        continue;
                    Sentencia st(db, QStringLiteral("INSERT INTO _Indices VALUES (?,?,?)"), Operacion::Escritura, tabla);
                    const QByteArray n = i.nombre.toUtf8(), c = i.campos.join(QLatin1Char(',')).toUtf8();
                    sqlite3_bind_text(st.get(), 1, n.constData(), int(n.size()), SQLITE_TRANSIENT);
                    sqlite3_bind_text(st.get(), 2, c.constData(), int(c.size()), SQLITE_TRANSIENT);
                    sqlite3_bind_int(st.get(), 3, i.unico ? 1 : 0);
                    const int rc = sqlite3_step(st.get());
                    if (rc != SQLITE_DONE)
                        fallo(db, rc, Operacion::Escritura, tabla);
                }
            }
            for (const Indice &i : indicesExigidos(db, tabla)) {
                if (e.indice(i.nombre))
                    continue;
                for (const QString &c : i.campos)
                    if (e.columna(c) < 0)
                        throw EDBEngineError(EngineCode::ReadError,
                                             QStringLiteral("La tabla %1 no tiene el campo %2 del índice %3.")
                                                 .arg(tabla, c, i.nombre));
                ejecutar(db, sqlIndice(e.tablaSql, i.nombre, i.campos, i.unico), Operacion::Escritura, tabla);
            }
            ejecutar(db, QStringLiteral("PRAGMA user_version=%1").arg(kVersionActual), Operacion::Escritura, tabla);
            ejecutar(db, QStringLiteral("COMMIT"), Operacion::Escritura, tabla);
        } catch (...) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    sqlite3_close_v2(db);
    // Objects of this process opened later on a shared connection must see the new indexes.
    if (Conexion *c = pool().value(QFileInfo(path).absoluteFilePath())) {
        c->esquema = leerEsquema(c->db, c->tabla);
        ++c->cambios;
    }
}

void TableStore::setStrictChangeDetection(bool on)
{
    g_estricta = on;
}

bool TableStore::strictChangeDetection()
{
    return g_estricta;
}
