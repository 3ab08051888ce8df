// Read-only grid over a table object.
#include "DBGrid.h"

#include "BarraDesplazamiento.h"
#include "Formatos.h"
#include "Protegido.h"
#include "Table.h"

#include <QApplication>
#include <QHash>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStaticText>
#include <QStyledItemDelegate>

#include <algorithm>

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

// Space the style leaves between a cell's edge and its text.
int cellTextMargin(const QWidget *widget)
{
    const QStyle *style = widget ? widget->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
}

// Paints a cell with what the grid shows and nothing more: the selection's
// background and the text. Each distinct text is laid out once and drawn from
// then on as it stands; the style's item painting measured and shaped every cell
// at every paint, and a master's move repaints a whole grid of details.
class TDBGridDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QPalette::ColorGroup cg = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
            : (option.state & QStyle::State_Active)                           ? QPalette::Normal
                                                                               : QPalette::Inactive;
        const bool selected = option.state & QStyle::State_Selected;
        if (selected)
            painter->fillRect(option.rect, option.palette.brush(cg, QPalette::Highlight));
        const QString text = index.data(Qt::DisplayRole).toString();
        if (text.isEmpty())
            return;
        const auto align = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
        if (m_margin < 0)
            m_margin = cellTextMargin(option.widget);
        const int margin = m_margin;
        const QRect r = option.rect.adjusted(margin, 0, -margin, 0);
        if (painter->font() != option.font)
            painter->setFont(option.font);
        painter->setPen(option.palette.color(cg, selected ? QPalette::HighlightedText : QPalette::Text));

        const QStaticText &st = laidOut(text, option.font);
        const QSizeF size = st.size();
        if (size.width() > r.width()) {
            // Too wide: cut with an ellipsis, as the style does; rare, not cached.
            painter->save();
            painter->setClipRect(option.rect);
            painter->drawText(r, int(align) | Qt::TextSingleLine,
                              option.fontMetrics.elidedText(text, Qt::ElideRight, r.width()));
            painter->restore();
            return;
        }
        qreal x = r.left();
        if (align & Qt::AlignRight)
            x = r.right() + 1 - size.width();
        else if (align & Qt::AlignHCenter)
            x = r.left() + (r.width() - size.width()) / 2;
        const qreal y = r.top() + (r.height() - size.height()) / 2;
        painter->drawStaticText(QPointF(qRound(x), qRound(y)), st);
    }

private:
    const QStaticText &laidOut(const QString &text, const QFont &font) const
    {
        // Grids show dates, readings, plates and flags: few distinct texts. The
        // bound only keeps a grid of free texts from growing without end.
        if (font != m_font || m_texts.size() > 4096) {
            m_texts.clear();
            m_font = font;
        }
        auto it = m_texts.find(text);
        if (it == m_texts.end()) {
            QStaticText st(text);
            st.setTextFormat(Qt::PlainText);
            st.prepare(QTransform(), font);
            it = m_texts.insert(text, st);
        }
        return *it;
    }

    mutable QHash<QString, QStaticText> m_texts;
    mutable QFont m_font;
    mutable int m_margin = -1;
};

// The column titles' bar. The view asks for its height whenever its rows change,
// and the style measures every title to answer; the answer only changes with
// the titles, their number, the font or the style.
class TDBGridHeader : public QHeaderView
{
public:
    TDBGridHeader(Qt::Orientation orientation, QWidget *parent) : QHeaderView(orientation, parent)
    {
        connect(this, &QHeaderView::sectionCountChanged, this, [this] { m_hint = QSize(); });
    }

    QSize sizeHint() const override
    {
        if (!m_hint.isValid())
            m_hint = QHeaderView::sizeHint();
        return m_hint;
    }

    void setModel(QAbstractItemModel *model) override
    {
        if (QAbstractItemModel *before = this->model())
            disconnect(before, &QAbstractItemModel::headerDataChanged, this, nullptr);
        QHeaderView::setModel(model);
        if (model)
            connect(model, &QAbstractItemModel::headerDataChanged, this, [this] { m_hint = QSize(); });
        m_hint = QSize();
    }

    void reset() override
    {
        m_hint = QSize();
        QHeaderView::reset();
    }

protected:
    void changeEvent(QEvent *e) override
    {
        if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange)
            m_hint = QSize();
        QHeaderView::changeEvent(e);
    }

private:
    mutable QSize m_hint;
};

} // namespace

// ---------------------------------------------------------------- TDBGridModel

TDBGridModel::TDBGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void TDBGridModel::setTable(TTable *table)
{
    // Rows a detail has yet to read are read now: a failure must not come
    // between the two halves of the reset.
    if (table && table->active())
        table->recordCount();
    beginResetModel();
    m_table = table;
    resolve();
    endResetModel();
}

void TDBGridModel::setColumns(const QList<TDBGridColumn> &columns)
{
    if (m_table && m_table->active())
        m_table->recordCount(); // as in setTable
    beginResetModel();
    m_columns = columns;
    resolve();
    endResetModel();
}

