// Where a report reads its records: a small cursor interface, implemented over
// the store's table objects and over rows held in memory (tests, tools).
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

class TField;
class TTable;

// What a value is printed as: text as it is, a number through a mask, a date
// in the short format.
enum class TValueKind { Text, Number, Date };

class TRecordSource
{
public:
    virtual ~TRecordSource() = default;
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual bool Eof() const = 0;
    // Index of a field by name, any case; -1 when there is none.
    virtual int Field_Index(const QString &name) const = 0;
    virtual TValueKind Field_Kind(int field) const = 0;
    // The current record's value; null when empty.
    virtual QVariant Value(int field) const = 0;
};

// A table object of the store, walked with its own cursor (which it moves).
class TTableSource : public TRecordSource
{
public:
    explicit TTableSource(TTable *table);
    void First() override;
    void Next() override;
    bool Eof() const override;
    int Field_Index(const QString &name) const override;
    TValueKind Field_Kind(int field) const override;
    QVariant Value(int field) const override;

private:
    TTable *m_table;
    mutable std::vector<TField *> m_fields;
};

// Rows held in memory; the values' types give the fields' kinds.
struct TMemoryTable
{
    QStringList Fields;
    std::vector<QVariantList> Rows;
};

class TMemorySource : public TRecordSource
{
public:
    explicit TMemorySource(const TMemoryTable &table) : m_table(table) {}
    void First() override { m_row = 0; }
    void Next() override { ++m_row; }
    bool Eof() const override { return m_row >= int(m_table.Rows.size()); }
    int Field_Index(const QString &name) const override;
    TValueKind Field_Kind(int field) const override;
    QVariant Value(int field) const override;

private:
    const TMemoryTable &m_table;
    int m_row = 0;
};

// The data module's table object called `name` ("TableMantto", "TablaMatriculas");
// nullptr when it has none or there is no data module.
TTable *Data_Module_Table(const QString &name);

// The default lookup of a report: the data module's table objects.
std::unique_ptr<TRecordSource> Data_Module_Source(const QString &name);

// A lookup over tables in memory, by name (the tables must outlive the runs).
std::function<std::unique_ptr<TRecordSource>(const QString &)> Memory_Sources(
    const QMap<QString, const TMemoryTable *> &tables);
