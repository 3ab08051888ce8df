#include "RecordSource.h"

#include "DataModulo.h"
#include "Table.h"

namespace {

TValueKind Kind_Of(TFieldType type)
{
    switch (type) {
    case TFieldType::Integer:
    case TFieldType::Float:
    case TFieldType::AutoInc:
        return TValueKind::Number;
    case TFieldType::Date:
        return TValueKind::Date;
    case TFieldType::Text:
    case TFieldType::Memo:
        break;
    }
    return TValueKind::Text;
}

} // namespace

TTableSource::TTableSource(TTable *table) : m_table(table)
{
}

void TTableSource::First()
{
    m_table->first();
}

void TTableSource::Next()
{
    m_table->next();
}

bool TTableSource::Eof() const
{
    return m_table->eof();
}

int TTableSource::Field_Index(const QString &name) const
{
    TField *f = m_table->findField(name);
    if (!f)
        return -1;
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i] == f)
            return int(i);
    m_fields.push_back(f);
    return int(m_fields.size()) - 1;
}

TValueKind TTableSource::Field_Kind(int field) const
{
    return Kind_Of(m_fields[size_t(field)]->dataType());
}

QVariant TTableSource::Value(int field) const
{
    return m_fields[size_t(field)]->value();
}

int TMemorySource::Field_Index(const QString &name) const
{
    for (int i = 0; i < m_table.Fields.size(); ++i)
        if (m_table.Fields.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TValueKind TMemorySource::Field_Kind(int field) const
{
    for (const QVariantList &row : m_table.Rows) {
        const QVariant &v = row.value(field);
        if (v.isNull())
            continue;
        switch (v.typeId()) {
        case QMetaType::QDate:
            return TValueKind::Date;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Double:
            return TValueKind::Number;
        default:
            return TValueKind::Text;
        }
    }
    return TValueKind::Text;
}

QVariant TMemorySource::Value(int field) const
{
    if (Eof())
        return QVariant();
    return m_table.Rows[size_t(m_row)].value(field);
}

TTable *Data_Module_Table(const QString &name)
{
    // Report definitions name their tables exactly as the module does.
    TTable *t = ModuloDatos ? ModuloDatos->Tabla(name) : nullptr;
    return t && t->objectName() == name ? t : nullptr;
}

std::unique_ptr<TRecordSource> Data_Module_Source(const QString &name)
{
    TTable *t = Data_Module_Table(name);
    if (!t)
        return nullptr;
    return std::make_unique<TTableSource>(t);
}

std::function<std::unique_ptr<TRecordSource>(const QString &)> Memory_Sources(
    const QMap<QString, const TMemoryTable *> &tables)
{
    return [tables](const QString &name) -> std::unique_ptr<TRecordSource> {
        const TMemoryTable *t = tables.value(name);
        if (!t)
            return nullptr;
        return std::make_unique<TMemorySource>(*t);
    };
}