void TDBGridModel::reload()
{
    // Same columns: the rows are told apart from the columns, so the view keeps
    // its header and column widths and only repaints the rows (a reset rebuilds
    // the header at every move of a master table).
    const QVector<TField *> fields = m_fields;
    const QList<TDBGridColumn> shown = m_shown;
    const int before = m_rows;
    bool sameColumns = true;
    if (m_resolvedOpen && m_table && m_table->active()) {
        // Open then and now: the table keeps its fields while open, only its rows changed.
        m_rows = m_table->recordCount();
    } else {
        resolve();
        sameColumns = m_fields == fields && m_shown.size() == shown.size()
            && std::equal(m_shown.cbegin(), m_shown.cend(), shown.cbegin(),
                          [](const TDBGridColumn &a, const TDBGridColumn &b) { return a.fieldName == b.fieldName; });
    }
    if (!sameColumns) {
        // The view is told before the model changes under it.
        m_fields = fields;
        m_shown = shown;
        m_rows = before;
        beginResetModel();
        resolve();
        endResetModel();
        return;
    }
    const int after = m_rows;
    if (after < before) {
        m_rows = before;
        beginRemoveRows(QModelIndex(), after, before - 1);
        m_rows = after;
        endRemoveRows();
    } else if (after > before) {
        m_rows = before;
        beginInsertRows(QModelIndex(), before, after - 1);
        m_rows = after;
        endInsertRows();
    }
    const int common = qMin(before, after);
    if (common > 0 && !m_shown.isEmpty())
        emit dataChanged(index(0, 0), index(common - 1, int(m_shown.size()) - 1), {Qt::DisplayRole});
}

void TDBGridModel::resolve()
{
    const bool open = m_table && m_table->active();
    // Counting may read the rows and fail: asked first, so that a failure leaves
    // the model as the view knows it.
    const int rows = open ? m_table->recordCount() : 0;
    m_fields.clear();
    m_shown = m_columns;
    m_rows = 0;
    if (m_shown.isEmpty() && open) {
        for (TField *f : m_table->fields()) {
            TDBGridColumn c;
            c.fieldName = f->fieldName();
            m_shown << c;
        }
    }
    for (const TDBGridColumn &c : std::as_const(m_shown))
        m_fields << (open ? m_table->findField(c.fieldName) : nullptr);
    m_rows = rows;
    m_resolvedOpen = open;
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
    setHorizontalHeader(new TDBGridHeader(Qt::Horizontal, this));
    setModel(m_model);
    setItemDelegate(new TDBGridDelegate(this));
    setVerticalScrollBar(new TBarraDesplazamiento(Qt::Vertical, this));
    setHorizontalScrollBar(new TBarraDesplazamiento(Qt::Horizontal, this));
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

    // Every handler below can read the table, and a read can fail: the failure
    // goes to the central handler from here, never through Qt's dispatch.
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            Protegido([this](const QModelIndex &current) { viewRowChanged(current); }));
    connect(&m_link, &TDBFieldLink::recordChanged, this, Protegido([this] {
        // The link reports every event; the grid tells moves from new rows itself.
        if (m_table != m_link.table()) {
            for (const auto &c : std::as_const(m_conns))
                disconnect(c);
            m_conns.clear();
            m_table = m_link.table();
            if (m_table) {
                const auto rowsChanged = Protegido([this] { tableRowsChanged(); });
                m_conns << connect(m_table, &TTable::afterOpen, this, rowsChanged)
                        << connect(m_table, &TTable::afterClose, this, rowsChanged)
                        << connect(m_table, &TTable::rowsReset, this, rowsChanged)
                        << connect(m_table, &TTable::afterScroll, this, Protegido([this] { followTable(); }))
                        << connect(m_table, &TTable::stateChanged, this, [this] { viewport()->update(); });
            }
            tableRowsChanged();
        }
    }));
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
    const bool typesKnown = m_widthsWithTypes;
    m_following = true;
    if (m_model->table() != m_table)
        m_model->setTable(m_table);
    else
        m_model->reload();
    m_following = false;
    // Field types are known once the table is open; a date column widens then.
    if (m_model->columnCount() != before || (m_table && m_table->active() && !typesKnown))
        applyWidths();
    followTable();
}

void TDBGrid::applyWidths()
{
    m_widthsWithTypes = m_table && m_table->active();
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
        // A width given in pixels for another font must not cut a date short.
        const TField *f = m_model->fieldAt(c);
        if (f && f->dataType() == TFieldType::Date)
            w = qMax(w, fm.horizontalAdvance(QStringLiteral("00/00/0000")) + 2 * cellTextMargin(this) + 2);
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
    const int here = m_table->recNo();
    if (current.row() == here)
        return;
    try {
        // A step to the next or previous row is the table's own step (an arrow
        // key held down walks the table as its navigator does); anything else
        // is a jump.
        if (current.row() == here + 1)
            m_table->next();
        else if (current.row() == here - 1)
            m_table->prior();
        else
            m_table->moveTo(current.row());
    } catch (...) {
        // Reported here: the view's selection signal must not carry it.
        const std::exception_ptr fallo = std::current_exception();
        Proteger([this] { followTable(); }); // the table stayed where it was; so does the grid
        Informar_Fallo(fallo);
        return;
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
    Proteger([this] { emit dblClick(); }); // the window opens its editor
}
