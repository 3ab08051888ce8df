// Change detection: the process's own commit count, and the file's data version.
#include "DeteccionCambios.h"

#include "Sqlite.h"
#include "Table.h"

namespace store {

void DeteccionCambios::vigilar(Conexion *con, const QString &tabla)
{
    m_con = con;
    m_tabla = tabla;
    m_version = con->sentencia(QStringLiteral("PRAGMA data_version"), Operacion::Lectura);
}

void DeteccionCambios::soltar()
{
    m_con = nullptr;
    m_version = nullptr;
}

qint64 DeteccionCambios::version() const
{
    if (!m_version)
        return -1;
    const int rc = sqlite3_step(m_version);
    const qint64 v = rc == SQLITE_ROW ? sqlite3_column_int64(m_version, 0) : -1;
    sqlite3_reset(m_version);
    if (rc != SQLITE_ROW)
        fallo(m_con->db, rc, Operacion::Lectura, m_tabla);
    return v;
}

void DeteccionCambios::anotar(quint64 contador, qint64 version)
{
    m_contador = contador;
    m_versionVista = version;
}

bool DeteccionCambios::cambiado(bool fichero) const
{
    if (!m_con)
        return false;
    if (m_con->cambios != m_contador)
        return true;
    if (!fichero || !TableStore::strictChangeDetection() || !m_version)
        return false;
    return version() != m_versionVista;
}

} // namespace store
