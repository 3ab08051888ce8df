// Read-only grid over a table object: one row per visible record, whole-row
// selection, and the selected row and the table's current record kept as one.
#pragma once

#include "DBControles.h"
#include "DBEnlace.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <QTableView>
#include <QVector>

struct TDBGridColumn
{
    QString fieldName;
    QString title;                            // empty: the field's name
    int width = 0;                            // pixels; 0: from the field's size and the title
    Qt::Alignment alignment = {};             // empty: numbers right, the rest left
    Qt::Alignment titleAlignment = Qt::AlignLeft;
};

// The table's visible rows as an item model. Painting reads values already in
// memory (TTable::valueAt), never the file, and only for the cells shown.
class TDBGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TDBGridModel(QObject *parent = nullptr);

    void setTable(TTable *table);
    TTable *table() const { return m_table; }
    // No columns: every field of the table, in its order.
    void setColumns(const QList<TDBGridColumn> &columns);
    const QList<TDBGridColumn> &columns() const { return m_columns; }
    TField *fieldAt(int column) const;

    // Reads the row count and the fields again (after the table's rows changed).
    void reload();

    // Values taken from the table since the model was made: what painting costs.
    qint64 valueReads() const { return m_reads; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void resolve();

    QPointer<TTable> m_table;
    QList<TDBGridColumn> m_columns;    // as set
    QList<TDBGridColumn> m_shown;      // as shown (every field when none set)
    QVector<TField *> m_fields;        // one per shown column, nullptr when missing
    int m_rows = 0;
    bool m_resolvedOpen = false; // fields last resolved with the table open
    mutable qint64 m_reads = 0;
};

class TDBGrid : public QTableView, public IDBControl
{
    Q_OBJECT
public:
    explicit TDBGrid(QWidget *parent = nullptr);

    void setDataSource(TDataSource *ds);
    void setColumns(const QList<TDBGridColumn> &columns);
    TDBGridModel *gridModel() const { return m_model; }

    // The field of the current column.
    TField *dbField() const override;
    TDataSource *dbDataSource() const override { return m_link.dataSource(); }
    void dbRefreshText() override;

signals:
    // A double click anywhere over the rows (the windows open their editor).
    void dblClick();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    void tableRowsChanged();
    void followTable();
    void viewRowChanged(const QModelIndex &current);
    void applyWidths();

    TDBFieldLink m_link;
    TDBGridModel *m_model;
    QPointer<TTable> m_table;
    QList<QMetaObject::Connection> m_conns;
    bool m_following = false;
    bool m_widthsWithTypes = false; // widths last set with the table open
};
