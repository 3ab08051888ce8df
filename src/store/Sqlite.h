// Private to the store: SQLite connections shared per table file inside the
// process, the mapping of SQLite failures onto engine codes, and the file layout.
#pragma once

#include "StoreErrors.h"
#include "Table.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <sqlite3.h>

namespace store {

// What was being done when SQLite failed: decides between read, write and delete codes.
enum class Operacion { Lectura, Escritura, Borrado };

// Raises the engine error for an SQLite result code, naming the table.
[[noreturn]] void fallo(sqlite3 *db, int rc, Operacion op, const QString &tabla);

// Layout of a table file as read from its schema.
struct Columna
{
    QString nombre;
    int tipo = 0;   // TFieldType as int
    int tamano = 0;
};
struct Indice
{
    QString nombre;
    QStringList campos;
    bool unico = false;
};
struct Esquema
{
    QString tablaSql;          // the one data table inside the file
    QList<Columna> columnas;
    QList<Indice> indices;     // every index of the data table, as stored
    int columna(const QString &nombre) const; // case-insensitive; -1 when missing
    const Indice *indice(const QString &nombre) const;
};

// A connection on one table file, shared by every table object of the process
// that has the file open. Statements are stepped to completion and reset, so
// sharing never holds a lock between two calls.
struct Conexion
{
    QString ruta;       // absolute path, the key of the pool
    QString tabla;      // table name for messages
    sqlite3 *db = nullptr;
    int usos = 0;
    quint64 cambios = 0; // commits made through this connection: the objects on it compare it
    Esquema esquema;
    // Prepared statements shared by the objects on the file; each use binds,
    // steps to the end and resets before it returns.
    QHash<QString, sqlite3_stmt *> sentencias;
    sqlite3_stmt *sentencia(const QString &sql, Operacion op);
};

Conexion *abrirConexion(const QString &ruta, const QString &tabla);
void soltarConexion(Conexion *c);


// Opens a bare connection (no pool) with the store's settings; raises on failure.
sqlite3 *abrirFichero(const QString &ruta, const QString &tabla, bool crear);
void ejecutar(sqlite3 *db, const QString &sql, Operacion op, const QString &tabla);
Esquema leerEsquema(sqlite3 *db, const QString &tabla);

QString comillas(const QString &identificador); // "name" for SQL
// Binds a value of a field of type `tipo` as parameter `i` (dates as "yyyy-MM-dd").
void enlazar(sqlite3_stmt *st, int i, TFieldType tipo, const QVariant &v);

// Full paths of the files that the connections of this process hold open, the
// files attached to them included.
QStringList ficherosAbiertos();

// A prepared statement, finalized when it goes out of scope.
class Sentencia
{
public:
    Sentencia() = default;
    Sentencia(sqlite3 *db, const QString &sql, Operacion op, const QString &tabla);
    ~Sentencia();
    Sentencia(const Sentencia &) = delete;
    Sentencia &operator=(const Sentencia &) = delete;
    Sentencia(Sentencia &&o) noexcept : m_st(o.m_st) { o.m_st = nullptr; }
    Sentencia &operator=(Sentencia &&o) noexcept;
    sqlite3_stmt *get() const { return m_st; }
    sqlite3_stmt *release()
    {
        sqlite3_stmt *st = m_st;
        m_st = nullptr;
        return st;
    }
    explicit operator bool() const { return m_st != nullptr; }

private:
    sqlite3_stmt *m_st = nullptr;
};

} // namespace store
