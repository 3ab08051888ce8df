// The edit buffer of a table object: the pending record of the Edit and Insert
// states, which of its values were written, and how it reaches the file: an
// UPDATE of the written values of the edited record, or an INSERT of the
// written values that are not empty (the file's defaults fill the rest).
#pragma once

#include "Table.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <sqlite3.h>

namespace store {

// Where the pending record goes: the data table inside the file, and the file
// column name and type of each column of the buffer.
struct DestinoEdicion
{
    QString tablaSql;
    QStringList columnas;
    QVector<TFieldType> tipos;
};

class BufferEdicion
{
public:
    // Browse when nothing is pending.
    TDataSetState estado() const { return m_estado; }
    bool pendiente() const { return m_estado != TDataSetState::Browse; }

    // Edit of the record `id`, starting from its stored values.
    void editar(QVector<QVariant> valores, qint64 id);
    // A new empty record of `columnas` values; `filaAnterior` is where the cursor stood.
    void anadir(int columnas, int filaAnterior);
    void vaciar(); // back to Browse, nothing pending

    QVariant valor(int col) const { return m_valores.value(col); }
    void escribir(int col, const QVariant &v);
    bool escrito(int col) const { return m_escritos.value(col); }
    QList<int> escritos() const;
    qint64 id() const { return m_id; }
    int filaAnterior() const { return m_filaAnterior; }

    // Writes the pending record in one statement and returns its record's id;
    // `*escrito` tells whether anything reached the file (an edit with nothing
    // written sends nothing). A failure raises its engine error naming `tabla`
    // (RecordDeleted when the edited record is gone) and keeps the record pending.
    qint64 guardar(sqlite3 *db, const DestinoEdicion &destino, const QString &tabla, bool *escrito) const;

private:
    qint64 actualizar(sqlite3 *db, const DestinoEdicion &destino, const QString &tabla, bool *escrito) const;
    qint64 insertar(sqlite3 *db, const DestinoEdicion &destino, const QString &tabla) const;

    TDataSetState m_estado = TDataSetState::Browse;
    QVector<QVariant> m_valores;
    QVector<bool> m_escritos;
    qint64 m_id = 0;
    int m_filaAnterior = -1;
};

} // namespace store
