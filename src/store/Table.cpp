// Table objects, fields and the database object of the store.
//
// A table object keeps its visible rows in memory, column by column, and never
// holds a statement open between two calls: every read is stepped to its end and
// reset at once, so one object browsing never blocks a post by another.
//
// When the rows are read again: on open, refresh, post, delete, filter changes and
// every move of the master; and, before a move, when the file changed since the
// last read. Commits through this process are seen before any move; with strict
// change detection, commits by other programs (PRAGMA data_version) are looked for
// when a read starts (first, last, locate, a jump to a row, edit), not at every
// next/prior of a walk. valueAt never reads the file.
//
// A detail whose master is closed or has no record shows no rows. Moving while a
// record is pending posts it first; a master that moves away from a detail's
// pending record posts it, or cancels it when the post fails.
#include "Table.h"

#include "Sqlite.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

using namespace store;

// ---------------------------------------------------------------------------
// Database

struct TDatabase::Private
{
    QString name;
    QString directory;
    int openTables = 0;
};

TDatabase::TDatabase(const QString &databaseName, QObject *parent) : QObject(parent), m_d(new Private)
{
    m_d->name = databaseName;
}

TDatabase::~TDatabase() = default;

QString TDatabase::databaseName() const
{
    return m_d->name;
}

QString TDatabase::directory() const
{
    return m_d->directory;
}

void TDatabase::setDirectory(const QString &folder)
{
    if (m_d->openTables > 0)
        throw EDBEngineError(EngineCode::InvalidUse,
                             QStringLiteral("No se puede cambiar la carpeta de la base de datos %1 con tablas abiertas.")
                                 .arg(m_d->name));
    m_d->directory = folder;
}

QString TDatabase::tablePath(const QString &tableName) const
{
    return QDir(m_d->directory).filePath(tableName);
}

// ---------------------------------------------------------------------------
// Values

