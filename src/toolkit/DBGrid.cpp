// Read-only grid over a table object.
#include "DBGrid.h"

#include "Formatos.h"
#include "Table.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace {
Qt::Alignment defaultAlignment(const TField *f)
{
    if (!f)
        return Qt::AlignLeft;
    switch (f->dataType()) {
    case TFieldType::Integer:
    case TFieldType::AutoInc:
    case TFieldType::Float:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}
} // namespace

// ---------------------------------------------------------------- TDBGridModel

TDBGridModel::TDBGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void TDBGridModel::setTable(TTable *table)
{
    beginResetModel();
    m_table = table;
    resolve();
    endResetModel();
}

void TDBGridModel::setColumns(const QList<TDBGridColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    resolve();
    endResetModel();
}

void TDBGridModel::reload()
{
    beginResetModel();
    resolve();
    endResetModel();
}

void TDBGridModel::resolve()
{
    m_fields.clear();
    m_shown = m_columns;
    m_rows = 0;
    const bool open = m_table && m_table->active();
    if (m_shown.isEmpty() && open) {
        for (TField *f : m_table->fields()) {
            TDBGridColumn c;
            c.fieldName = f->fieldName();
            m_shown << c;
        }
    }
    for (const TDBGridColumn &c : std::as_const(m_shown))
        m_fields << (open ? m_table->findField(c.fieldName) : nullptr);
    if (open)
        m_rows = m_table->recordCount();
}

TField *TDBGridModel::fieldAt(int column) const
{
    return column >= 0 && column < m_fields.size() ? m_fields.at(column) : nullptr;
}

int TDBGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TDBGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

QVariant TDBGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.column() >= m_shown.size())
        return QVariant();
    const TField *f = m_fields.at(index.column());
    switch (role) {
    case Qt::DisplayRole: {
        if (!f || !m_table || !m_table->active())
            return QVariant();
        ++m_reads;
        try {
            return Formatos::Texto_Valor(f, m_table->valueAt(index.row(), f));
        } catch (...) {
            // Painting cannot report a failure; the cell stays empty and the
            // failure shows at the next operation on the table.
            return QVariant();
        }
    }
    case Qt::TextAlignmentRole: {
        const Qt::Alignment a = m_shown.at(index.column()).alignment;
        return int((a ? a : defaultAlignment(f)) | Qt::AlignVCenter);
    }
    default:
        return QVariant();
    }
}

QVariant TDBGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_shown.size())
        return QVariant();
    const TDBGridColumn &c = m_shown.at(section);
    if (role == Qt::DisplayRole)
        return c.title.isEmpty() ? c.fieldName : c.title;
    if (role == Qt::TextAlignmentRole)
        return int(c.titleAlignment | Qt::AlignVCenter);
    return QVariant();
}

Qt::ItemFlags TDBGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

// ---------------------------------------------------------------- TDBGrid

TDBGrid::TDBGrid(QWidget *parent) : QTableView(parent), m_model(new TDBGridModel(this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Every row is as high as the others: the view never measures rows, so a
    // table of any size scrolls at the cost of the rows on screen.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { viewRowChanged(current); });
    connect(&m_link, &TDBFieldLink::recordChanged, this, [this] {
        // The link reports every event; the grid tells moves from new rows itself.
        if (m_table != m_link.table()) {
            for (const auto &c : std::as_const(m_conns))
                disconnect(c);
            m_conns.clear();
            m_table = m_link.table();
            if (m_table) {
                m_conns << connect(m_table, &TTable::afterOpen, this, &TDBGrid::tableRowsChanged)
                        << connect(m_table, &TTable::afterClose, this, &TDBGrid::tableRowsChanged)
                        << connect(m_table, &TTable::rowsReset, this, &TDBGrid::tableRowsChanged)
                        << connect(m_table, &TTable::afterScroll, this, &TDBGrid::followTable)
                        << connect(m_table, &TTable::stateChanged, this, [this] { viewport()->update(); });
            }
            tableRowsChanged();
        }
    });
}

void TDBGrid::setDataSource(TDataSource *ds)
{
    m_link.setDataSource(ds);
}

void TDBGrid::setColumns(const QList<TDBGridColumn> &columns)
{
    m_following = true;
    m_model->setColumns(columns);
    m_following = false;
    applyWidths();
    followTable();
}

TField *TDBGrid::dbField() const
{
    const QModelIndex cur = currentIndex();
    return m_model->fieldAt(cur.isValid() ? cur.column() : 0);
}

void TDBGrid::dbRefreshText()
{
    viewport()->update();
}

void TDBGrid::tableRowsChanged()
{
    const int before = m_model->columnCount();
    m_following = true;
    if (m_model->table() != m_table)
        m_model->setTable(m_table);
    else
        m_model->reload();
    m_following = false;
    if (m_model->columnCount() != before)
        applyWidths();
    followTable();
}

void TDBGrid::applyWidths()
{
    const QFontMetrics fm = fontMetrics();
    const int charW = fm.averageCharWidth();
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const TDBGridColumn &col = c < m_model->columns().size() ? m_model->columns().at(c) : TDBGridColumn();
        int w = col.width;
        if (w <= 0) {
            // From what the field can hold, never from the rows: a grid of any
            // size opens at once.
            const TField *f = m_model->fieldAt(c);
            int chars = 10;
            if (f && f->dataType() == TFieldType::Text && f->size() > 0)
                chars = qMin(f->size(), 30);
            else if (f && f->dataType() == TFieldType::Memo)
                chars = 30;
            const QString title = m_model->headerData(c, Qt::Horizontal).toString();
            w = qMax(chars * charW, fm.horizontalAdvance(title)) + 12;
        }
        setColumnWidth(c, w);
    }
}

void TDBGrid::followTable()
{
    m_following = true;
    const int rows = m_model->rowCount();
    const int row = m_table && m_table->active() && rows > 0 ? m_table->recNo() : -1;
    if (row < 0 || row >= rows) {
        selectionModel()->clear();
    } else {
        const QModelIndex cur = currentIndex();
        const QModelIndex idx = m_model->index(row, cur.isValid() ? cur.column() : 0);
        if (idx != cur || !selectionModel()->isRowSelected(row, QModelIndex()))
            selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(idx);
    }
    m_following = false;
}

void TDBGrid::viewRowChanged(const QModelIndex &current)
{
    if (m_following || !current.isValid() || !m_table || !m_table->active())
        return;
    if (current.row() == m_table->recNo())
        return;
    try {
        m_table->moveTo(current.row());
    } catch (...) {
        followTable(); // the table stayed where it was; so does the grid
        throw;
    }
    if (m_table->recNo() != current.row())
        followTable();
}

QItemSelectionModel::SelectionFlags TDBGrid::selectionCommand(const QModelIndex &index, const QEvent *) const
{
    // One whole row is always selected: a control-click never leaves the current record unselected.
    return index.isValid() ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                           : QItemSelectionModel::NoUpdate;
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent *e)
{
    QTableView::mouseDoubleClickEvent(e);
    emit dblClick();
}
