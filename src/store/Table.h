// The table store: a database bound to a folder, table objects with their own
// cursor, field objects and data sources. One SQLite file per table, named as
// the table ("Matriculas.DAT"). QtCore only.
//
// Every failure raises EDBEngineError (StoreErrors.h) with an engine code and a
// Spanish message that names the table. Inside, the store is made of small
// units: Valores (value conversion), Filtro (the filter parser), Filas (the row
// cache and record identity), BufferEdicion (the pending record), EnlaceMaestro
// (the master-detail link) and DeteccionCambios (change detection).
#pragma once

#include "StoreErrors.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

enum class TFieldType { Text, Integer, Float, Date, AutoInc, Memo };
enum class TFieldKind { Data, Lookup, Calculated };
enum class TDataSetState { Inactive, Browse, Edit, Insert };

// Schema of a table file, used only to create tables (the data tool, tests).
struct TFieldDef
{
    QString name;
    TFieldType type = TFieldType::Text;
    int size = 0; // characters, for Text only
};

struct TIndexDef
{
    QString name;        // empty for an unnamed unique key
    QStringList fields;  // order of the records read through the index
    bool unique = false; // a second record with the same key is refused (9729)
};

struct TTableDef
{
    QString name; // file name, "Matriculas.DAT"
    QList<TFieldDef> fields;
    QList<TIndexDef> indexes;
};

namespace TableStore {
// The store's current format version; files at this format report it.
QString currentFormatVersion();
// Creates a table file in `folder` (refuses an existing file).
void createTable(const QString &folder, const TTableDef &def);
// Format version of a table file, without opening a table object ("3.00" or later
// for current files, lower for files the store must upgrade).
QString tableVersion(const QString &path);
// Brings a table file to the current format in place.
void upgradeTable(const QString &path);
// Store-wide switch: before reading, look whether a table changed through another
// table object or another program, and read it again when it did.
void setStrictChangeDetection(bool on);
bool strictChangeDetection();
}

class TTable;

// A database name bound to a folder; table objects name a table inside it.
class TDatabase : public QObject
{
    Q_OBJECT
public:
    explicit TDatabase(const QString &databaseName = QStringLiteral("Maestro"), QObject *parent = nullptr);
    ~TDatabase() override;

    QString databaseName() const;
    QString directory() const;
    void setDirectory(const QString &folder); // only while no table of it is open
    QString tablePath(const QString &tableName) const;

    // The file names ("Matriculas.DAT") of the table files in `folder` that some
    // table object or connection of this process holds open, sorted; empty when
    // none. The folder may be given with or without a trailing separator, relative
    // or through symbolic links.
    static QStringList openFilesIn(const QString &folder);

    struct Private;
    Private *d() const { return m_d.get(); }

private:
    std::unique_ptr<Private> m_d;
};

// A declared field of a table object. Reads see the current record, or the
// pending one while the table is in Edit or Insert state; writes need Edit or Insert
// (calculated fields are written only by the calculation handler).
class TField
{
public:
    QString fieldName() const { return m_name; }
    TFieldType dataType() const { return m_type; }
    TFieldKind kind() const { return m_kind; }
    int size() const { return m_size; }
    TTable *table() const { return m_table; }

    bool isNull() const;
    QVariant value() const; // null QVariant when empty
    void setValue(const QVariant &v);
    // Text form: dates "dd/MM/yyyy", floats with "," before decimals and no grouping.
    QString asString() const;
    // Empty text empties the field; numbers are read as typed, "." between groups
    // of three digits and "," before the decimals (store::leerNumero).
    void setAsString(const QString &text);
    qint32 asInteger() const; // empty gives 0
    void setAsInteger(qint32 v);
    double asFloat() const;   // empty gives 0
    void setAsFloat(double v);
    QDate asDate() const;     // empty gives a null date
    void setAsDate(const QDate &d);
    void clear();

    // What a control writes when the user typed `text`: goes through the text
    // handler when one is set, otherwise setAsString.
    void setText(const QString &text);
    using SetTextHandler = std::function<void(TField &, const QString &)>;
    void setOnSetText(SetTextHandler h) { m_onSetText = std::move(h); }
    bool hasOnSetText() const { return bool(m_onSetText); }

    QString editMask() const { return m_editMask; }
    void setEditMask(const QString &m) { m_editMask = m; }
    bool required() const { return m_required; }
    void setRequired(bool r) { m_required = r; }
    // Number masks such as "###.###,##" (rendered by the data layer's formats).
    QString displayFormat() const { return m_displayFormat; }
    void setDisplayFormat(const QString &f) { m_displayFormat = f; }
    QString editFormat() const { return m_editFormat; }
    void setEditFormat(const QString &f) { m_editFormat = f; }
    bool currency() const { return m_currency; }
    void setCurrency(bool c) { m_currency = c; }