namespace {

constexpr qint64 kSinRegistro = std::numeric_limits<qint64>::min();
constexpr qint64 kRegistroNuevo = std::numeric_limits<qint64>::min() + 1;
constexpr int kSinCalculo = -2;
constexpr int kCalculoPendiente = -1;

bool esTexto(TFieldType t)
{
    return t == TFieldType::Text || t == TFieldType::Memo;
}

bool esEntero(TFieldType t)
{
    return t == TFieldType::Integer || t == TFieldType::AutoInc;
}

QString nombreTipo(TFieldType t)
{
    switch (t) {
    case TFieldType::Text: return QStringLiteral("texto");
    case TFieldType::Integer: return QStringLiteral("entero");
    case TFieldType::Float: return QStringLiteral("numérico");
    case TFieldType::Date: return QStringLiteral("fecha");
    case TFieldType::AutoInc: return QStringLiteral("autoincremental");
    case TFieldType::Memo: return QStringLiteral("memo");
    }
    return QString();
}

// Numbers as typed by the user: "." groups thousands, "," starts the decimals.
bool leerNumero(const QString &texto, double *v)
{
    QString t = texto.trimmed();
    if (t.contains(QLatin1Char(','))) {
        t.remove(QLatin1Char('.'));
        t.replace(QLatin1Char(','), QLatin1Char('.'));
    } else if (t.contains(QLatin1Char('.'))) {
        // Without a decimal comma every "." groups thousands; a broken group such as
        // "15.0000" (a digit typed after "15.000") is refused rather than read as 15.
        static const QRegularExpression agrupado(QStringLiteral("^[-+]?\\d{1,3}(\\.\\d{3})+$"));
        if (!agrupado.match(t).hasMatch())
            return false;
        t.remove(QLatin1Char('.'));
    }
    bool ok = false;
    *v = t.toDouble(&ok);
    return ok && std::isfinite(*v);
}

QDate leerFecha(const QString &texto)
{
    const QString t = texto.trimmed();
    for (const char *formato : {"dd/MM/yyyy", "d/M/yyyy", "yyyy-MM-dd"}) {
        const QDate d = QDate::fromString(t, QLatin1String(formato));
        if (d.isValid())
            return d;
    }
    return QDate();
}

QString textoReal(double v)
{
    QString s = QString::number(v, 'f', 10);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

QDate fechaDeIso(const unsigned char *t, int n)
{
    if (n >= 10 && t[4] == '-' && t[7] == '-') {
        auto dig = [t](int i) { return int(t[i] - '0'); };
        const int y = dig(0) * 1000 + dig(1) * 100 + dig(2) * 10 + dig(3);
        const int m = dig(5) * 10 + dig(6);
        const int d = dig(8) * 10 + dig(9);
        return QDate(y, m, d);
    }
    return QDate::fromString(QString::fromUtf8(reinterpret_cast<const char *>(t), n), Qt::ISODate);
}

// One loaded column of the visible rows.
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

    void vaciar()
    {
        enteros.clear();
        reales.clear();
        textos.clear();
        nulos.clear();
        ultimoBruto.clear();
        ultimoIndice = 0;
    }
    void leer(sqlite3_stmt *st, int col)
    {
        const bool nulo = sqlite3_column_type(st, col) == SQLITE_NULL;
        nulos.push_back(nulo ? 1 : 0);
        switch (tipo) {
        case TFieldType::Integer:
        case TFieldType::AutoInc: enteros.push_back(nulo ? 0 : sqlite3_column_int64(st, col)); break;
        case TFieldType::Float: reales.push_back(nulo ? 0.0 : sqlite3_column_double(st, col)); break;
        case TFieldType::Date: {
            qint64 jd = 0;
            if (!nulo) {
                const unsigned char *t = sqlite3_column_text(st, col);
                const QDate d = fechaDeIso(t, sqlite3_column_bytes(st, col));
                if (d.isValid())
                    jd = d.toJulianDay();
                else
                    nulos.back() = 1;
            }
            enteros.push_back(jd);
            break;
        }
        case TFieldType::Text:
        case TFieldType::Memo: {
            if (nulo) {
                textos.push_back(0);
                break;
            }
            if (pool.empty())
                pool.emplace_back(); // 0: empty
            const char *t = reinterpret_cast<const char *>(sqlite3_column_text(st, col));
            const int n = sqlite3_column_bytes(st, col);
            if (n == 0) {
                textos.push_back(0);
                break;
            }
            if (size_t(n) == ultimoBruto.size() && ultimoIndice != 0 && std::memcmp(t, ultimoBruto.data(), size_t(n)) == 0) {
                textos.push_back(ultimoIndice);
                break;
            }
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
            textos.push_back(indice);
            break;
        }
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
    void poner(int fila, const QVariant &v)
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
};

void enlazar(sqlite3_stmt *st, int i, TFieldType tipo, const QVariant &v)
{
    if (v.isNull()) {
        sqlite3_bind_null(st, i);
        return;
    }
    switch (tipo) {
    case TFieldType::Integer:
    case TFieldType::AutoInc: sqlite3_bind_int64(st, i, v.toLongLong()); return;
    case TFieldType::Float: sqlite3_bind_double(st, i, v.toDouble()); return;
    case TFieldType::Date: {
        const QByteArray u = fechaIso(v.toDate()).toUtf8();
        sqlite3_bind_text(st, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        return;
    }
    case TFieldType::Text:
    case TFieldType::Memo: {
        const QByteArray u = v.toString().toUtf8();
        sqlite3_bind_text(st, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        return;
    }
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Table object state

struct TTable::Private
{
    TTable *q;
    QPointer<TDatabase> db; // the database may go first when both are children of one owner
    QString tableName;
    QString indexName;
    QPointer<TTable> master; // a master destroyed before a closed detail must not dangle
    QString masterField;
    QList<QPointer<TTable>> details; // objects linked to this one, told of every move before anyone else
    QString filterText;
    bool filtered = false;
    // The parsed filter: field name as written and the value to bind.
    QString filterField;
    QVariant filterValue;
    CalcFieldsHandler onCalc;

    std::vector<std::unique_ptr<TField>> fields;

    // Open state.
    TDataSetState state = TDataSetState::Inactive;
    Conexion *con = nullptr;
    QString path; // absolute path of the file
    QVector<TField *> dataFields;  // the loaded columns, by m_column
    std::vector<ColumnaFilas> cols;
    std::vector<qint64> rowids;
    int rowCount = 0;
    int cur = -1;
    bool eof = true, bof = true;
    qint64 scrollId = kSinRegistro; // identity of the record last announced by afterScroll
    // A detail whose master moved reads its new rows when they are first asked
    // for: the details nobody looks at cost nothing at a move of the master.
    bool rowsPending = false;
    bool scrollIdPending = false; // afterScroll announced before the rows were read

    // Range and order.
    int linkColumn = -1;           // file column compared with the master's field
    QString orderBy;
    QVariant rangeKey;             // master's value the rows were read for
    bool rangeEmpty = false;       // master closed or without a record
    qint64 rangeMasterId = kSinRegistro; // the master's record the rows follow
    sqlite3_stmt *selectRows = nullptr; // borrowed from the connection
    QString selectSql;
    sqlite3_stmt *selectOne = nullptr;

    // Pending record of Edit and Insert.
    QVector<QVariant> pending;
    QVector<bool> modified;
    qint64 pendingRowid = 0;
    int rowBeforeInsert = -1;

    // Calculated fields: values per row, computed when first asked for.
    QVector<TField *> calcFields;
    mutable std::vector<QVector<QVariant>> calcRows;
    mutable QVector<QVariant> calcPending;
    mutable bool calcPendingValid = false;
    mutable int calcContext = kSinCalculo;
    mutable QVector<QVariant> *calcTarget = nullptr;

    // Lookup index of this table's rows, by key column (built on demand).
    mutable QHash<int, QHash<QString, int>> lookupIndex;

    // Change detection.
    quint64 seenCounter = 0;
    qint64 seenDataVersion = -1;
    sqlite3_stmt *dataVersion = nullptr;

    explicit Private(TTable *t) : q(t) {}

    QString name() const { return tableName.isEmpty() ? QStringLiteral("(sin nombre)") : tableName; }

    [[noreturn]] void error(quint16 code, const QString &text) const { throw EDBEngineError(code, text); }
    void requireActive() const
    {
        if (state == TDataSetState::Inactive)
            error(EngineCode::InvalidUse, QStringLiteral("La tabla %1 no está abierta.").arg(name()));
    }

    // The rows a detail left unread at its master's move, read now.
    void ensureRows() const
    {
        if (!rowsPending)
            return;
        auto *self = const_cast<Private *>(this);
        self->loadRows(kSinRegistro, 0);
        self->bof = true;
        if (scrollIdPending) {
            self->scrollIdPending = false;
            self->scrollId = currentId();
        }
    }
    void requireRows() const
    {
        requireActive();
        ensureRows();
    }

    bool editing() const { return state == TDataSetState::Edit || state == TDataSetState::Insert; }

    qint64 currentId() const
    {
        ensureRows();
        if (state == TDataSetState::Insert)
            return kRegistroNuevo;
        return (cur >= 0 && cur < rowCount) ? rowids[size_t(cur)] : kSinRegistro;
    }

    // --- field values in the right context
    QVariant cell(int row, int col) const
    {
        if (row < 0 || row >= rowCount || col < 0)
            return QVariant();
        return cols[size_t(col)].valor(row);
    }
    QVariant dataValue(const TField *f) const
    {
        if (f->m_column < 0)
            return QVariant();
        if (calcContext >= 0)
            return cell(calcContext, f->m_column);
        if (calcContext == kCalculoPendiente || editing())
            return pending.value(f->m_column);
        return cell(cur, f->m_column);
    }
    QVariant valueOf(const TField *f) const;
    QVariant valueAtRow(int row, const TField *f) const;
    QVariant lookup(const TField *f, const QVariant &key) const;
    const QVector<QVariant> &calcValues(int row) const; // row -1: pending record

    // --- reading
    void prepareRead();
    void loadRows(qint64 keepId, int fallbackRow);
    // `fichero`: also ask the file about other programs' commits (the start of a
    // read: first, last, locate, a jump); stepping to the next or previous
    // record only looks at this program's own commits.
    bool changedOutside(bool fichero);
    void checkChanges(bool fichero = true);
    void afterMove(bool always = false);
    void setRow(int row);
    QVariant masterKey() const;
    void followMaster(bool force);
    void connectMaster();
    void disconnectMaster();
    enum class Aviso { Scroll, Reset, Estado, Cierre };
    // Details follow first, so whoever listens to this object sees them in step.
    void avisar(Aviso a)
    {
        const QList<QPointer<TTable>> lista = details;
        for (const QPointer<TTable> &t : lista)
            if (t)
                t->d->followMaster(a == Aviso::Scroll);
        switch (a) {
        case Aviso::Scroll: emit q->afterScroll(); break;
        case Aviso::Reset: emit q->rowsReset(); break;
        case Aviso::Estado: emit q->stateChanged(); break;
        case Aviso::Cierre: emit q->afterClose(); break;
        }
    }
    void leaveEditForMove();
    // A new set of visible rows (filter switched or changed): read it, first record current.
    void reloadFromFirst()
    {
        prepareRead();
        loadRows(kSinRegistro, 0);
        setRow(rowCount > 0 ? 0 : -1);
        bof = true;
        avisar(Aviso::Reset);
        afterMove();
    }
    void parseFilter(const QString &text, QString *field, QVariant *value) const;
    int fileColumn(const QString &field) const;
    void invalidateCaches()
    {
        calcRows.clear();
        calcPendingValid = false;
        lookupIndex.clear();
    }
    QVariant convert(const TField *f, const QVariant &v) const;
    int findRow(qint64 id) const
    {
        for (int i = 0; i < rowCount; ++i)
            if (rowids[size_t(i)] == id)
                return i;
        return -1;
    }
};

// ---------------------------------------------------------------------------
// Fields


bool TField::isNull() const
{
    return value().isNull();
}

QVariant TField::value() const
{
    return m_table->d->valueOf(this);
}

QVariant TTable::Private::valueOf(const TField *f) const
{
    ensureRows();
    switch (f->m_kind) {
    case TFieldKind::Data: return dataValue(f);
    case TFieldKind::Lookup: {
        const TField *key = q->findField(f->m_keyFields);
        return key ? lookup(f, key->value()) : QVariant();
    }
    case TFieldKind::Calculated: {
        const int i = calcFields.indexOf(const_cast<TField *>(f));
        if (i < 0)
            return QVariant();
        if (calcTarget)
            return calcTarget->value(i);
        if (state == TDataSetState::Inactive)
            return QVariant();
        if (editing())
            return calcValues(-1).value(i);
        if (cur < 0)
            return QVariant();
        return calcValues(cur).value(i);
    }
    }
    return QVariant();
}

QVariant TTable::Private::valueAtRow(int row, const TField *f) const
{
    ensureRows();
    if (row < 0 || row >= rowCount || !f || f->m_table != q)
        return QVariant();
    switch (f->m_kind) {
    case TFieldKind::Data: return cell(row, f->m_column);
    case TFieldKind::Lookup: {
        const TField *key = q->findField(f->m_keyFields);
        return key ? lookup(f, valueAtRow(row, key)) : QVariant();
    }
    case TFieldKind::Calculated: {
        const int i = calcFields.indexOf(const_cast<TField *>(f));
        if (i < 0)
            return QVariant();
        // Grids paint with this: a failing handler leaves the cell empty instead
        // of throwing through a paint event. Field reads still see the error.
        try {
            return calcValues(row).value(i);
        } catch (const ECodedError &) {
            return QVariant();
        }
    }
    }
    return QVariant();
}

namespace {
QString claveBusqueda(const QVariant &v)
{
    if (v.isNull())
        return QString();
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong: return QString::number(v.toLongLong());
    case QMetaType::Double: {
        const double d = v.toDouble();
        return d == std::floor(d) && std::fabs(d) < 1e15 ? QString::number(qint64(d)) : QString::number(d, 'g', 17);
    }
    case QMetaType::QDate: return v.toDate().toString(Qt::ISODate);
    default: return QLatin1Char('s') + v.toString();
    }
}
}

QVariant TTable::Private::lookup(const TField *f, const QVariant &key) const
{
    TTable *t = f->m_lookupTable;
    if (!t || key.isNull() || !t->active())
        return QVariant();
    const Private *o = t->d.get();
    o->ensureRows();
    const TField *kf = t->findField(f->m_lookupKey);
    const TField *rf = t->findField(f->m_lookupResult);
    if (!kf || !rf || kf->m_column < 0)
        return QVariant();
    auto it = o->lookupIndex.find(kf->m_column);
    if (it == o->lookupIndex.end()) {
        QHash<QString, int> idx;
        idx.reserve(o->rowCount);
        for (int r = o->rowCount - 1; r >= 0; --r) // the first row wins
            idx.insert(claveBusqueda(o->cell(r, kf->m_column)), r);
        it = o->lookupIndex.insert(kf->m_column, idx);
    }
    QVariant k = key;
    if (esTexto(kf->m_type))
        k = QVariant(key.toString());
    const int row = it->value(claveBusqueda(k), -1);
    return row < 0 ? QVariant() : o->valueAtRow(row, rf);
}

const QVector<QVariant> &TTable::Private::calcValues(int row) const
{
    static const QVector<QVariant> vacio;
    QVector<QVariant> *target;
    if (row < 0) {
        if (calcPendingValid)
            return calcPending;
        target = &calcPending;
    } else {
        if (calcRows.size() != size_t(rowCount))
            calcRows.assign(size_t(rowCount), QVector<QVariant>());
        if (!calcRows[size_t(row)].isEmpty())
            return calcRows[size_t(row)];
        target = &calcRows[size_t(row)];
    }
    QVector<QVariant> valores(calcFields.size());
    if (onCalc && !calcTarget) {
        const int savedContext = calcContext;
        QVector<QVariant> *savedTarget = calcTarget;
        calcContext = row < 0 ? kCalculoPendiente : row;
        calcTarget = &valores;
        try {
            onCalc(*q);
        } catch (...) {
            calcContext = savedContext;
            calcTarget = savedTarget;
            throw;
        }
        calcContext = savedContext;
        calcTarget = savedTarget;
    }
    // The handler may have made the table read its rows again.
    if (row < 0) {
        calcPending = valores;
        calcPendingValid = true;
        return calcPending;
    }
    if (calcRows.size() != size_t(rowCount) || row >= rowCount)
        return vacio;
    Q_UNUSED(target);
    calcRows[size_t(row)] = valores;
    return calcRows[size_t(row)];
}

QVariant TTable::Private::convert(const TField *f, const QVariant &v) const
{
    if (v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty()))
        return QVariant();
    auto invalido = [&]() {
        error(EngineCode::InvalidUse, QStringLiteral("«%1» no es un valor válido para el campo %2 (%3) de la tabla %4.")
                                          .arg(v.toString(), f->m_name, nombreTipo(f->m_type), name()));
    };
    switch (f->m_type) {
    case TFieldType::Text:
    case TFieldType::Memo: {
        QString s;
        if (v.typeId() == QMetaType::QDate)
            s = v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
        else if (v.typeId() == QMetaType::Double)
            s = textoReal(v.toDouble());
        else
            s = v.toString();
        if (f->m_type == TFieldType::Text && f->m_size > 0 && s.size() > f->m_size)
            error(EngineCode::InvalidUse,
                  QStringLiteral("El texto «%1» es más largo que el campo %2 de la tabla %3 (%4 caracteres como máximo).")
                      .arg(s, f->m_name, name())
                      .arg(f->m_size));
        return QVariant(s);
    }
    case TFieldType::Integer:
    case TFieldType::AutoInc: {
        double d = 0;
        bool ok = true;
        if (v.typeId() == QMetaType::QString)
            ok = leerNumero(v.toString(), &d);
        else
            d = v.toDouble(&ok);
        if (!ok || std::fabs(d) > 2147483647.0)
            invalido();
        return QVariant(int(std::llround(d)));
    }
    case TFieldType::Float: {
        double d = 0;
        bool ok = true;
        if (v.typeId() == QMetaType::QString)
            ok = leerNumero(v.toString(), &d);
        else
            d = v.toDouble(&ok);
        if (!ok)
            invalido();
        return QVariant(d);
    }
    case TFieldType::Date: {
        QDate d;
        if (v.typeId() == QMetaType::QDate)
            d = v.toDate();
        else if (v.typeId() == QMetaType::QDateTime)
            d = v.toDateTime().date();
        else
            d = leerFecha(v.toString());
        if (!d.isValid())
            invalido();
        return QVariant(d);
    }
    }
    return v;
}

void TField::setValue(const QVariant &v)
{
    TTable::Private *p = m_table->d.get();
    if (m_kind == TFieldKind::Calculated) {
        const int i = p->calcFields.indexOf(this);
        if (!p->calcTarget || i < 0)
            p->error(EngineCode::InvalidUse, QStringLiteral("El campo calculado %1 de la tabla %2 sólo se escribe al calcular.")
                                                 .arg(m_name, p->name()));
        (*p->calcTarget)[i] = v;
        return;
    }
    if (p->calcTarget)
        p->error(EngineCode::InvalidUse,
                 QStringLiteral("Al calcular la tabla %1 sólo se escriben campos calculados.").arg(p->name()));
    if (!p->editing())
        p->error(EngineCode::InvalidUse,
                 QStringLiteral("La tabla %1 no está en modo de edición: no se puede escribir el campo %2.").arg(p->name(), m_name));
    if (m_kind == TFieldKind::Lookup) {
        // Choosing a shown value writes the matching key.
        TField *key = m_table->fieldByName(m_keyFields);
        QVariant k;
        if (!v.isNull() && m_lookupTable && m_lookupTable->active()) {
            TTable::Private *o = m_lookupTable->d.get();
            const TField *rf = m_lookupTable->fieldByName(m_lookupResult);
            const TField *kf = m_lookupTable->fieldByName(m_lookupKey);
            for (int r = 0; r < o->rowCount; ++r)
                if (o->valueAtRow(r, rf).toString() == v.toString()) {
                    k = o->valueAtRow(r, kf);
                    break;
                }
        }
        key->setValue(k);
        emit m_table->fieldChanged(this);
        return;
    }
    const QVariant nuevo = p->convert(this, v);
    p->pending[m_column] = nuevo;
    p->modified[m_column] = true;
    p->calcPendingValid = false;
    for (const QPointer<TTable> &t : QList<QPointer<TTable>>(p->details))
        if (t)
            t->d->followMaster(false);
    emit m_table->fieldChanged(this);
}

QString TField::asString() const
{
    const QVariant v = value();
    if (v.isNull())
        return QString();
    switch (m_type) {
    case TFieldType::Date: return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case TFieldType::Float: return textoReal(v.toDouble());
    case TFieldType::Integer:
    case TFieldType::AutoInc: return QString::number(v.toLongLong());
    default: break;
    }
    if (v.typeId() == QMetaType::Double)
        return textoReal(v.toDouble());
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    return v.toString();
}

void TField::setAsString(const QString &text)
{
    if (text.isEmpty()) {
        clear();
        return;
    }
    if (m_kind == TFieldKind::Calculated && (m_type == TFieldType::Integer || m_type == TFieldType::Float)) {
        double d = 0;
        if (leerNumero(text, &d))
            setValue(m_type == TFieldType::Integer ? QVariant(int(std::llround(d))) : QVariant(d));
        else
            setValue(text);
        return;
    }
    setValue(text);
}

qint32 TField::asInteger() const
{
    const QVariant v = value();
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString) {
        double d = 0;
        return leerNumero(v.toString(), &d) ? qint32(std::llround(d)) : 0;
    }
    return qint32(std::llround(v.toDouble()));
}

void TField::setAsInteger(qint32 v)
{
    setValue(QVariant(int(v)));
}

double TField::asFloat() const
{
    const QVariant v = value();
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString) {
        double d = 0;
        return leerNumero(v.toString(), &d) ? d : 0;
    }
    return v.toDouble();
}

void TField::setAsFloat(double v)
{
    setValue(QVariant(v));
}

QDate TField::asDate() const
{
    const QVariant v = value();
    if (v.isNull())
        return QDate();
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    return leerFecha(v.toString());
}

void TField::setAsDate(const QDate &d)
{
    setValue(d.isValid() ? QVariant(d) : QVariant());
}

void TField::clear()
{
    setValue(QVariant());
}

void TField::setText(const QString &text)
{
    if (m_onSetText)
        m_onSetText(*this, text);
    else
        setAsString(text);
}

// ---------------------------------------------------------------------------
// Table object


TTable::TTable(QObject *parent) : QObject(parent), d(new Private(this))
{
}

TTable::~TTable()
{
    d->disconnectMaster();
    for (const QPointer<TTable> &t : std::as_const(d->details))
        if (t)
            t->d->master = nullptr;
    if (d->state != TDataSetState::Inactive) {
        d->selectRows = nullptr;
        d->selectOne = nullptr;
        d->dataVersion = nullptr;
        soltarConexion(d->con);
        if (d->db)
            --d->db->d()->openTables;
    }
}

void TTable::setDatabase(TDatabase *db)
{
    d->db = db;
}

TDatabase *TTable::database() const
{
    return d->db;
}

void TTable::setTableName(const QString &name)
{
    if (active())
        d->error(EngineCode::InvalidUse, QStringLiteral("No se puede cambiar el nombre de la tabla %1 abierta.").arg(d->name()));
    d->tableName = name;
}

QString TTable::tableName() const
{
    return d->tableName;
}

QString TTable::filePath() const
{
    return d->db ? d->db->tablePath(d->tableName) : d->tableName;
}

TField *TTable::addField(const QString &name)
{
    if (active())
        d->error(EngineCode::InvalidUse, QStringLiteral("No se pueden declarar campos con la tabla %1 abierta.").arg(d->name()));
    if (TField *f = findField(name))
        return f;
    d->fields.emplace_back(new TField(this, name, TFieldKind::Data, TFieldType::Text, 0));
    return d->fields.back().get();
}

TField *TTable::addLookupField(const QString &name, int size, const QString &keyField, TTable *lookupTable,
                               const QString &lookupKeyField, const QString &lookupResultField)
{
    if (active())
        d->error(EngineCode::InvalidUse, QStringLiteral("No se pueden declarar campos con la tabla %1 abierta.").arg(d->name()));
    auto *f = new TField(this, name, TFieldKind::Lookup, TFieldType::Text, size);
    f->m_keyFields = keyField;
    f->m_lookupTable = lookupTable;
    f->m_lookupKey = lookupKeyField;
    f->m_lookupResult = lookupResultField;
    d->fields.emplace_back(f);
    return f;
}

TField *TTable::addCalculatedField(const QString &name, TFieldType type, int size)
{
    if (active())
        d->error(EngineCode::InvalidUse, QStringLiteral("No se pueden declarar campos con la tabla %1 abierta.").arg(d->name()));
    auto *f = new TField(this, name, TFieldKind::Calculated, type, size);
    d->fields.emplace_back(f);
    d->calcFields.append(f);
    return f;
}

TField *TTable::findField(const QString &name) const
{
    for (const auto &f : d->fields)
        if (f->m_name.compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TField *TTable::fieldByName(const QString &name) const
{
    if (TField *f = findField(name))
        return f;
    d->error(EngineCode::InvalidUse, QStringLiteral("El campo %1 no existe en la tabla %2.").arg(name, d->name()));
}

QList<TField *> TTable::fields() const
{
    QList<TField *> r;
    for (const auto &f : d->fields)
        r.append(f.get());
    return r;
}

void TTable::setIndexName(const QString &name)
{
    if (active())
        d->error(EngineCode::InvalidUse, QStringLiteral("No se puede cambiar el índice de la tabla %1 abierta.").arg(d->name()));
    d->indexName = name;
}

QString TTable::indexName() const
{
    return d->indexName;
}

void TTable::setMasterSource(TTable *master, const QString &masterField)
{
    if (active())
        d->error(EngineCode::InvalidUse, QStringLiteral("No se puede enlazar la tabla %1 abierta.").arg(d->name()));
    d->master = master;
    d->masterField = masterField;
}

TTable *TTable::masterSource() const
{
    return d->master;
}

int TTable::Private::fileColumn(const QString &field) const
{
    return con ? con->esquema.columna(field) : -1;
}

void TTable::Private::parseFilter(const QString &text, QString *field, QVariant *value) const
{
    static const QRegularExpression forma(QStringLiteral(
        "^\\s*([A-Za-z_][A-Za-z0-9_]*)\\s*=\\s*(?:'((?:[^']|'')*)'|([-+]?\\d+(?:\\.\\d+)?))\\s*$"));
    const auto m = forma.match(text);
    if (!m.hasMatch())
        error(EngineCode::InvalidUse,
              QStringLiteral("El filtro «%1» de la tabla %2 no es válido: se espera Campo = 'texto' o Campo = número.")
                  .arg(text, name()));
    *field = m.captured(1);
    if (m.capturedStart(2) >= 0) {
        QString s = m.captured(2);
        s.replace(QLatin1String("''"), QLatin1String("'"));
        *value = s;
    } else {
        const QString n = m.captured(3);
        if (n.contains(QLatin1Char('.')))
            *value = n.toDouble();
        else {
            bool ok = false;
            const qint64 i = n.toLongLong(&ok);
            *value = ok ? QVariant(i) : QVariant(n.toDouble());
        }
    }
}

void TTable::setFilter(const QString &filter)
{
    QString field;
    QVariant value;
    if (!filter.trimmed().isEmpty()) {
        d->parseFilter(filter, &field, &value);
        if (active() && d->fileColumn(field) < 0)
            d->error(EngineCode::InvalidUse,
                     QStringLiteral("El campo %1 del filtro no existe en la tabla %2.").arg(field, d->name()));
    }
    if (active() && d->editing())
        d->leaveEditForMove();
    d->filterText = filter;
    d->filterField = field;
    d->filterValue = value;
    if (active() && d->filtered) {
        d->reloadFromFirst();
    }
}

QString TTable::filter() const
{
    return d->filterText;
}

void TTable::setFiltered(bool on)
{
    if (d->filtered == on)
        return;
    if (active() && d->editing())
        d->leaveEditForMove();
    d->filtered = on;
    if (active() && !d->filterField.isEmpty()) {
        d->reloadFromFirst();
    }
}

bool TTable::filtered() const
{
    return d->filtered;
}

void TTable::setOnCalcFields(CalcFieldsHandler h)
{
    d->onCalc = std::move(h);
    d->invalidateCaches();
}

// --- opening

void TTable::open()
{
    if (active())
        return;
    if (d->tableName.isEmpty())
        d->error(EngineCode::InvalidUse, QStringLiteral("No se ha indicado el nombre de la tabla."));
    d->path = QFileInfo(filePath()).absoluteFilePath();
    d->con = abrirConexion(d->path, d->name());
    try {
        const Esquema &e = d->con->esquema;
        // Fields: declared ones must exist; none declared means every stored field.
        bool anyData = false;
        for (const auto &f : d->fields)
            anyData = anyData || f->m_kind == TFieldKind::Data;
        if (!anyData)
            for (const store::Columna &c : e.columnas)
                d->fields.emplace_back(new TField(this, c.nombre, TFieldKind::Data, TFieldType(c.tipo), c.tamano));
        // Detail: the link field is the first field of the named index.
        d->linkColumn = -1;
        QStringList orden;
        if (!d->indexName.isEmpty()) {
            const Indice *i = e.indice(d->indexName);
            if (!i)
                d->error(EngineCode::InvalidUse,
                         QStringLiteral("La tabla %1 no tiene el índice %2.").arg(d->name(), d->indexName));
            orden = i->campos;
        }
        if (d->master) {
            if (orden.isEmpty())
                d->error(EngineCode::InvalidUse,
                         QStringLiteral("La tabla %1 necesita un índice para enlazarse con su tabla maestra.").arg(d->name()));
            d->linkColumn = e.columna(orden.first());
            if (!findField(orden.first()))
                d->fields.emplace_back(new TField(this, e.columnas[d->linkColumn].nombre, TFieldKind::Data,
                                                  TFieldType(e.columnas[d->linkColumn].tipo),
                                                  e.columnas[d->linkColumn].tamano));
        }
        QStringList ordenSql;
        for (const QString &c : orden)
            ordenSql << comillas(c);
        ordenSql << QStringLiteral("rowid");
        d->orderBy = ordenSql.join(QLatin1Char(','));

        d->dataFields.clear();
        d->cols.clear();
        for (const auto &f : d->fields) {
            f->m_column = -1;
            if (f->m_kind != TFieldKind::Data)
                continue;
            const int c = e.columna(f->m_name);
            if (c < 0)
                d->error(EngineCode::InvalidUse,
                         QStringLiteral("El campo %1 no existe en la tabla %2.").arg(f->m_name, d->name()));
            f->m_type = TFieldType(e.columnas[c].tipo);
            f->m_size = e.columnas[c].tamano;
            f->m_column = int(d->dataFields.size());
            d->dataFields.append(f.get());
            ColumnaFilas col;
            col.tipo = f->m_type;
            col.indiceFichero = c;
            d->cols.push_back(std::move(col));
        }
        for (const auto &f : d->fields)
            if (f->m_kind == TFieldKind::Lookup && !findField(f->m_keyFields))
                d->error(EngineCode::InvalidUse, QStringLiteral("El campo %1 de la tabla %2 busca por %3, que no está declarado.")
                                                     .arg(f->m_name, d->name(), f->m_keyFields));
        if (!d->filterField.isEmpty() && e.columna(d->filterField) < 0)
            d->error(EngineCode::InvalidUse,
                     QStringLiteral("El campo %1 del filtro no existe en la tabla %2.").arg(d->filterField, d->name()));

        d->state = TDataSetState::Browse;
        d->dataVersion = d->con->sentencia(QStringLiteral("PRAGMA data_version"), Operacion::Lectura);
        d->prepareRead();
        d->rangeKey = d->masterKey();
        d->rangeMasterId = d->master && d->master->active() ? d->master->d->currentId() : kSinRegistro;
        d->loadRows(kSinRegistro, 0);
    } catch (...) {
        d->state = TDataSetState::Inactive;
        d->selectRows = nullptr;
        d->selectOne = nullptr;
        d->dataVersion = nullptr;
        soltarConexion(d->con);
        d->con = nullptr;
        d->rowCount = 0;
        throw;
    }
    if (d->db)
        ++d->db->d()->openTables;
    d->cur = d->rowCount > 0 ? 0 : -1;
    d->bof = true;
    d->eof = d->rowCount == 0;
    d->connectMaster();
    d->avisar(Private::Aviso::Estado);
    emit afterOpen();
    d->scrollId = d->currentId();
    d->avisar(Private::Aviso::Scroll);
}

void TTable::close()
{
    if (!active())
        return;
    d->disconnectMaster();
    d->state = TDataSetState::Inactive;
    d->selectRows = nullptr;
    d->selectOne = nullptr;
    d->dataVersion = nullptr;
    soltarConexion(d->con);
    d->con = nullptr;
    if (d->db)
        --d->db->d()->openTables;
    for (auto &c : d->cols)
        c.vaciar();
    d->rowids.clear();
    d->rowCount = 0;
    d->cur = -1;
    d->eof = d->bof = true;
    d->rowsPending = d->scrollIdPending = false;
    d->pending.clear();
    d->modified.clear();
    d->invalidateCaches();
    d->scrollId = kSinRegistro;
    d->avisar(Private::Aviso::Estado);
    d->avisar(Private::Aviso::Cierre);
}

bool TTable::active() const
{
    return d->state != TDataSetState::Inactive;
}

TDataSetState TTable::state() const
{
    return d->state;
}

// --- reading rows

void TTable::Private::prepareRead()
{
    QStringList cs;
    cs << QStringLiteral("rowid");
    for (const ColumnaFilas &c : cols)
        cs << comillas(con->esquema.columnas[c.indiceFichero].nombre);
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(cs.join(QLatin1Char(',')), comillas(con->esquema.tablaSql));
    QStringList where;
    if (linkColumn >= 0)
        where << comillas(con->esquema.columnas[linkColumn].nombre) + QStringLiteral(" = ?1");
    if (filtered && !filterField.isEmpty())
        where << comillas(con->esquema.columnas[fileColumn(filterField)].nombre) + QStringLiteral(" = ?2");
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + orderBy;
    if (sql != selectSql || !selectRows) {
        selectRows = con->sentencia(sql, Operacion::Lectura);
        selectSql = sql;
    }
    if (!selectOne) {
        QStringList one = cs;
        one.removeFirst();
        selectOne = con->sentencia(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?1")
                                       .arg(one.isEmpty() ? QStringLiteral("rowid") : one.join(QLatin1Char(',')),
                                            comillas(con->esquema.tablaSql)),
                                   Operacion::Lectura);
    }
}

QVariant TTable::Private::masterKey() const
{
    if (!master || !master->active())
        return QVariant();
    const TField *f = master->findField(masterField);
    if (!f)
        return QVariant();
    if (master->state() == TDataSetState::Browse && master->isEmpty())
        return QVariant();
    return f->value();
}

void TTable::Private::loadRows(qint64 keepId, int fallbackRow)
{
    rowsPending = false;
    sqlite3_stmt *st = selectRows;
    // One read transaction: the version noted is the one of the rows read, and
    // the file is locked and checked once instead of once per statement.
    sqlite3_stmt *begin = con->sentencia(QStringLiteral("BEGIN"), Operacion::Lectura);
    sqlite3_stmt *commit = con->sentencia(QStringLiteral("COMMIT"), Operacion::Lectura);
    const bool transaccion = sqlite3_get_autocommit(con->db) != 0;
    if (transaccion) {
        sqlite3_step(begin);
        sqlite3_reset(begin);
    }
    auto terminar = [&]() {
        if (transaccion && !sqlite3_get_autocommit(con->db)) {
            sqlite3_step(commit);
            sqlite3_reset(commit);
        }
    };
    const quint64 contador = con->cambios;
    qint64 version = -1;
    if (dataVersion) {
        const int rc = sqlite3_step(dataVersion);
        if (rc == SQLITE_ROW)
            version = sqlite3_column_int64(dataVersion, 0);
        sqlite3_reset(dataVersion);
        if (rc != SQLITE_ROW) {
            terminar();
            fallo(con->db, rc, Operacion::Lectura, name());
        }
    }
    for (auto &c : cols)
        c.vaciar();
    rowids.clear();
    rowCount = 0;
    invalidateCaches();
    rangeEmpty = false;
    if (linkColumn >= 0) {
        if (rangeKey.isNull()) {
            rangeEmpty = true;
        } else {
            const auto tipo = TFieldType(con->esquema.columnas[linkColumn].tipo);
            QVariant k = rangeKey;
            if (tipo == TFieldType::Date && k.typeId() != QMetaType::QDate)
                k = leerFecha(k.toString());
            enlazar(st, 1, tipo, k);
        }
    }
    if (filtered && !filterField.isEmpty()) {
        const int c = fileColumn(filterField);
        const auto tipo = TFieldType(con->esquema.columnas[c].tipo);
        QVariant v = filterValue;
        if (tipo == TFieldType::Date) {
            const QDate dd = leerFecha(v.toString());
            v = dd.isValid() ? QVariant(fechaIso(dd)) : v;
            enlazar(st, 2, TFieldType::Text, v);
        } else if (esEntero(tipo) || tipo == TFieldType::Float) {
            if (v.typeId() == QMetaType::QString) {
                double x = 0;
                if (leerNumero(v.toString(), &x))
                    v = x;
            }
            if (v.typeId() == QMetaType::Double && v.toDouble() == std::floor(v.toDouble()) && esEntero(tipo))
                v = qint64(v.toDouble());
            if (v.typeId() == QMetaType::LongLong)
                sqlite3_bind_int64(st, 2, v.toLongLong());
            else if (v.typeId() == QMetaType::Double)
                sqlite3_bind_double(st, 2, v.toDouble());
            else
                enlazar(st, 2, TFieldType::Text, v);
        } else {
            const QByteArray u = (v.typeId() == QMetaType::QString ? v.toString() : v.toString()).toUtf8();
            sqlite3_bind_text(st, 2, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        }
    }
    if (!rangeEmpty) {
        int rc;
        const int n = int(cols.size());
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            rowids.push_back(sqlite3_column_int64(st, 0));
            for (int i = 0; i < n; ++i)
                cols[size_t(i)].leer(st, i + 1);
        }
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
        terminar();
        if (rc != SQLITE_DONE) {
            for (auto &c : cols)
                c.vaciar();
            rowids.clear();
            cur = -1;
            eof = bof = true;
            fallo(con->db, rc, Operacion::Lectura, name());
        }
    } else {
        sqlite3_clear_bindings(st);
        terminar();
    }
    rowCount = int(rowids.size());
    seenCounter = contador;
    seenDataVersion = version;
    // Position: the kept record when still visible, otherwise the row nearest the old one.
    int row = keepId != kSinRegistro ? findRow(keepId) : -1;
    if (row < 0)
        row = qBound(-1, fallbackRow, rowCount - 1);
    if (rowCount > 0 && row < 0)
        row = 0;
    cur = rowCount > 0 ? row : -1;
    if (rowCount == 0)
        eof = bof = true;
    else
        eof = bof = false;
}

bool TTable::Private::changedOutside(bool fichero)
{
    if (con->cambios != seenCounter)
        return true;
    if (!fichero || !TableStore::strictChangeDetection() || !dataVersion)
        return false;
    const int rc = sqlite3_step(dataVersion);
    qint64 v = -1;
    if (rc == SQLITE_ROW)
        v = sqlite3_column_int64(dataVersion, 0);
    sqlite3_reset(dataVersion);
    if (rc != SQLITE_ROW)
        fallo(con->db, rc, Operacion::Lectura, name());
    return v != seenDataVersion;
}

// Before a read: take in what other objects and programs committed, keeping the
// current record when it is still visible.
void TTable::Private::checkChanges(bool fichero)
{
    if (state != TDataSetState::Browse || !changedOutside(fichero))
        return;
    const bool wasEof = eof, wasBof = bof;
    loadRows(currentId(), cur);
    if (rowCount > 0) {
        eof = wasEof;
        bof = wasBof;
    }
    avisar(Aviso::Reset);
    afterMove();
}

void TTable::Private::setRow(int row)
{
    cur = row;
    eof = rowCount == 0;
    bof = rowCount == 0;
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

// --- master-detail

void TTable::Private::connectMaster()
{
    if (master && !master->d->details.contains(q))
        master->d->details.append(q);
}

void TTable::Private::disconnectMaster()
{
    if (master)
        master->d->details.removeAll(q);
}

void TTable::Private::followMaster(bool force)
{
    if (state == TDataSetState::Inactive)
        return;
    const QVariant key = masterKey();
    const qint64 masterId = master && master->active() ? master->d->currentId() : kSinRegistro;
    if (key == rangeKey && key.isNull() == rangeKey.isNull() && (!force || masterId == rangeMasterId))
        return;
    if (editing()) {
        // The master moved away: keep what can be kept, never leave a record half-made.
        try {
            q->post();
        } catch (const EDBEngineError &) {
            q->cancel();
        }
    }
    rangeKey = key;
    rangeMasterId = masterId;
    rowsPending = true;
    avisar(Aviso::Reset);
    if (!rowsPending) {
        afterMove(); // someone read the rows: announced only if the record changed
        return;
    }
    // Unread: which record is current is not known, so the move is announced.
    scrollIdPending = true;
    avisar(Aviso::Scroll);
}

// --- moving

void TTable::first()
{
    d->requireRows();
    if (d->editing())
        d->leaveEditForMove();
    d->checkChanges();
    d->setRow(d->rowCount > 0 ? 0 : -1);
    d->bof = true;
    d->afterMove();
}

void TTable::last()
{
    d->requireRows();
    if (d->editing())
        d->leaveEditForMove();
    d->checkChanges();
    d->setRow(d->rowCount - 1);
    d->eof = true;
    d->afterMove();
}

void TTable::next()
{
    d->requireRows();
    if (d->editing())
        d->leaveEditForMove();
    d->checkChanges(false);
    if (d->cur + 1 < d->rowCount) {
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
    return d->rowCount == 0;
}

int TTable::recordCount() const
{
    d->ensureRows();
    return d->rowCount;
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
    const qint64 wanted = row >= 0 && row < d->rowCount ? d->rowids[size_t(row)] : kSinRegistro;
    d->checkChanges();
    int r = row;
    if (wanted != kSinRegistro) {
        const int found = d->findRow(wanted);
        if (found >= 0)
            r = found;
    }
    if (d->rowCount == 0)
        return;
    d->cur = qBound(0, r, d->rowCount - 1);
    d->eof = d->bof = false;
    d->afterMove();
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
    for (int r = 0; r < d->rowCount; ++r) {
        const QVariant v = d->valueAtRow(r, f);
        if (v.isNull() != buscado.isNull())
            continue;
        bool igual;
        if (v.isNull())
            igual = true;
        else if (esEntero(f->m_type) || f->m_type == TFieldType::Float)
            igual = v.toDouble() == buscado.toDouble();
        else if (f->m_type == TFieldType::Date)
            igual = v.toDate() == buscado.toDate();
        else
            igual = v.toString() == buscado.toString();
        if (igual) {
            d->cur = r;
            d->eof = d->bof = false;
            d->afterMove();
            return true;
        }
    }
    return false;
}

// --- editing

void TTable::edit()
{
    d->requireRows();
    if (d->editing())
        return;
    if (d->cur < 0 || d->rowCount == 0)
        d->error(EngineCode::RecordNotFound, QStringLiteral("No hay ningún registro que modificar en la tabla %1.").arg(d->name()));
    // Read the record again: edit what is stored now, or learn it is gone.
    const qint64 id = d->rowids[size_t(d->cur)];
    sqlite3_stmt *st = d->selectOne;
    sqlite3_bind_int64(st, 1, id);
    int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        for (int i = 0; i < int(d->cols.size()); ++i) {
            ColumnaFilas tmp;
            tmp.tipo = d->cols[size_t(i)].tipo;
            tmp.leer(st, i);
            d->cols[size_t(i)].poner(d->cur, tmp.valor(0));
        }
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
    d->pending.resize(d->cols.size());
    for (int i = 0; i < int(d->cols.size()); ++i)
        d->pending[i] = d->cell(d->cur, i);
    d->modified.fill(false, int(d->cols.size()));
    d->pendingRowid = id;
    d->calcPendingValid = false;
    d->state = TDataSetState::Edit;
    d->avisar(Private::Aviso::Estado);
}

void TTable::append()
{
    d->requireRows();
    if (d->editing())
        d->leaveEditForMove();
    d->pending = QVector<QVariant>(int(d->cols.size()));
    d->modified.fill(false, int(d->cols.size()));
    d->pendingRowid = 0;
    d->calcPendingValid = false;
    d->rowBeforeInsert = d->cur;
    d->state = TDataSetState::Insert;
    if (d->linkColumn >= 0) {
        // The new record belongs to the master's current record.
        const QString nombre = d->con->esquema.columnas[d->linkColumn].nombre;
        TField *f = findField(nombre);
        const QVariant k = d->masterKey();
        if (f && !k.isNull()) {
            try {
                d->pending[f->m_column] = d->convert(f, k);
                d->modified[f->m_column] = true;
            } catch (const EDBEngineError &) {
                d->state = TDataSetState::Browse;
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
    sqlite3 *db = d->con->db;
    const Esquema &e = d->con->esquema;
    QList<int> cambiados;
    for (int i = 0; i < int(d->cols.size()); ++i) {
        if (!d->modified[i])
            continue;
        // Values are checked when written; check again what reaches the file.
        TField *f = d->dataFields[i];
        if (f->m_type == TFieldType::Text && f->m_size > 0 && d->pending[i].toString().size() > f->m_size)
            d->convert(f, d->pending[i]);
        cambiados << i;
    }
    qint64 id = d->pendingRowid;
    if (d->state == TDataSetState::Edit) {
        if (!cambiados.isEmpty()) {
            QStringList sets;
            for (int i : cambiados)
                sets << comillas(e.columnas[d->cols[size_t(i)].indiceFichero].nombre) + QStringLiteral(" = ?");
            Sentencia st(db,
                         QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(comillas(e.tablaSql), sets.join(QLatin1Char(','))),
                         Operacion::Escritura, d->name());
            int n = 1;
            for (int i : cambiados)
                enlazar(st.get(), n++, d->cols[size_t(i)].tipo, d->pending[i]);
            sqlite3_bind_int64(st.get(), n, id);
            const int rc = sqlite3_step(st.get());
            if (rc != SQLITE_DONE)
                fallo(db, rc, Operacion::Escritura, d->name());
            if (sqlite3_changes(db) == 0)
                d->error(EngineCode::RecordDeleted,
                         QStringLiteral("El registro de la tabla %1 que intenta guardar ha sido borrado.").arg(d->name()));
            ++d->con->cambios;
        }
    } else {
        QStringList nombres, marcas;
        for (int i : cambiados) {
            if (d->pending[i].isNull())
                continue;
            nombres << comillas(e.columnas[d->cols[size_t(i)].indiceFichero].nombre);
            marcas << QStringLiteral("?");
        }
        const QString sql = nombres.isEmpty()
                                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(comillas(e.tablaSql))
                                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(comillas(e.tablaSql), nombres.join(QLatin1Char(',')), marcas.join(QLatin1Char(',')));
        Sentencia st(db, sql, Operacion::Escritura, d->name());
        int n = 1;
        for (int i : cambiados)
            if (!d->pending[i].isNull())
                enlazar(st.get(), n++, d->cols[size_t(i)].tipo, d->pending[i]);
        const int rc = sqlite3_step(st.get());
        if (rc != SQLITE_DONE)
            fallo(db, rc, Operacion::Escritura, d->name());
        id = sqlite3_last_insert_rowid(db);
        ++d->con->cambios;
    }
    const int oldRow = d->state == TDataSetState::Insert ? d->rowBeforeInsert : d->cur;
    d->state = TDataSetState::Browse;
    d->pending.clear();
    d->modified.clear();
    d->calcPendingValid = false;
    try {
        d->loadRows(id, oldRow);
    } catch (...) {
        d->avisar(Private::Aviso::Estado);
        throw;
    }
    // The stored record is the one that was pending: no scroll unless it is not visible.
    if (d->findRow(id) >= 0)
        d->scrollId = id;
    d->avisar(Private::Aviso::Estado);
    d->avisar(Private::Aviso::Reset);
    d->afterMove();
}

void TTable::cancel()
{
    if (!d->editing())
        return;
    const bool inserting = d->state == TDataSetState::Insert;
    d->state = TDataSetState::Browse;
    d->pending.clear();
    d->modified.clear();
    d->calcPendingValid = false;
    if (inserting && d->rowCount > 0)
        d->cur = qBound(0, d->rowBeforeInsert, d->rowCount - 1);
    d->avisar(Private::Aviso::Estado);
    d->afterMove();
}

void TTable::deleteRecord()
{
    d->requireRows();
    if (d->state == TDataSetState::Insert) {
        cancel();
        return;
    }
    if (d->state == TDataSetState::Edit)
        cancel();
    if (d->cur < 0 || d->rowCount == 0)
        d->error(EngineCode::RecordNotFound, QStringLiteral("No hay ningún registro que borrar en la tabla %1.").arg(d->name()));
    const qint64 id = d->rowids[size_t(d->cur)];
    const qint64 siguiente = d->cur + 1 < d->rowCount ? d->rowids[size_t(d->cur + 1)] : kSinRegistro;
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
    d->loadRows(siguiente, siguiente == kSinRegistro ? row - 1 : row);
    if (d->rowCount == 0)
        d->eof = true;
    d->avisar(Private::Aviso::Reset);
    d->afterMove();
}

void TTable::refresh()
{
    d->requireRows();
    if (d->editing())
        d->leaveEditForMove();
    const bool wasEof = d->eof, wasBof = d->bof;
    d->loadRows(d->currentId(), d->cur);
    if (d->rowCount > 0) {
        d->eof = wasEof;
        d->bof = wasBof;
    }
    d->avisar(Private::Aviso::Reset);
    d->afterMove();
}

QVariant TTable::valueAt(int row, const TField *field) const
{
    return d->valueAtRow(row, field);
}

qint64 TTable::recordId(int row) const
{
    d->ensureRows();
    return row >= 0 && row < d->rowCount ? d->rowids[size_t(row)] : -1;
}

void TTable::checkForChanges()
{
    d->requireRows();
    d->checkChanges();
}

QString TTable::formatVersion() const
{
    return TableStore::tableVersion(filePath());
}

void TTable::upgrade()
{
    if (active())
        d->error(EngineCode::InvalidUse,
                 QStringLiteral("La tabla %1 debe estar cerrada para actualizar su formato.").arg(d->name()));
    TableStore::upgradeTable(filePath());
}

TDataSource::TDataSource(TTable *table, QObject *parent) : QObject(parent), m_table(table)
{
}
