#include "BandPainter.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace {

// Texts never lose characters to their box: a value wider than its element
// runs on instead of being cut.
constexpr int kTextFlags = Qt::AlignTop | Qt::TextDontClip;

} // namespace

TBandPainter::TBandPainter(const TReport &report, const QPaintDevice *metrics)
    : m_report(report), m_metrics(metrics), m_scale(double(ReportUnits::PerInch) / metrics->logicalDpiY())
{
}

TBandPainter::~TBandPainter() = default;

QFont TBandPainter::Unit_Font(const QFont &points) const
{
    QFont f(points);
    if (points.pointSizeF() > 0)
        f.setPointSizeF(points.pointSizeF() * m_scale);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

const TBandPainter::TFontEntry &TBandPainter::Font_For(const TReportElement &e)
{
    const QFont &source = e.Font ? *e.Font : m_report.Font;
    TElementFont &slot = m_fonts[&e];
    // Most elements keep the very font they were given: a look at its shared data settles it.
    if (slot.Entry && (slot.Source.isCopyOf(source) || slot.Source == source))
        return *slot.Entry;
    slot.Source = source;
    slot.Entry = nullptr;
    for (const auto &entry : m_pool)
        if (entry->Source == source)
            slot.Entry = entry.get();
    if (!slot.Entry) {
        const QFont unit = Unit_Font(source);
        m_pool.push_back(std::make_unique<TFontEntry>(TFontEntry{source, unit, QFontMetricsF(unit, m_metrics)}));
        slot.Entry = m_pool.back().get();
    }
    return *slot.Entry;
}

int TBandPainter::Layout(const TReportBand &band, const std::vector<QString> &texts, int width,
                         std::vector<TPlacedElement> &placed)
{
    using ReportUnits::FromMm;
    int height = FromMm(band.Height);
    placed.clear();
    placed.resize(band.Elements.size());
    for (size_t i = 0; i < band.Elements.size(); ++i) {
        const TReportElement &e = band.Elements[i];
        TPlacedElement &p = placed[i];
        p.Element = &e;
        double x = FromMm(e.Left), y = FromMm(e.Top), w = FromMm(e.Width), h = FromMm(e.Height);
        if (e.Kind == TElementKind::VerticalLine) {
            p.Rect = QRectF(x, y, w, h);
            continue;
        }
        const TFontEntry &font = Font_For(e);
        p.Font = &font.Unit;
        p.Text = i < texts.size() ? texts[i] : QString();
        if (e.Kind == TElementKind::RichText) {
            auto doc = std::make_unique<QTextDocument>();
            doc->documentLayout()->setPaintDevice(const_cast<QPaintDevice *>(m_metrics));
            doc->setDocumentMargin(0);
            doc->setDefaultFont(font.Unit);
            QTextOption option;
            option.setAlignment(e.Alignment);
            option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            doc->setDefaultTextOption(option);
            doc->setTextWidth(w);
            // Memos are typed as plain text; markup in them is shown, never obeyed.
            doc->setPlainText(p.Text);
            h = std::max(h, std::ceil(doc->size().height()));
            height = std::max(height, int(std::ceil(y + h)));
            p.Document = std::move(doc);
        } else {
            if (h <= 0)
                h = std::ceil(font.Metrics.height());
            if (e.AutoSize) {
                const double tw = std::ceil(font.Metrics.horizontalAdvance(p.Text));
                if (e.Alignment & Qt::AlignRight)
                    x += w - tw;
                else if (e.Alignment & Qt::AlignHCenter)
                    x += (w - tw) / 2;
                w = tw;
            }
        }
        if (e.CenterInBand)
            x = (width - w) / 2;
        p.Rect = QRectF(x, y, w, h);
    }
    // Lines without a height of their own run down the whole band.
    for (TPlacedElement &p : placed)
        if (p.Element->Kind == TElementKind::VerticalLine && p.Rect.height() <= 0)
            p.Rect.setHeight(height - p.Rect.top());
    return height;
}

void TBandPainter::Paint(QPainter &painter, const TReportBand &band, QPoint origin, QSize size,
                         const std::vector<TPlacedElement> &placed)
{
    auto setPen = [&](const QPen &pen) {
        if (!m_lastPenValid || !(m_lastPen == pen)) {
            painter.setPen(pen);
            m_lastPen = pen;
            m_lastPenValid = true;
        }
    };
    const TFrame &f = band.Frame;
    if (f.Any()) {
        setPen(band.FramePen);
        const QRectF r(origin, size);
        if (f.Top && f.Bottom && f.Left && f.Right) {
            painter.drawRect(r);
        } else {
            if (f.Top)
                painter.drawLine(QLineF(r.topLeft(), r.topRight()));
            if (f.Bottom)
                painter.drawLine(QLineF(r.bottomLeft(), r.bottomRight()));
            if (f.Left)
                painter.drawLine(QLineF(r.topLeft(), r.bottomLeft()));
            if (f.Right)
                painter.drawLine(QLineF(r.topRight(), r.bottomRight()));
        }
    }
    for (const TPlacedElement &p : placed) {
        const TReportElement &e = *p.Element;
        const QRectF r = p.Rect.translated(origin);
        switch (e.Kind) {
        case TElementKind::VerticalLine: {
            setPen(e.Pen);
            const double x = r.left() + r.width() / 2;
            painter.drawLine(QLineF(x, r.top(), x, r.bottom()));
            break;
        }
        case TElementKind::RichText: {
            painter.save();
            painter.translate(r.topLeft());
            QAbstractTextDocumentLayout::PaintContext context;
            context.palette.setColor(QPalette::Text, e.Color);
            p.Document->documentLayout()->draw(&painter, context);
            painter.restore();
            break;
        }
        default:
            if (p.Text.isEmpty())
                break;
            if (m_lastFont != p.Font) {
                painter.setFont(*p.Font);
                m_lastFont = p.Font;
            }
            // Text takes only the pen's colour: a line pen of that colour serves.
            if (!m_lastPenValid || m_lastPen.color() != e.Color || m_lastPen.style() != Qt::SolidLine)
                setPen(QPen(e.Color));
            painter.drawText(r, int(e.Alignment) | kTextFlags, p.Text);
            break;
        }
    }
}
