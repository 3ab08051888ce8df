// The master-detail link of a table object: its master and the master's field,
// the details that hang on it, and the range its rows were read for. A detail
// shows the records whose link column (the first field of its index) equals the
// master's field in the master's current record; it reads them again when the
// master's value or record changes, and only once someone asks for them.
#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <limits>

class TTable;

namespace store {

class EnlaceMaestro
{
public:
    // The link as declared (table closed).
    QPointer<TTable> maestro; // a master destroyed before a closed detail must not dangle
    QString campoMaestro;
    // The file column compared with the master's field, -1 without a master (set on open).
    int columna = -1;
    bool enlazada() const { return columna >= 0; }

    // The objects linked to this one, told of every move before anyone else.
    void anadirDetalle(TTable *t);
    void quitarDetalle(TTable *t);
    QList<QPointer<TTable>> detalles() const { return m_detalles; }

    // The range: the master's value and record the rows were read for. A null
    // value (master closed, empty, or with the field empty) shows no rows.
    const QVariant &clave() const { return m_clave; }
    bool vacio() const { return enlazada() && m_clave.isNull(); }
    void fijar(const QVariant &clave, qint64 idMaestro);
    // Whether the rows read for the range still stand when the master is at
    // `clave` on record `idMaestro`: the value is the same and, when `porRegistro`
    // (a move of the master), so is the record; a move to another record reads
    // the rows again even under the same value.
    bool vigente(const QVariant &clave, qint64 idMaestro, bool porRegistro) const;

    // A detail whose master moved reads its new rows when they are first asked
    // for: the details nobody looks at cost nothing at a move of the master.
    bool filasPendientes = false;
    bool anuncioPendiente = false; // afterScroll was announced before the rows were read

private:
    QList<QPointer<TTable>> m_detalles;
    QVariant m_clave;
    qint64 m_idMaestro = std::numeric_limits<qint64>::min();
};

} // namespace store
