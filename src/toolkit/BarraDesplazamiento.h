// A scroll bar that draws each look it takes once and copies it from then on.
#pragma once

#include <QScrollBar>

// The style's scroll bar painting costs as much as a screenful of grid cells,
// and a grid following a master table changes its range at every move. The
// picture depends only on what is passed to the style, so it is kept under that
// description and reused while nothing in it changes.
class TBarraDesplazamiento : public QScrollBar
{
    Q_OBJECT
public:
    explicit TBarraDesplazamiento(Qt::Orientation orientacion, QWidget *parent = nullptr);

    // Pictures drawn by the style since the bar was made (the rest were copies).
    int Dibujadas() const { return fDibujadas; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int fDibujadas = 0;
};
