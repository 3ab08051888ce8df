// Fields of table objects: their values in the right context (current row,
// pending record, the row a calculation runs for), lookups, calculated fields,
// and reads and writes in each form.
#include "Table.h"

#include "TablaPrivada.h"
#include "Valores.h"

#include <cmath>

using namespace store;

// ---------------------------------------------------------------------------
// Values in context

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
        const int i = calc.campos.indexOf(const_cast<TField *>(f));
        if (i < 0)
            return QVariant();
        if (calc.destino)
            return calc.destino->value(i);
        if (!abierta)
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
    if (row < 0 || row >= rowCount() || !f || f->m_table != q)
        return QVariant();
    switch (f->m_kind) {
    case TFieldKind::Data: return filas.celda(row, f->m_column);
    case TFieldKind::Lookup: {
        const TField *key = q->findField(f->m_keyFields);
        return key ? lookup(f, valueAtRow(row, key)) : QVariant();
    }
    case TFieldKind::Calculated: {
        const int i = calc.campos.indexOf(const_cast<TField *>(f));
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
    const int row = o->filas.buscarClave(kf->m_column, esTexto(kf->m_type) ? QVariant(key.toString()) : key);
    return row < 0 ? QVariant() : o->valueAtRow(row, rf);
}

const QVector<QVariant> &TTable::Private::calcValues(int row) const
{
    static const QVector<QVariant> vacio;
    if (row < 0 && calc.pendienteValido)
        return calc.pendiente;
    if (row >= 0) {
        if (calc.filas.size() != size_t(rowCount()))
            calc.filas.assign(size_t(rowCount()), QVector<QVariant>());
        if (!calc.filas[size_t(row)].isEmpty())
            return calc.filas[size_t(row)];
    }
    QVector<QVariant> valores(calc.campos.size());
    if (onCalc && !calc.destino) {
        const int savedContext = calc.contexto;
        calc.contexto = row < 0 ? CamposCalculados::kPendiente : row;
        calc.destino = &valores;
        try {
            onCalc(*q);
        } catch (...) {
            calc.contexto = savedContext;
            calc.destino = nullptr;
            throw;
        }
        calc.contexto = savedContext;
        calc.destino = nullptr;
    }
    if (row < 0) {
        calc.pendiente = valores;
        calc.pendienteValido = true;
        return calc.pendiente;
    }
    // The handler may have made the table read its rows again.
    if (calc.filas.size() != size_t(rowCount()) || row >= rowCount())
        return vacio;
    calc.filas[size_t(row)] = valores;
    return calc.filas[size_t(row)];
}

QVariant TTable::Private::convert(const TField *f, const QVariant &v) const
{
    return convertir(v, f->m_type, f->m_size, f->m_name, name());
}

// ---------------------------------------------------------------------------
// Reads

bool TField::isNull() const
{
    return value().isNull();
}

QVariant TField::value() const
{
    return m_table->d->valueOf(this);
}

QString TField::asString() const
{
    return comoTexto(value(), m_type);
}

qint32 TField::asInteger() const
{
    return comoEntero(value());
}

double TField::asFloat() const
{
    return comoReal(value());
}

QDate TField::asDate() const
{
    return comoFecha(value());
}

// ---------------------------------------------------------------------------
// Writes

namespace {
// Choosing a shown value of a lookup field gives the key of the record showing it.
QVariant claveDeLookup(const QVariant &mostrado, TTable *lookupTable, const QString &lookupKey, const QString &lookupResult)
{
    if (mostrado.isNull() || !lookupTable || !lookupTable->active())
        return QVariant();
    const TField *rf = lookupTable->fieldByName(lookupResult);
    const TField *kf = lookupTable->fieldByName(lookupKey);
    for (int r = 0; r < lookupTable->recordCount(); ++r)
        if (lookupTable->valueAt(r, rf).toString() == mostrado.toString())
            return lookupTable->valueAt(r, kf);
    return QVariant();
}
}

void TField::setValue(const QVariant &v)
{
    TTable::Private *p = m_table->d.get();
    if (m_kind == TFieldKind::Calculated) {
        const int i = p->calc.campos.indexOf(this);
        if (!p->calc.destino || i < 0)
            p->error(EngineCode::InvalidUse, QStringLiteral("El campo calculado %1 de la tabla %2 sólo se escribe al calcular.")
                                                 .arg(m_name, p->name()));
        (*p->calc.destino)[i] = v;
        return;
    }
    if (p->calc.destino)
        p->error(EngineCode::InvalidUse,
                 QStringLiteral("Al calcular la tabla %1 sólo se escriben campos calculados.").arg(p->name()));
    if (!p->editing())
        p->error(EngineCode::InvalidUse,
                 QStringLiteral("La tabla %1 no está en modo de edición: no se puede escribir el campo %2.").arg(p->name(), m_name));
    if (m_kind == TFieldKind::Lookup) {
        TField *key = m_table->fieldByName(m_keyFields);
        key->setValue(claveDeLookup(v, m_lookupTable, m_lookupKey, m_lookupResult));
        emit m_table->fieldChanged(this);
        return;
    }
    const QVariant nuevo = p->convert(this, v);
    p->buffer.escribir(m_column, nuevo);
    p->calc.pendienteValido = false;
    p->tellDetails(false);
    emit m_table->fieldChanged(this);
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

void TField::setAsInteger(qint32 v)
{
    setValue(QVariant(int(v)));
}

void TField::setAsFloat(double v)
{
    setValue(QVariant(v));
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
