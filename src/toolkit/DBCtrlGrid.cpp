// A column of read-only record panels.
#include "DBCtrlGrid.h"

#include "BarraDesplazamiento.h"
#include "Formatos.h"
#include "Protegido.h"
#include "Table.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QVBoxLayout>
#include <QWheelEvent>

TDBCtrlGrid::TDBCtrlGrid(QWidget *parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    auto *lay = new QHBoxLayout(this);
    lay->setContentsMargins(1, 1, 1, 1);
    lay->setSpacing(0);
    m_body = new QWidget(this);
    auto *col = new QVBoxLayout(m_body);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(0);
    lay->addWidget(m_body, 1);
    m_bar = new TBarraDesplazamiento(Qt::Vertical, this);
    m_bar->setFocusPolicy(Qt::NoFocus);
    lay->addWidget(m_bar);
    // Moving and refilling read the table, and a read can fail: every handler
    // hands its failure to the central handler where it runs.
    connect(m_bar, &QScrollBar::valueChanged, this, Protegido([this](int v) {
        if (!m_filling)
            moveTo(v);
    }));
    connect(&m_link, &TDBFieldLink::recordChanged, this, Protegido([this] { refill(); }));
    buildPanels(3);
}

void TDBCtrlGrid::setDataSource(TDataSource *ds)
{
    m_link.setDataSource(ds);
}

void TDBCtrlGrid::setItems(const QList<TDBCtrlGridItem> &items)
{
    m_items = items;
    buildPanels(panelCount());
}

void TDBCtrlGrid::setPanelCount(int count)
{
    buildPanels(qMax(1, count));
}

QColor TDBCtrlGrid::selectedColor()
{
    return QColor(0xC8, 0xDC, 0xF0);
}

void TDBCtrlGrid::buildPanels(int count)
{
    qDeleteAll(m_panels);
    m_panels.clear();
    m_contents.clear();
    m_controls.clear();
    m_texts.clear();
    auto *col = static_cast<QVBoxLayout *>(m_body->layout());
    for (int i = 0; i < count; ++i) {
        auto *p = new QFrame(m_body);
        p->setObjectName(QStringLiteral("Panel%1").arg(i));
        p->setFrameShape(QFrame::Box);
        p->setAutoFillBackground(true);
        auto *frame = new QHBoxLayout(p);
        frame->setContentsMargins(0, 0, 0, 0);
        auto *content = new QWidget(p);
        frame->addWidget(content);
        auto *row = new QHBoxLayout(content);
        row->setContentsMargins(4, 4, 4, 4);
        auto *left = new QGridLayout;
        auto *right = new QVBoxLayout;
        int line = 0;
        QList<QWidget *> controls;
        for (const TDBCtrlGridItem &it : std::as_const(m_items)) {
            QWidget *w;
            if (it.memo) {
                auto *m = new QPlainTextEdit(content);
                m->setReadOnly(true);
                m->setUndoRedoEnabled(false); // texts are replaced at every move: nothing to undo
                m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                m->setFrameShape(QFrame::StyledPanel);
                right->addWidget(m);
                w = m;
            } else {
                auto *e = new QLineEdit(content);
                e->setReadOnly(true);
                if (!it.label.isEmpty()) {
                    auto *l = new QLabel(it.label, content);
                    left->addWidget(l, line, 0);
                }
                left->addWidget(e, line, 1);
                ++line;
                w = e;
            }
            w->setObjectName(it.fieldName);
            w->setToolTip(it.toolTip);
            // The panels never keep the focus: it stays on the grid.
            w->setFocusPolicy(Qt::NoFocus);
            controls << w;
        }
        left->setRowStretch(line, 1);
        row->addLayout(left, 0);
        row->addLayout(right, 1);
        p->installEventFilter(this);
        for (QWidget *c : p->findChildren<QWidget *>())
            c->installEventFilter(this);
        col->addWidget(p, 1);
        m_panels << p;
        m_contents << content;
        m_controls << controls;
        m_texts << QStringList(controls.size(), QString());
    }
    refill();
}

int TDBCtrlGrid::panelRow(int i) const
{
    if (i < 0 || i >= m_panels.size())
        return -1;
    TTable *t = m_link.table();
    const int count = t && t->active() ? t->recordCount() : 0;
    const int row = m_top + i;
    return row < count ? row : -1;
}

