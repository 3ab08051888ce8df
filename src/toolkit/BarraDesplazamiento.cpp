// Scroll bar with its pictures kept.
#include "BarraDesplazamiento.h"

#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOptionSlider>

TBarraDesplazamiento::TBarraDesplazamiento(Qt::Orientation orientacion, QWidget *parent)
    : QScrollBar(orientacion, parent)
{
}

void TBarraDesplazamiento::paintEvent(QPaintEvent *event)
{
    // Under the mouse the bar shows which part is hot or pressed, which only
    // QScrollBar knows: it paints those looks itself.
    if (underMouse() || isSliderDown()) {
        QScrollBar::paintEvent(event);
        return;
    }
    QStyleOptionSlider opcion;
    initStyleOption(&opcion);
    opcion.subControls = QStyle::SC_All;
    QStyle *estilo = style();
    const QRect deslizador = estilo->subControlRect(QStyle::CC_ScrollBar, &opcion, QStyle::SC_ScrollBarSlider, this);
    const qreal escala = devicePixelRatioF();

    // Everything the style is given that shows: size and scale, the slider's
    // place, states, whether an end is reached, the colours.
    const QString clave = QStringLiteral("TBarraDesplazamiento:%1:%2x%3@%4:%5,%6,%7x%8:%9:%10%11:%12")
                              .arg(quintptr(estilo))
                              .arg(width())
                              .arg(height())
                              .arg(escala)
                              .arg(deslizador.x())
                              .arg(deslizador.y())
                              .arg(deslizador.width())
                              .arg(deslizador.height())
                              .arg(int(opcion.state))
                              .arg(value() <= minimum() ? 1 : 0)
                              .arg(value() >= maximum() ? 1 : 0)
                              .arg(palette().cacheKey());
    QPixmap imagen;
    if (!QPixmapCache::find(clave, &imagen)) {
        imagen = QPixmap(size() * escala);
        imagen.setDevicePixelRatio(escala);
        imagen.fill(Qt::transparent);
        {
            QPainter p(&imagen);
            estilo->drawComplexControl(QStyle::CC_ScrollBar, &opcion, &p, this);
        }
        QPixmapCache::insert(clave, imagen);
        ++fDibujadas;
    }
    QPainter p(this);
    p.drawPixmap(0, 0, imagen);
}
