#include "PreviewArea.h"

#include "PageStore.h"
#include "ReportDef.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kBorde = 10;              // grey around the page
const QColor kFondo(128, 128, 128);
const QColor kSombra(64, 64, 64);
// Page images up to this many pixels are kept; beyond, only the part shown is drawn.
constexpr qint64 kMaximoImagen = 24 * 1000 * 1000;

} // namespace

TPreviewArea::TPreviewArea(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    horizontalScrollBar()->setSingleStep(Line_Increment);
    verticalScrollBar()->setSingleStep(Line_Increment);
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
    horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
    verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    viewport()->setMouseTracking(false);
    Update_Content();
}

TPreviewArea::~TPreviewArea() = default;

void TPreviewArea::Attach(std::shared_ptr<TPageStore> store)
{
    Detach();
    m_store = std::move(store);
    if (m_store)
        connect(m_store.get(), &TPageStore::pageAvailable, this, &TPreviewArea::Store_Page_Available);
    m_page = 1;
    Refresh();
}

void TPreviewArea::Detach()
{
    if (m_store)
        disconnect(m_store.get(), nullptr, this, nullptr);
    m_store.reset();
    Refresh();
}

void TPreviewArea::Store_Page_Available(int n)
{
    if (n == m_page)
        Refresh();
    emit pageAvailable(n);
}