void TDBCtrlGrid::refill()
{
    TTable *t = m_link.table();
    const bool open = t && t->active();
    // Asked before anything changes: counting may read the rows and fail.
    const int count = open ? t->recordCount() : 0;
    const int cur = open && count > 0 ? t->recNo() : -1;
    m_filling = true;
    const int n = int(m_panels.size());
    // Keep the current record on show, moving the window of records as little as possible.
    if (cur >= 0 && cur < m_top)
        m_top = cur;
    else if (cur >= m_top + n)
        m_top = cur - n + 1;
    m_top = qBound(0, m_top, qMax(0, count - n));

    m_bar->setRange(0, qMax(0, count - 1));
    m_bar->setPageStep(n);
    m_bar->setValue(qMax(0, cur));
    m_bar->setEnabled(count > 1);

    for (int i = 0; i < n; ++i) {
        QFrame *p = m_panels.at(i);
        const int row = m_top + i < count ? m_top + i : -1;
        if (row >= 0) {
            for (int k = 0; k < m_items.size(); ++k) {
                const TField *f = t->findField(m_items.at(k).fieldName);
                QString text;
                if (f) {
                    try {
                        text = Formatos::Texto_Valor(f, t->valueAt(row, f));
                    } catch (...) {
                        text.clear(); // shown again at the next change of the table
                    }
                }
                QString &shown = m_texts[i][k];
                if (text == shown)
                    continue;
                shown = text;
                QWidget *w = m_controls.at(i).at(k);
                if (auto *m = qobject_cast<QPlainTextEdit *>(w)) {
                    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
                    // The text replaced in one edit: the editor's own setPlainText
                    // first empties it, so its scroll bar and frame are painted
                    // again at every move, and formats the whole text anew.
                    // Inside an edit block the cursor does not lay out the old
                    // and the new last line to learn where it stands: the panel
                    // lays out only what it paints.
                    QTextCursor c(m->document());
                    c.beginEditBlock();
                    c.select(QTextCursor::Document);
                    c.insertText(text);
                    c.endEditBlock();
                    // Each line keeps the glyphs its layout shaped, so painting
                    // draws them instead of shaping the text a second time.
                    for (QTextBlock b = m->document()->begin(); b.isValid(); b = b.next())
                        b.layout()->setCacheEnabled(true);
                    m->verticalScrollBar()->setValue(0);
                } else if (auto *e = qobject_cast<QLineEdit *>(w)) {
                    e->setText(text);
                    e->setCursorPosition(0);
                }
            }
        }
        m_contents.at(i)->setVisible(row >= 0);
        const bool current = row >= 0 && row == cur;
        const QVariant before = p->property("actual");
        if (!before.isValid() || before.toBool() != current) {
            p->setProperty("actual", current);
            QPalette pal = palette();
            pal.setColor(QPalette::Window, current ? selectedColor() : palette().color(QPalette::Window));
            p->setPalette(pal);
        }
    }
    m_filling = false;
}

void TDBCtrlGrid::moveTo(int row)
{
    TTable *t = m_link.table();
    if (!t || !t->active())
        return;
    const int count = t->recordCount();
    if (count == 0)
        return;
    row = qBound(0, row, count - 1);
    if (row != t->recNo())
        t->moveTo(row);
    refill();
}

int TDBCtrlGrid::panelIndexOf(QObject *o) const
{
    // Compared as objects: an ancestor that is not a panel is no QFrame either.
    for (QObject *p = o; p && p != this; p = p->parent())
        for (int i = 0; i < m_panels.size(); ++i)
            if (static_cast<QObject *>(m_panels.at(i)) == p)
                return i;
    return -1;
}

bool TDBCtrlGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        // An event a child ignores travels on to its parents: act on it once.
        const auto *me = static_cast<const QMouseEvent *>(event);
        const auto key = std::make_tuple(int(event->type()), me->timestamp(), me->globalPosition());
        const int i = key == m_lastClick ? -1 : panelIndexOf(watched);
        if (i >= 0) {
            m_lastClick = key;
            // A click on any part of a panel makes its record current and gives
            // the focus to the grid; the panel's own controls never keep it.
            setFocus(Qt::MouseFocusReason);
            const bool doble = event->type() == QEvent::MouseButtonDblClick;
            Proteger([this, i, doble] {
                const int row = panelRow(i);
                if (row >= 0)
                    moveTo(row);
                if (doble)
                    emit dblClick();
            });
        }
    }
    return QFrame::eventFilter(watched, event);
}

void TDBCtrlGrid::keyPressEvent(QKeyEvent *e)
{
    Proteger([this, e] { keyPress(e); });
}

void TDBCtrlGrid::keyPress(QKeyEvent *e)
{
    TTable *t = m_link.table();
    if (!t || !t->active()) {
        QFrame::keyPressEvent(e);
        return;
    }
    const int cur = t->recNo();
    const int n = panelCount();
    switch (e->key()) {
    case Qt::Key_Up: moveTo(cur - 1); break;
    case Qt::Key_Down: moveTo(cur + 1); break;
    case Qt::Key_PageUp: moveTo(cur - n); break;
    case Qt::Key_PageDown: moveTo(cur + n); break;
    case Qt::Key_Home: moveTo(0); break;
    case Qt::Key_End: moveTo(t->recordCount() - 1); break;
    default: QFrame::keyPressEvent(e); return;
    }
    e->accept();
}

void TDBCtrlGrid::wheelEvent(QWheelEvent *e)
{
    TTable *t = m_link.table();
    const int steps = e->angleDelta().y() / 120;
    if (t && t->active() && steps != 0)
        Proteger([this, t, steps] { moveTo(t->recNo() - steps); });
    e->accept();
}