    // Lookup definition (kind Lookup): this table's key field, the lookup table,
    // its key field and the field whose value is shown.
    QString lookupKeyFields() const { return m_keyFields; }
    TTable *lookupDataSet() const { return m_lookupTable; }
    QString lookupKeyFieldInLookup() const { return m_lookupKey; }
    QString lookupResultField() const { return m_lookupResult; }

private:
    friend class TTable;
    TField(TTable *table, QString name, TFieldKind kind, TFieldType type, int size)
        : m_table(table), m_name(std::move(name)), m_kind(kind), m_type(type), m_size(size) {}

    TTable *m_table;
    QString m_name;
    TFieldKind m_kind;
    TFieldType m_type;
    int m_size;
    int m_column = -1; // set on open for data fields
    SetTextHandler m_onSetText;
    QString m_editMask, m_displayFormat, m_editFormat;
    bool m_required = false, m_currency = false;
    QString m_keyFields, m_lookupKey, m_lookupResult;
    TTable *m_lookupTable = nullptr;
};

// One handle on one table file with its own cursor: the visible rows (master
// range and filter applied) in index order, or in storing order without an index.
class TTable : public QObject
{
    Q_OBJECT
public:
    explicit TTable(QObject *parent = nullptr);
    ~TTable() override;

    // A table name inside the database's folder, or a full file path when the
    // table belongs to no database (only the format check uses that).
    void setDatabase(TDatabase *db);
    TDatabase *database() const;
    void setTableName(const QString &name);
    QString tableName() const;
    QString filePath() const;

    // Declaring fields (only while closed). Without any declared data field, opening
    // declares every stored field in file order. A declared field missing from the
    // file makes open() fail.
    TField *addField(const QString &name);
    TField *addLookupField(const QString &name, int size, const QString &keyField, TTable *lookupTable,
                           const QString &lookupKeyField, const QString &lookupResultField);
    TField *addCalculatedField(const QString &name, TFieldType type, int size = 0);
    TField *findField(const QString &name) const;    // case-insensitive; nullptr when missing
    TField *fieldByName(const QString &name) const;  // case-insensitive; raises when missing
    QList<TField *> fields() const;

    // Named index (must exist in the file, checked on open) and master link: a detail
    // shows the records whose first index field equals the master's field.
    void setIndexName(const QString &name);
    QString indexName() const;
    void setMasterSource(TTable *master, const QString &masterField);
    TTable *masterSource() const;

    // Filter "Field = 'text'" or "Field = number"; anything else is refused.
    void setFilter(const QString &filter);
    QString filter() const;
    void setFiltered(bool on);
    bool filtered() const;

    // Runs for every record before it is shown or read; field reads inside see
    // that record, and it writes the calculated fields.
    using CalcFieldsHandler = std::function<void(TTable &)>;
    void setOnCalcFields(CalcFieldsHandler h);

    void open();
    void close();
    bool active() const;
    TDataSetState state() const;

    void first();
    void next();
    void prior();
    void last();
    bool eof() const;
    bool bof() const;
    bool isEmpty() const;
    int recordCount() const;
    int recNo() const;      // 0-based row of the current record, -1 when empty
    void moveTo(int row);   // makes a visible row current (grids)

    bool locate(const QString &fieldName, const QVariant &value);

    void edit();
    void append();
    void post();
    void cancel();
    void deleteRecord();
    void refresh();

    // Value of a visible row without moving the cursor and without reading the
    // file again (grids paint with it). Calculated fields included.
    QVariant valueAt(int row, const TField *field) const;
    // Identity of a visible row's record: numbers grow in storing order and are
    // never given twice. -1 outside the rows.
    qint64 recordId(int row) const;
    // Takes in what other objects and programs committed, as the start of any
    // read does, keeping the current record (browsing only; the rows then are
    // the file's as it stands).
    void checkForChanges();

    // Format version of this object's file and its upgrade (object closed).
    QString formatVersion() const;
    void upgrade();

    struct Private;

signals:
    void afterOpen();
    void afterClose();
    void afterScroll();      // current record changed, also after open
    void stateChanged();     // Inactive/Browse/Edit/Insert
    void rowsReset();        // the visible rows were read again (move of master, filter, refresh, post, delete)
    void fieldChanged(TField *field); // a field of the pending record was written
    // A post through this object wrote a record, or a delete removed one: the
    // file has changed for every reader. Sent also when reading the rows again
    // afterwards failed; not for a post that had nothing to write, nor when the
    // post or the delete itself failed.
    void afterPost();
    void afterDelete();

private:
    friend class TField;
    std::unique_ptr<Private> d;
};

// Presents a table object to data-bound controls.
class TDataSource : public QObject
{
    Q_OBJECT
public:
    explicit TDataSource(TTable *table = nullptr, QObject *parent = nullptr);
    TTable *dataSet() const { return m_table; }
    void setDataSet(TTable *t) { m_table = t; }
    // When off, no bound control may put the table into the edit state by itself.
    bool autoEdit() const { return m_autoEdit; }
    void setAutoEdit(bool on) { m_autoEdit = on; }

private:
    QPointer<TTable> m_table;
    bool m_autoEdit = true;
};
