// The edit buffer: the pending record and the one statement that stores it.
#include "BufferEdicion.h"

#include "Sqlite.h"

namespace store {

void BufferEdicion::editar(QVector<QVariant> valores, qint64 id)
{
    m_escritos.fill(false, valores.size());
    m_valores = std::move(valores);
    m_id = id;
    m_estado = TDataSetState::Edit;
}

void BufferEdicion::anadir(int columnas, int filaAnterior)
{
    m_valores = QVector<QVariant>(columnas);
    m_escritos.fill(false, columnas);
    m_id = 0;
    m_filaAnterior = filaAnterior;
    m_estado = TDataSetState::Insert;
}

void BufferEdicion::vaciar()
{
    m_estado = TDataSetState::Browse;
    m_valores.clear();
    m_escritos.clear();
}

void BufferEdicion::escribir(int col, const QVariant &v)
{
    m_valores[col] = v;
    m_escritos[col] = true;
}

QList<int> BufferEdicion::escritos() const
{
    QList<int> r;
    for (int i = 0; i < m_escritos.size(); ++i)
        if (m_escritos[i])
            r << i;
    return r;
}

qint64 BufferEdicion::guardar(sqlite3 *db, const DestinoEdicion &destino, const QString &tabla, bool *escrito) const
{
    *escrito = false;
    if (m_estado == TDataSetState::Edit)
        return actualizar(db, destino, tabla, escrito);
    if (m_estado != TDataSetState::Insert)
        return m_id;
    const qint64 id = insertar(db, destino, tabla);
    *escrito = true;
    return id;
}

qint64 BufferEdicion::actualizar(sqlite3 *db, const DestinoEdicion &destino, const QString &tabla, bool *escrito) const
{
    const QList<int> cambiados = escritos();
    if (cambiados.isEmpty())
        return m_id;
    QStringList sets;
    for (int i : cambiados)
        sets << comillas(destino.columnas[i]) + QStringLiteral(" = ?");
    Sentencia st(db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(comillas(destino.tablaSql), sets.join(QLatin1Char(','))),
                 Operacion::Escritura, tabla);
    int n = 1;
    for (int i : cambiados)
        enlazar(st.get(), n++, destino.tipos[i], m_valores[i]);
    sqlite3_bind_int64(st.get(), n, m_id);
    const int rc = sqlite3_step(st.get());
    if (rc != SQLITE_DONE)
        fallo(db, rc, Operacion::Escritura, tabla);
    if (sqlite3_changes(db) == 0)
        throw EDBEngineError(EngineCode::RecordDeleted,
                             QStringLiteral("El registro de la tabla %1 que intenta guardar ha sido borrado.").arg(tabla));
    *escrito = true;
    return m_id;
}

qint64 BufferEdicion::insertar(sqlite3 *db, const DestinoEdicion &destino, const QString &tabla) const
{
    QList<int> llenos;
    QStringList nombres, marcas;
    for (int i : escritos()) {
        if (m_valores[i].isNull())
            continue;
        llenos << i;
        nombres << comillas(destino.columnas[i]);
        marcas << QStringLiteral("?");
    }
    const QString sql = nombres.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(comillas(destino.tablaSql))
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(comillas(destino.tablaSql), nombres.join(QLatin1Char(',')), marcas.join(QLatin1Char(',')));
    Sentencia st(db, sql, Operacion::Escritura, tabla);
    int n = 1;
    for (int i : llenos)
        enlazar(st.get(), n++, destino.tipos[i], m_valores[i]);
    const int rc = sqlite3_step(st.get());
    if (rc != SQLITE_DONE)
        fallo(db, rc, Operacion::Escritura, tabla);
    return sqlite3_last_insert_rowid(db);
}

} // namespace store
