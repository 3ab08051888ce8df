// Table objects: editing, appending, posting, cancelling and deleting records.
#include "Table.h"

#include "TablaPrivada.h"

using namespace store;

void TTable::edit()
{
    d->requireRows();
    if (d->editing())
        return;
    if (d->cur < 0 || d->rowCount() == 0)
        d->error(EngineCode::RecordNotFound, QStringLiteral("No hay ningún registro que modificar en la tabla %1.").arg(d->name()));
    // Read the record again: edit what is stored now, or learn it is gone.
    const qint64 id = d->filas.id(d->cur);
    sqlite3_stmt *st = d->selectOne;
    sqlite3_bind_int64(st, 1, id);
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        d->filas.releer(d->cur, st);
        d->invalidateCaches();
    }
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    if (rc == SQLITE_DONE) {
        d->loadRows(kSinRegistro, d->cur);
        d->avisar(Private::Aviso::Reset);
        d->afterMove();
        d->error(EngineCode::RecordDeleted,
                 QStringLiteral("El registro de la tabla %1 que intenta modificar ha sido borrado.").arg(d->name()));
    }
    if (rc != SQLITE_ROW)
        fallo(d->con->db, rc, Operacion::Lectura, d->name());
    QVector<QVariant> valores(d->filas.columnas());
    for (int i = 0; i < valores.size(); ++i)
        valores[i] = d->filas.celda(d->cur, i);
    d->buffer.editar(std::move(valores), id);
    d->calc.pendienteValido = false;
    d->avisar(Private::Aviso::Estado);
}

void TTable::append()
{
    d->requireRows();
    if (d->editing())
        d->leaveEditForMove();
    d->buffer.anadir(d->filas.columnas(), d->cur);
    d->calc.pendienteValido = false;
    if (d->enlace.enlazada()) {
        // The new record belongs to the master's current record.
        TField *f = findField(d->con->esquema.columnas[d->enlace.columna].nombre);
        const QVariant k = d->masterKey();
        if (f && f->m_column >= 0 && !k.isNull()) {
            try {
                d->buffer.escribir(f->m_column, d->convert(f, k));
            } catch (const EDBEngineError &) {
                d->buffer.vaciar();
                throw;
            }
        }
    }
    d->avisar(Private::Aviso::Estado);
    d->afterMove();
}

void TTable::post()
{
    d->requireRows();
    if (!d->editing())
        return;
    DestinoEdicion destino;
    const Esquema &e = d->con->esquema;
    destino.tablaSql = e.tablaSql;
    for (int i = 0; i < d->filas.columnas(); ++i) {
        destino.columnas << e.columnas[d->filas.indiceFichero(i)].nombre;
        destino.tipos << d->filas.tipo(i);
        // Values are checked when written; check again what reaches the file.
        const TField *f = d->dataFields[i];
        const QVariant v = d->buffer.valor(i);
        if (d->buffer.escrito(i) && f->m_type == TFieldType::Text && f->m_size > 0 && v.toString().size() > f->m_size)
            d->convert(f, v);
    }
    bool escrito = false;
    const qint64 id = d->buffer.guardar(d->con->db, destino, d->name(), &escrito);
    if (escrito)
        ++d->con->cambios;
    const int oldRow = d->state() == TDataSetState::Insert ? d->buffer.filaAnterior() : d->cur;
    d->buffer.vaciar();
    d->calc.pendienteValido = false;
    try {
        d->loadRows(id, oldRow);
    } catch (...) {
        // The record is stored all the same: whoever follows the file must hear of it.
        d->avisar(Private::Aviso::Estado);
        if (escrito)
            emit afterPost();
        throw;
    }
    // The stored record is the one that was pending: no scroll unless it is not visible.
    if (d->filas.buscar(id) >= 0)
        d->scrollId = id;
    d->avisar(Private::Aviso::Estado);
    d->avisar(Private::Aviso::Reset);
    d->afterMove();
    if (escrito)
        emit afterPost();
}

void TTable::cancel()
{
    if (!d->editing())
        return;
    const bool inserting = d->state() == TDataSetState::Insert;
    const int before = d->buffer.filaAnterior();
    d->buffer.vaciar();
    d->calc.pendienteValido = false;
    if (inserting && d->rowCount() > 0)
        d->cur = qBound(0, before, d->rowCount() - 1);
    d->avisar(Private::Aviso::Estado);
    d->afterMove();
}

void TTable::deleteRecord()
{
    d->requireRows();
    if (d->state() == TDataSetState::Insert) {
        cancel();
        return;
    }
    if (d->state() == TDataSetState::Edit)
        cancel();
    if (d->cur < 0 || d->rowCount() == 0)
        d->error(EngineCode::RecordNotFound, QStringLiteral("No hay ningún registro que borrar en la tabla %1.").arg(d->name()));
    const qint64 id = d->filas.id(d->cur);
    const qint64 siguiente = d->filas.id(d->cur + 1);
    const int row = d->cur;
    {
        Sentencia st(d->con->db, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(comillas(d->con->esquema.tablaSql)),
                     Operacion::Borrado, d->name());
        sqlite3_bind_int64(st.get(), 1, id);
        const int rc = sqlite3_step(st.get());
        if (rc != SQLITE_DONE)
            fallo(d->con->db, rc, Operacion::Borrado, d->name());
        if (sqlite3_changes(d->con->db) == 0) {
            d->loadRows(kSinRegistro, row);
            d->avisar(Private::Aviso::Reset);
            d->afterMove();
            d->error(EngineCode::RecordDeleted,
                     QStringLiteral("El registro de la tabla %1 que intenta borrar ya había sido borrado.").arg(d->name()));
        }
    }
    ++d->con->cambios;
    // The following record becomes current, or the previous one after the last.
    try {
        d->loadRows(siguiente, siguiente == kSinRegistro ? row - 1 : row);
    } catch (...) {
        emit afterDelete(); // the record is gone all the same
        throw;
    }
    if (d->rowCount() == 0)
        d->eof = true;
    d->avisar(Private::Aviso::Reset);
    d->afterMove();
    emit afterDelete();
}
