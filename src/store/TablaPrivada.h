// The inside of a table object, shared by the files that implement TTable and
// TField: the declared parts, and the open state made of the store's units (row
// cache, edit buffer, master-detail link, change detection).
//
// A table object keeps its visible rows in memory and never holds a statement
// open between two calls: every read is stepped to its end and reset at once,
// so one object browsing never blocks a post by another.
#pragma once

#include "BufferEdicion.h"
#include "DeteccionCambios.h"
#include "EnlaceMaestro.h"
#include "Filas.h"
#include "Filtro.h"
#include "Sqlite.h"
#include "Table.h"

#include <QPointer>
#include <QVector>

#include <memory>
#include <vector>

namespace store {

// Calculated fields: their values per row, worked out when first asked for and
// kept until the rows are read again.
struct CamposCalculados
{
    static constexpr int kNinguno = -2;   // no handler running
    static constexpr int kPendiente = -1; // the handler runs for the pending record

    QVector<TField *> campos;
    mutable std::vector<QVector<QVariant>> filas;
    mutable QVector<QVariant> pendiente;
    mutable bool pendienteValido = false;
    // While the handler runs: the row it sees (or kPendiente) and where it writes.
    mutable int contexto = kNinguno;
    mutable QVector<QVariant> *destino = nullptr;

    void olvidar() const
    {
        filas.clear();
        pendienteValido = false;
    }
};

} // namespace store

struct TDatabase::Private
{
    QString name;
    QString directory;
    int openTables = 0;
};

struct TTable::Private
{
    TTable *q;
    QPointer<TDatabase> db; // the database may go first when both are children of one owner
    QString tableName;
    QString indexName;
    QString filterText;
    bool filtered = false;
    store::Filtro filtro;
    CalcFieldsHandler onCalc;
    std::vector<std::unique_ptr<TField>> fields;
    store::EnlaceMaestro enlace;

    // Open state.
    bool abierta = false;
    store::Conexion *con = nullptr;
    QVector<TField *> dataFields; // the loaded columns, by m_column
    store::Filas filas;
    int cur = -1;
    bool eof = true, bof = true;
    qint64 scrollId = store::kSinRegistro; // identity of the record last announced by afterScroll
    QString orderBy;
    sqlite3_stmt *selectRows = nullptr; // borrowed from the connection
    QString selectSql;
    sqlite3_stmt *selectOne = nullptr;
    store::BufferEdicion buffer;
    store::CamposCalculados calc;
    store::DeteccionCambios cambios;

    explicit Private(TTable *t) : q(t) {}

    QString name() const { return tableName.isEmpty() ? QStringLiteral("(sin nombre)") : tableName; }
    [[noreturn]] void error(quint16 code, const QString &text) const { throw EDBEngineError(code, text); }
    void requireActive() const
    {
        if (!abierta)
            error(EngineCode::InvalidUse, QStringLiteral("La tabla %1 no está abierta.").arg(name()));
    }
    void requireClosed(const QString &text) const
    {
        if (abierta)
            error(EngineCode::InvalidUse, text.arg(name()));
    }
    TDataSetState state() const { return abierta ? buffer.estado() : TDataSetState::Inactive; }
    bool editing() const { return buffer.pendiente(); }

    // The rows a detail left unread at its master's move, read now.
    void ensureRows() const
    {
        if (enlace.filasPendientes)
            const_cast<Private *>(this)->readPendingRows();
    }
    void requireRows() const
    {
        requireActive();
        ensureRows();
    }
    qint64 currentId() const
    {
        ensureRows();
        if (buffer.estado() == TDataSetState::Insert)
            return store::kRegistroNuevo;
        return filas.id(cur);
    }
    int rowCount() const { return filas.cuenta(); }

    // --- field values in the right context (Campo.cpp); every read of a field
    // ends here, so this one stays inline.
    QVariant dataValue(const TField *f) const
    {
        if (f->m_column < 0)
            return QVariant();
        if (calc.contexto >= 0)
            return filas.celda(calc.contexto, f->m_column);
        if (calc.contexto == store::CamposCalculados::kPendiente || editing())
            return buffer.valor(f->m_column);
        return filas.celda(cur, f->m_column);
    }
    QVariant valueOf(const TField *f) const;
    QVariant valueAtRow(int row, const TField *f) const;
    QVariant lookup(const TField *f, const QVariant &key) const;
    const QVector<QVariant> &calcValues(int row) const; // row -1: pending record
    QVariant convert(const TField *f, const QVariant &v) const;
    void invalidateCaches() const
    {
        calc.olvidar();
        filas.olvidarIndices();
    }

    // --- opening (Table.cpp)
    void declareStoredFields(const store::Esquema &e);
    void resolveOrder(const store::Esquema &e);
    void resolveColumns(const store::Esquema &e);
    void releaseConnection();

    // --- reading and moving (TablaLectura.cpp)
    void prepareRead();
    void loadRows(qint64 keepId, int fallbackRow);
    void bindRange();
    void bindFilter();
    void place(qint64 keepId, int fallbackRow);
    void readPendingRows();
    // `fichero`: also ask the file about other programs' commits (the start of a
    // read: first, last, locate, a jump); stepping to the next or previous
    // record only looks at this program's own commits.
    void checkChanges(bool fichero = true);
    void rereadKeepingPlace();
    void afterMove(bool always = false);
    void setRow(int row);
    void reloadFromFirst();
    void leaveEditForMove();
    int fileColumn(const QString &field) const;

    // --- master-detail (TablaLectura.cpp)
    QVariant masterKey() const;
    qint64 masterId() const;
    void followMaster(bool force);
    void connectMaster();
    void disconnectMaster();
    enum class Aviso { Scroll, Reset, Estado, Cierre };
    // Details follow first, so whoever listens to this object sees them in step.
    void avisar(Aviso a);
    void tellDetails(bool force);
};
