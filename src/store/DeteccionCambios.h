// Change detection of a table object: whether its file changed since its rows
// were read. Commits through any object of this process are counted on the
// shared connection; with the store-wide strict switch on, commits by other
// programs are seen through the file's data version (PRAGMA data_version, whose
// values are compared on one connection only).
#pragma once

#include <QString>
#include <QtGlobal>

#include <sqlite3.h>

namespace store {

struct Conexion;

class DeteccionCambios
{
public:
    // Watches the file of `con` (open table); `tabla` names it in messages.
    void vigilar(Conexion *con, const QString &tabla);
    void soltar();

    // The file's data version as this connection sees it now. A failure to ask
    // raises the read error naming the table.
    qint64 version() const;
    // The rows now held were read at the connection's commit count `contador`
    // and at data version `version`.
    void anotar(quint64 contador, qint64 version);
    // Whether the file changed since: through this process always; through other
    // programs only when `fichero` (the start of a read, not every step of a walk)
    // and strict detection is on.
    bool cambiado(bool fichero) const;

private:
    Conexion *m_con = nullptr;
    QString m_tabla;
    sqlite3_stmt *m_version = nullptr; // borrowed from the connection
    quint64 m_contador = 0;
    qint64 m_versionVista = -1;
};

} // namespace store