void TPreviewArea::Set_Page_Number(int n)
{
    if (!m_store || n < 1 || n > m_store->Page_Count() || n == m_page)
        return;
    m_page = n;
    Refresh();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void TPreviewArea::Set_Zoom(int percent)
{
    m_mode = TMode::Fixed;
    percent = std::clamp(percent, Min_Zoom, Max_Zoom);
    if (percent == m_zoom)
        return;
    m_zoom = percent;
    Refresh();
}

void TPreviewArea::Zoom_To_Fit()
{
    m_mode = TMode::Fit;
    Apply_Mode();
}

void TPreviewArea::Zoom_To_Width()
{
    m_mode = TMode::Width;
    Apply_Mode();
}

void TPreviewArea::Apply_Mode()
{
    if (m_mode == TMode::Fixed)
        return;
    const QSize units = Page_Units();
    const double pxPorCienX = units.width() * logicalDpiX() / double(ReportUnits::PerInch);
    const double pxPorCienY = units.height() * logicalDpiY() / double(ReportUnits::PerInch);
    const QSize disponible = maximumViewportSize();
    double ancho = disponible.width() - 2 * kBorde;
    const double alto = disponible.height() - 2 * kBorde;
    int z;
    if (m_mode == TMode::Fit) {
        z = int(std::floor(std::min(ancho / pxPorCienX, alto / pxPorCienY) * 100));
    } else {
        z = int(std::floor(ancho / pxPorCienX * 100));
        // Taller than the area: the vertical scroll bar will take its width.
        if (pxPorCienY * z / 100 > alto) {
            ancho -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
            z = int(std::floor(ancho / pxPorCienX * 100));
        }
    }
    z = std::clamp(z, Min_Zoom, Max_Zoom);
    if (z != m_zoom) {
        m_zoom = z;
        Refresh();
    } else {
        Update_Content();
    }
}

void TPreviewArea::Refresh()
{
    m_image = QPixmap();
    Update_Content();
    viewport()->update();
}

QSize TPreviewArea::Page_Units() const
{
    if (m_store && m_store->Page_Count() > 0)
        return m_store->Page_Size(std::min(m_page, m_store->Page_Count()));
    return QSize(ReportUnits::A4Width, ReportUnits::A4Height);
}

QSize TPreviewArea::Pixels_At(int zoom) const
{
    const QSize units = Page_Units();
    return QSize(int(std::lround(units.width() * logicalDpiX() * zoom / (100.0 * ReportUnits::PerInch))),
                 int(std::lround(units.height() * logicalDpiY() * zoom / (100.0 * ReportUnits::PerInch))));
}

QSize TPreviewArea::Page_Pixels() const
{
    return Pixels_At(m_zoom);
}

void TPreviewArea::Update_Content()
{
    m_content = Page_Pixels() + QSize(2 * kBorde, 2 * kBorde);
    const QSize vista = viewport()->size();
    horizontalScrollBar()->setPageStep(vista.width());
    verticalScrollBar()->setPageStep(vista.height());
    horizontalScrollBar()->setRange(0, std::max(0, m_content.width() - vista.width()));
    verticalScrollBar()->setRange(0, std::max(0, m_content.height() - vista.height()));
}

int TPreviewArea::H_Position() const
{
    return horizontalScrollBar()->value();
}

int TPreviewArea::V_Position() const
{
    return verticalScrollBar()->value();
}

void TPreviewArea::Set_H_Position(int x)
{
    horizontalScrollBar()->setValue(std::clamp(x, 0, horizontalScrollBar()->maximum()));
}

void TPreviewArea::Set_V_Position(int y)
{
    verticalScrollBar()->setValue(std::clamp(y, 0, verticalScrollBar()->maximum()));
}

QPoint TPreviewArea::Page_Origin() const
{
    const QSize vista = viewport()->size(), pagina = Page_Pixels();
    const int x = m_content.width() <= vista.width() ? (vista.width() - pagina.width()) / 2 : kBorde - H_Position();
    const int y = m_content.height() <= vista.height() ? (vista.height() - pagina.height()) / 2 : kBorde - V_Position();
    return QPoint(x, y);
}

QPoint TPreviewArea::To_Page(const QPoint &viewportPos) const
{
    return viewportPos - Page_Origin();
}

void TPreviewArea::paintEvent(QPaintEvent *event)
{
    QPainter p(viewport());
    p.fillRect(event->rect(), kFondo);
    const QRect pagina(Page_Origin(), Page_Pixels());
    p.fillRect(pagina.translated(3, 3), kSombra);
    if (!m_store || m_page > m_store->Page_Count()) {
        p.fillRect(pagina, Qt::white);
        return;
    }
    const QPicture &imagen = m_store->Page(m_page);
    const QSize units = m_store->Page_Size(m_page);
    const qreal dpr = viewport()->devicePixelRatioF();
    if (qint64(pagina.width()) * pagina.height() * dpr * dpr <= kMaximoImagen) {
        if (m_image.isNull()) {
            m_image = QPixmap(pagina.size() * dpr);
            m_image.setDevicePixelRatio(dpr);
            m_image.fill(Qt::white);
            QPainter q(&m_image);
            // Smoothed, a thin rule looks the same wherever it falls on the pixel grid.
            q.setRenderHint(QPainter::Antialiasing);
            q.setRenderHint(QPainter::TextAntialiasing);
            q.setRenderHint(QPainter::SmoothPixmapTransform);
            Draw_Page(q, imagen, units, QRectF(QPointF(0, 0), QSizeF(pagina.size())));
        }
        // The kept image is the page on its paper; the paper goes under it only
        // where a size rounded at a fractional scale leaves it short.
        if (QSizeF(m_image.size()) / dpr != QSizeF(pagina.size()))
            p.fillRect(pagina, Qt::white);
        p.drawPixmap(pagina.topLeft(), m_image);
    } else {
        p.fillRect(pagina, Qt::white);
        p.setClipRect(event->rect() & pagina);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        Draw_Page(p, imagen, units, QRectF(pagina));
    }
}

void TPreviewArea::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (m_mode != TMode::Fixed)
        Apply_Mode();
    Update_Content();
}

void TPreviewArea::scrollContentsBy(int, int)
{
    viewport()->update();
}

void TPreviewArea::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    emit pageMousePressed(To_Page(event->position().toPoint()));
}

void TPreviewArea::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressed)
        emit pageMouseMoved(To_Page(event->position().toPoint()));
}

void TPreviewArea::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    emit pageMouseReleased(To_Page(event->position().toPoint()));
    emit pageClicked();
}
