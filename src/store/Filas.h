// The row cache of a table object: its visible rows held in memory column by
// column, each row with the identity of its record, and the lookup indexes
// built over them. A record's identity is its rowid: numbers grow in storing
// order and are never given twice.
#pragma once

#include "Table.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>

#include <sqlite3.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace store {

constexpr qint64 kSinRegistro = std::numeric_limits<qint64>::min();       // no record
constexpr qint64 kRegistroNuevo = std::numeric_limits<qint64>::min() + 1; // the one being inserted

// One loaded column of the visible rows. Reading and painting go through here
// for every cell, so the work stays inline.
struct ColumnaFilas
{
    static constexpr int kCorto = 4;
    TFieldType tipo = TFieldType::Text;
    int indiceFichero = -1;
    std::vector<qint64> enteros; // integers, and dates as Julian days
    std::vector<double> reales;
    // Texts: an index per row into a pool of distinct strings, so the 200,000
    // "X" flags or plates of a large table cost four bytes a row.
    std::vector<quint32> textos;
    std::vector<QString> pool;
    QHash<QByteArray, quint32> cortos; // flags and states ("X", "P") already in the pool
    std::vector<char> nulos;
    std::string ultimoBruto; // the text of the previous row, most often repeated
    quint32 ultimoIndice = 0;

    void vaciar();
    void leer(sqlite3_stmt *st, int col)
    {
        const bool nulo = sqlite3_column_type(st, col) == SQLITE_NULL;
        nulos.push_back(nulo ? 1 : 0);
        switch (tipo) {
        case TFieldType::Integer:
        case TFieldType::AutoInc: enteros.push_back(nulo ? 0 : sqlite3_column_int64(st, col)); break;
        case TFieldType::Float: reales.push_back(nulo ? 0.0 : sqlite3_column_double(st, col)); break;
        case TFieldType::Date: leerFecha(st, col, nulo); break;
        case TFieldType::Text:
        case TFieldType::Memo: textos.push_back(nulo ? 0 : indiceTexto(st, col)); break;
        }
    }
    QVariant valor(int fila) const
    {
        if (nulos[size_t(fila)])
            return QVariant();
        switch (tipo) {
        case TFieldType::Integer:
        case TFieldType::AutoInc: return QVariant(int(enteros[size_t(fila)]));
        case TFieldType::Float: return QVariant(reales[size_t(fila)]);
        case TFieldType::Date: return QVariant(QDate::fromJulianDay(enteros[size_t(fila)]));
        case TFieldType::Text:
        case TFieldType::Memo: return QVariant(pool.empty() ? QString() : pool[textos[size_t(fila)]]);
        }
        return QVariant();
    }
    void poner(int fila, const QVariant &v);

private:
    void leerFecha(sqlite3_stmt *st, int col, bool nulo);
    quint32 indiceTexto(sqlite3_stmt *st, int col)
    {
        if (pool.empty())
            pool.emplace_back(); // 0: empty
        const char *t = reinterpret_cast<const char *>(sqlite3_column_text(st, col));
        const int n = sqlite3_column_bytes(st, col);
        if (n == 0)
            return 0;
        if (size_t(n) == ultimoBruto.size() && ultimoIndice != 0 && std::memcmp(t, ultimoBruto.data(), size_t(n)) == 0)
            return ultimoIndice;
        return guardarTexto(t, n);
    }
    quint32 guardarTexto(const char *t, int n);
};

class Filas
{
public:
    // The loaded columns: a field's type and its column in the file.
    void anadirColumna(TFieldType tipo, int indiceFichero);
    void quitarColumnas();
    int columnas() const { return int(m_cols.size()); }
    TFieldType tipo(int col) const { return m_cols[size_t(col)].tipo; }
    int indiceFichero(int col) const { return m_cols[size_t(col)].indiceFichero; }

    // Reads, in place of the rows held, every row a statement gives: the rowid
    // first, then the columns in order. Returns SQLite's last result, SQLITE_DONE
    // when all were read; after a failure no row is held.
    int leer(sqlite3_stmt *st);
    void vaciar();
    // Reads one row again from a statement standing on its record (columns from 0).
    void releer(int fila, sqlite3_stmt *st);

    int cuenta() const { return m_cuenta; }
    QVariant celda(int fila, int col) const
    {
        if (fila < 0 || fila >= m_cuenta || col < 0)
            return QVariant();
        return m_cols[size_t(col)].valor(fila);
    }
    qint64 id(int fila) const { return fila >= 0 && fila < m_cuenta ? m_ids[size_t(fila)] : kSinRegistro; }
    int buscar(qint64 id) const; // the row of a record, -1 when it is not visible

    // First row whose column `col` holds `clave` (compared as claveBusqueda does);
    // -1 when none. The index is built on first use and kept until the rows change.
    int buscarClave(int col, const QVariant &clave) const;
    void olvidarIndices() const { m_indices.clear(); }

    // Distinct texts kept for a column: what its rows cost beyond four bytes each.
    size_t textosGuardados(int col) const { return m_cols[size_t(col)].pool.size(); }

private:
    std::vector<ColumnaFilas> m_cols;
    std::vector<qint64> m_ids;
    int m_cuenta = 0;
    mutable QHash<int, QHash<QString, int>> m_indices;
};

} // namespace store
