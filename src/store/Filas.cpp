// The row cache: reading rows into columns, record identity, lookup indexes.
#include "Filas.h"

#include "Valores.h"

namespace store {

void ColumnaFilas::vaciar()
{
    // The pool keeps texts across readings so that flags stay shared; once it
    // holds far more than the rows, most of it belongs to rows long gone.
    if (pool.size() > 2 * nulos.size() + 64) {
        pool.clear();
        cortos.clear();
    }
    enteros.clear();
    reales.clear();
    textos.clear();
    nulos.clear();
    ultimoBruto.clear();
    ultimoIndice = 0;
}

void ColumnaFilas::leerFecha(sqlite3_stmt *st, int col, bool nulo)
{
    qint64 jd = 0;
    if (!nulo) {
        const QDate d = fechaDeIso(sqlite3_column_text(st, col), sqlite3_column_bytes(st, col));
        if (d.isValid())
            jd = d.toJulianDay();
        else
            nulos.back() = 1;
    }
    enteros.push_back(jd);
}

quint32 ColumnaFilas::guardarTexto(const char *t, int n)
{
    quint32 indice = 0;
    if (n <= kCorto) {
        const auto it = cortos.constFind(QByteArray::fromRawData(t, n));
        if (it != cortos.constEnd())
            indice = it.value();
    }
    if (indice == 0) {
        indice = quint32(pool.size());
        pool.push_back(QString::fromUtf8(t, n));
        if (n <= kCorto)
            cortos.insert(QByteArray(t, n), indice);
    }
    ultimoBruto.assign(t, size_t(n));
    ultimoIndice = indice;
    return indice;
}

void ColumnaFilas::poner(int fila, const QVariant &v)
{
    nulos[size_t(fila)] = v.isNull() ? 1 : 0;
    switch (tipo) {
    case TFieldType::Integer:
    case TFieldType::AutoInc: enteros[size_t(fila)] = v.toLongLong(); break;
    case TFieldType::Float: reales[size_t(fila)] = v.toDouble(); break;
    case TFieldType::Date: enteros[size_t(fila)] = v.toDate().toJulianDay(); break;
    case TFieldType::Text:
    case TFieldType::Memo:
        if (pool.empty())
            pool.emplace_back();
        textos[size_t(fila)] = quint32(pool.size());
        pool.push_back(v.toString());
        break;
    }
}

void Filas::anadirColumna(TFieldType tipo, int indiceFichero)
{
    ColumnaFilas c;
    c.tipo = tipo;
    c.indiceFichero = indiceFichero;
    m_cols.push_back(std::move(c));
}

void Filas::quitarColumnas()
{
    m_cols.clear();
    vaciar();
}

void Filas::vaciar()
{
    for (ColumnaFilas &c : m_cols)
        c.vaciar();
    m_ids.clear();
    m_cuenta = 0;
    m_indices.clear();
}

int Filas::leer(sqlite3_stmt *st)
{
    vaciar();
    const int n = columnas();
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        m_ids.push_back(sqlite3_column_int64(st, 0));
        for (int i = 0; i < n; ++i)
            m_cols[size_t(i)].leer(st, i + 1);
    }
    if (rc != SQLITE_DONE)
        vaciar();
    m_cuenta = int(m_ids.size());
    return rc;
}

void Filas::releer(int fila, sqlite3_stmt *st)
{
    for (int i = 0; i < columnas(); ++i) {
        ColumnaFilas una;
        una.tipo = m_cols[size_t(i)].tipo;
        una.leer(st, i);
        m_cols[size_t(i)].poner(fila, una.valor(0));
    }
    m_indices.clear();
}

int Filas::buscar(qint64 id) const
{
    for (int i = 0; i < m_cuenta; ++i)
        if (m_ids[size_t(i)] == id)
            return i;
    return -1;
}

int Filas::buscarClave(int col, const QVariant &clave) const
{
    auto it = m_indices.find(col);
    if (it == m_indices.end()) {
        QHash<QString, int> indice;
        indice.reserve(m_cuenta);
        for (int r = m_cuenta - 1; r >= 0; --r) // the first row wins
            indice.insert(claveBusqueda(celda(r, col)), r);
        it = m_indices.insert(col, indice);
    }
    return it->value(claveBusqueda(clave), -1);
}

} // namespace store
