// A column of record panels over a table object: a few records shown at once,
// each in its own read-only panel, the current one highlighted.
#pragma once

#include "DBControles.h"
#include "DBEnlace.h"

#include <QColor>
#include <QFrame>
#include <QList>
#include <QPointer>
#include <QPointF>
#include <QString>

#include <tuple>

class QScrollBar;

struct TDBCtrlGridItem
{
    QString fieldName;
    QString label;     // shown beside a small field; texts of several lines have none
    QString toolTip;
    bool memo = false; // several lines with a vertical scroll bar, on the panel's right
};

class TDBCtrlGrid : public QFrame, public IDBControl
{
    Q_OBJECT
public:
    explicit TDBCtrlGrid(QWidget *parent = nullptr);

    void setDataSource(TDataSource *ds);
    // The fields of every panel: small fields one under the other on the left,
    // texts of several lines one under the other on the right.
    void setItems(const QList<TDBCtrlGridItem> &items);
    void setPanelCount(int count); // panels visible at once, 3 unless told
    int panelCount() const { return int(m_panels.size()); }

    // Panel `i` from the top, and the record it shows (-1 when it shows none).
    QFrame *panel(int i) const { return m_panels.value(i); }
    int panelRow(int i) const;
    int topRow() const { return m_top; }
    // The colour of the current record's panel.
    static QColor selectedColor();

    TField *dbField() const override { return nullptr; }
    TDataSource *dbDataSource() const override { return m_link.dataSource(); }
    void dbRefreshText() override { refill(); }

signals:
    void dblClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;

private:
    void buildPanels(int count);
    void refill();
    void moveTo(int row);
    void keyPress(QKeyEvent *e);
    int panelIndexOf(QObject *o) const;

    TDBFieldLink m_link;
    QList<TDBCtrlGridItem> m_items;
    QList<QFrame *> m_panels;
    // Per panel: what it holds, hidden whole when it shows no record, and each
    // item's control with the text it was last given (moving through a table
    // refills the panels at every step: nothing is looked up or set twice).
    QList<QWidget *> m_contents;
    QList<QList<QWidget *>> m_controls;
    QList<QStringList> m_texts;
    QWidget *m_body;
    QScrollBar *m_bar;
    int m_top = 0;
    bool m_filling = false;
    std::tuple<int, quint64, QPointF> m_lastClick{-1, 0, QPointF()};
};
