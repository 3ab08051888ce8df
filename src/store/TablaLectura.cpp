// Table objects: reading the visible rows, following the master, taking in
// changes, and moving the cursor.
#include "Table.h"

#include "TablaPrivada.h"
#include "Valores.h"

using namespace store;

namespace {

// One read transaction around a read of rows: the version noted is the one of
// the rows read, and the file is locked and checked once instead of once per
// statement. Nothing is started when the connection is inside one already.
class TransaccionLectura
{
public:
    explicit TransaccionLectura(Conexion *con) : m_con(con)
    {
        m_propia = sqlite3_get_autocommit(con->db) != 0;
        if (m_propia)
            paso(QStringLiteral("BEGIN"));
    }
    ~TransaccionLectura() { terminar(); }
    void terminar()
    {
        if (m_propia && !sqlite3_get_autocommit(m_con->db))
            paso(QStringLiteral("COMMIT"));
        m_propia = false;
    }

private:
    void paso(const QString &sql)
    {
        sqlite3_stmt *st = m_con->sentencia(sql, Operacion::Lectura);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    Conexion *m_con;
    bool m_propia = false;
};

} // namespace

// ---------------------------------------------------------------------------
// Reading

int TTable::Private::fileColumn(const QString &field) const
{
    return con ? con->esquema.columna(field) : -1;
}

void TTable::Private::prepareRead()
{
    const Esquema &e = con->esquema;
    QStringList cs;
    for (int i = 0; i < filas.columnas(); ++i)
        cs << comillas(e.columnas[filas.indiceFichero(i)].nombre);
    QString sql = QStringLiteral("SELECT rowid%1%2 FROM %3")
                      .arg(cs.isEmpty() ? QString() : QStringLiteral(","), cs.join(QLatin1Char(',')), comillas(e.tablaSql));
    QStringList where;
    if (enlace.enlazada())
        where << comillas(e.columnas[enlace.columna].nombre) + QStringLiteral(" = ?1");
    if (filtered && !filtro.vacio())
        where << comillas(e.columnas[fileColumn(filtro.campo)].nombre) + QStringLiteral(" = ?2");
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + orderBy;
    if (sql != selectSql || !selectRows) {
        selectRows = con->sentencia(sql, Operacion::Lectura);
        selectSql = sql;
    }
    if (!selectOne)
        selectOne = con->sentencia(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?1")
                                       .arg(cs.isEmpty() ? QStringLiteral("rowid") : cs.join(QLatin1Char(',')),
                                            comillas(e.tablaSql)),
                                   Operacion::Lectura);
}

// The master's value, the first parameter of the read.
void TTable::Private::bindRange()
{
    if (!enlace.enlazada() || enlace.vacio())
        return;
    const auto tipo = TFieldType(con->esquema.columnas[enlace.columna].tipo);
    QVariant k = enlace.clave();
    if (tipo == TFieldType::Date && k.typeId() != QMetaType::QDate)
        k = leerFecha(k.toString());
    enlazar(selectRows, 1, tipo, k);
}

// The filter's value, the second parameter, compared as the column's type asks.
void TTable::Private::bindFilter()
{
    if (!filtered || filtro.vacio())
        return;
    const QVariant v = valorComparado(filtro.valor, TFieldType(con->esquema.columnas[fileColumn(filtro.campo)].tipo));
    const TFieldType como = v.typeId() == QMetaType::LongLong ? TFieldType::Integer
                            : v.typeId() == QMetaType::Double ? TFieldType::Float
                                                              : TFieldType::Text;
    enlazar(selectRows, 2, como, v);
}

void TTable::Private::loadRows(qint64 keepId, int fallbackRow)
{
    enlace.filasPendientes = false;
    TransaccionLectura transaccion(con);
    const quint64 contador = con->cambios;
    const qint64 version = cambios.version();
    filas.vaciar();
    calc.olvidar();
    int rc = SQLITE_DONE;
    if (!enlace.vacio()) {
        bindRange();
        bindFilter();
        rc = filas.leer(selectRows);
        sqlite3_reset(selectRows);
    }
    sqlite3_clear_bindings(selectRows);
    transaccion.terminar();
    if (rc != SQLITE_DONE) {
        cur = -1;
        eof = bof = true;
        fallo(con->db, rc, Operacion::Lectura, name());
    }
    cambios.anotar(contador, version);
    place(keepId, fallbackRow);
}

// Position after a read: the kept record when still visible, otherwise the row
// nearest the old one.
void TTable::Private::place(qint64 keepId, int fallbackRow)
{
    const int n = rowCount();
    int row = keepId != kSinRegistro ? filas.buscar(keepId) : -1;
    if (row < 0)
        row = qBound(-1, fallbackRow, n - 1);
    if (n > 0 && row < 0)
        row = 0;
    cur = n > 0 ? row : -1;
    eof = bof = n == 0;
}

void TTable::Private::readPendingRows()
{
    loadRows(kSinRegistro, 0);
    bof = true;
    if (enlace.anuncioPendiente) {
        enlace.anuncioPendiente = false;
        scrollId = currentId();
    }
}

// Before a read: take in what other objects and programs committed, keeping the
// current record when it is still visible.
void TTable::Private::checkChanges(bool fichero)
{
    if (state() != TDataSetState::Browse || !cambios.cambiado(fichero))
        return;
    rereadKeepingPlace();
}

void TTable::Private::rereadKeepingPlace()
{
    const bool wasEof = eof, wasBof = bof;
    loadRows(currentId(), cur);
    if (rowCount() > 0) {
        eof = wasEof;
        bof = wasBof;
    }
    avisar(Aviso::Reset);
    afterMove();
}

void TTable::Private::setRow(int row)
{
    cur = row;
    eof = bof = rowCount() == 0;
}

void TTable::Private::afterMove(bool always)
{
    const qint64 id = currentId();
    if (!always && id == scrollId)
        return;
    scrollId = id;
    avisar(Aviso::Scroll);
}

void TTable::Private::leaveEditForMove()
{
    q->post();
}

// A new set of visible rows (filter switched or changed): read it, first record current.
void TTable::Private::reloadFromFirst()
{
    prepareRead();
    loadRows(kSinRegistro, 0);
    setRow(rowCount() > 0 ? 0 : -1);
    bof = true;
    avisar(Aviso::Reset);
    afterMove();
}

// ---------------------------------------------------------------------------
// Master-detail

QVariant TTable::Private::masterKey() const
{
    TTable *master = enlace.maestro;
    if (!master || !master->active())
        return QVariant();
    const TField *f = master->findField(enlace.campoMaestro);
    if (!f)
        return QVariant();
    if (master->state() == TDataSetState::Browse && master->isEmpty())
        return QVariant();
    return f->value();
}

qint64 TTable::Private::masterId() const
{
    TTable *master = enlace.maestro;
    return master && master->active() ? master->d->currentId() : kSinRegistro;
}

void TTable::Private::connectMaster()
{
    if (enlace.maestro)
        enlace.maestro->d->enlace.anadirDetalle(q);
}

void TTable::Private::disconnectMaster()
{
    if (enlace.maestro)
        enlace.maestro->d->enlace.quitarDetalle(q);
}

void TTable::Private::followMaster(bool force)
{
    if (!abierta)
        return;
    const QVariant key = masterKey();
    const qint64 id = masterId();
    if (enlace.vigente(key, id, force))
        return;
    if (editing()) {
        // The master moved away: keep what can be kept, never leave a record half-made.
        try {
            q->post();
        } catch (const EDBEngineError &) {
            q->cancel();
        }
    }
    enlace.fijar(key, id);
    enlace.filasPendientes = true;
    avisar(Aviso::Reset);
    if (!enlace.filasPendientes) {
        afterMove(); // someone read the rows: announced only if the record changed
        return;
    }
    // Unread: which record is current is not known, so the move is announced.
    enlace.anuncioPendiente = true;
    avisar(Aviso::Scroll);
}

void TTable::Private::tellDetails(bool force)
{
    const QList<QPointer<TTable>> lista = enlace.detalles();
    for (const QPointer<TTable> &t : lista)
        if (t)
            t->d->followMaster(force);
}

void TTable::Private::avisar(Aviso a)
{
    tellDetails(a == Aviso::Scroll);
    switch (a) {
    case Aviso::Scroll: emit q->afterScroll(); break;
    case Aviso::Reset: emit q->rowsReset(); break;
    case Aviso::Estado: emit q->stateChanged(); break;
    case Aviso::Cierre: emit q->afterClose(); break;
    }
}

// ---------------------------------------------------------------------------
// Moving

void TTable::first()
{
    d->requireRows();
    if (d->editing())
        d->leaveEditForMove();
    d->checkChanges();
    d->setRow(d->rowCount() > 0 ? 0 : -1);
    d->bof = true;
    d->afterMove();
}

void TTable::last()
{
    d->requireRows();
    if (d->editing())
        d->leaveEditForMove();
    d->checkChanges();
    d->setRow(d->rowCount() - 1);
    d->eof = true;
    d->afterMove();
}

void TTable::next()
{
    d->requireRows();
    if (d->editing())
        d->leaveEditForMove();
    d->checkChanges(false);
    if (d->cur + 1 < d->rowCount()) {
        ++d->cur;
        d->eof = d->bof = false;
    } else {
        d->eof = true;
    }
    d->afterMove();
}

void TTable::prior()
{
    d->requireRows();
    if (d->editing())
        d->leaveEditForMove();
    d->checkChanges(false);
    if (d->cur > 0) {
        --d->cur;
        d->eof = d->bof = false;
    } else {
        d->bof = true;
    }
    d->afterMove();
}

bool TTable::eof() const
{
    d->ensureRows();
    return d->eof;
}

bool TTable::bof() const
{
    d->ensureRows();
    return d->bof;
}

bool TTable::isEmpty() const
{
    d->ensureRows();
    return d->rowCount() == 0;
}

int TTable::recordCount() const
{
    d->ensureRows();
    return d->rowCount();
}

int TTable::recNo() const
{
    d->ensureRows();
    return d->cur;
}

void TTable::moveTo(int row)
{
    d->requireRows();
    if (d->editing())
        d->leaveEditForMove();
    const qint64 wanted = d->filas.id(row);
    d->checkChanges();
    int r = row;
    if (wanted != kSinRegistro) {
        const int found = d->filas.buscar(wanted);
        if (found >= 0)
            r = found;
    }
    if (d->rowCount() == 0)
        return;
    d->cur = qBound(0, r, d->rowCount() - 1);
    d->eof = d->bof = false;
    d->afterMove();
}

namespace {
bool iguales(const QVariant &v, const QVariant &buscado, TFieldType tipo)
{
    if (v.isNull() || buscado.isNull())
        return v.isNull() == buscado.isNull();
    if (esNumero(tipo))
        return v.toDouble() == buscado.toDouble();
    if (tipo == TFieldType::Date)
        return v.toDate() == buscado.toDate();
    return v.toString() == buscado.toString();
}
}

bool TTable::locate(const QString &fieldName, const QVariant &value)
{
    d->requireRows();
    TField *f = fieldByName(fieldName);
    if (d->editing())
        d->leaveEditForMove();
    d->checkChanges();
    QVariant buscado;
    try {
        buscado = d->convert(f, value);
    } catch (const EDBEngineError &) {
        return false; // a value the field cannot hold is in no record
    }
    if (f->m_type == TFieldType::Text && value.typeId() == QMetaType::QString)
        buscado = value; // exact text, also when longer than the field
    for (int r = 0; r < d->rowCount(); ++r) {
        if (iguales(d->valueAtRow(r, f), buscado, f->m_type)) {
            d->cur = r;
            d->eof = d->bof = false;
            d->afterMove();
            return true;
        }
    }
    return false;
}

void TTable::refresh()
{
    d->requireRows();
    if (d->editing())
        d->leaveEditForMove();
    d->rereadKeepingPlace();
}

QVariant TTable::valueAt(int row, const TField *field) const
{
    return d->valueAtRow(row, field);
}

qint64 TTable::recordId(int row) const
{
    d->ensureRows();
    const qint64 id = d->filas.id(row);
    return id == kSinRegistro ? -1 : id;
}

void TTable::checkForChanges()
{
    d->requireRows();
    d->checkChanges();
}
