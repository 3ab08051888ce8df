#include "BandPainter.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QStringList>
#include <QTextBlock>
#include <QTextLayout>
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
    slot.Entry = &Pooled(source);
    return *slot.Entry;
}

const TBandPainter::TFontEntry &TBandPainter::Pooled(const QFont &source)
{
    for (const auto &entry : m_pool)
        if (entry->Source == source)
            return *entry;
    const QFont unit = Unit_Font(source);
    m_pool.push_back(std::make_unique<TFontEntry>(TFontEntry{source, unit, QFontMetricsF(unit, m_metrics)}));
    return *m_pool.back();
}

const TBandPainter::TFontEntry &TBandPainter::Shrunk(const TFontEntry &font, const QString &text, double width)
{
    // Sizes go down in tenths of a point, so a report holds a few sizes at most
    // however many different texts are shrunk.
    const double tenths = std::floor(font.Source.pointSizeF() * 10);
    double size = std::min(tenths - 1, std::floor(tenths * width / font.Metrics.horizontalAdvance(text)));
    const TFontEntry *entry = &font;
    for (; size >= 1; size -= 1) {
        QFont smaller(font.Source);
        smaller.setPointSizeF(size / 10);
        entry = &Pooled(smaller);
        if (entry->Metrics.horizontalAdvance(text) <= width)
            break;
    }
    return *entry;
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
        const TFontEntry *font = &Font_For(e);
        p.Text = i < texts.size() ? texts[i] : QString();
        // A text that fits even in the font's widest glyphs is not measured:
        // most values of a row are short.
        if (e.ShrinkToFit && w > 0 && e.Kind != TElementKind::RichText && !p.Text.isEmpty()
            && p.Text.size() * font->Metrics.maxWidth() > w && font->Metrics.horizontalAdvance(p.Text) > w)
            font = &Shrunk(*font, p.Text, w);
        p.Font = &font->Unit;
        if (e.Kind == TElementKind::RichText) {
            // Documents are made once per element: making one costs more than laying out its text.
            std::unique_ptr<QTextDocument> &slot = m_documents[&e];
            if (!slot) {
                slot = std::make_unique<QTextDocument>();
                slot->setUndoRedoEnabled(false);
                slot->documentLayout()->setPaintDevice(const_cast<QPaintDevice *>(m_metrics));
                slot->setDocumentMargin(0);
            }
            QTextDocument *doc = slot.get();
            if (doc->defaultTextOption().alignment() != e.Alignment
                || doc->defaultTextOption().wrapMode() != QTextOption::WrapAtWordBoundaryOrAnywhere) {
                QTextOption option;
                option.setAlignment(e.Alignment);
                option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
                doc->setDefaultTextOption(option);
            }
            if (doc->defaultFont() != font->Unit)
                doc->setDefaultFont(font->Unit);
            if (doc->textWidth() != w)
                doc->setTextWidth(w);
            // Memos are typed as plain text; markup in them is shown, never obeyed.
            doc->setPlainText(p.Text);
            h = std::max(h, std::ceil(doc->size().height()));
            height = std::max(height, int(std::ceil(y + h)));
            p.Document = doc;
        } else {
            if (h <= 0)
                h = std::ceil(font->Metrics.height());
            if (e.AutoSize) {
                const double tw = std::ceil(font->Metrics.horizontalAdvance(p.Text));
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
    Paint_Frame(painter, band, QRectF(origin, size));
    Paint_Elements(painter, origin, placed);
}

void TBandPainter::Paint_Part(QPainter &painter, const TReportBand &band, QPoint origin, QSize size,
                              const std::vector<TPlacedElement> &placed, int from, int to)
{
    const QRectF part(origin.x(), origin.y() + from, size.width(), to - from);
    painter.save();
    // Only the part's rows; sideways whatever runs past the band stays, as it does on a whole band.
    painter.setClipRect(part.adjusted(-part.left(), 0, ReportUnits::A4Height, 0));
    Paint_Elements(painter, origin, placed);
    painter.restore();
    Reset_State(); // the painter is back to its state before the part
    Paint_Frame(painter, band, part);
}

void TBandPainter::Paint_Frame(QPainter &painter, const TReportBand &band, const QRectF &r)
{
    const TFrame &f = band.Frame;
    if (!f.Any())
        return;
    if (!m_lastPenValid || !(m_lastPen == band.FramePen)) {
        painter.setPen(band.FramePen);
        m_lastPen = band.FramePen;
        m_lastPenValid = true;
    }
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

void TBandPainter::Paint_Elements(QPainter &painter, QPoint origin, const std::vector<TPlacedElement> &placed)
{
    auto setPen = [&](const QPen &pen) {
        if (!m_lastPenValid || !(m_lastPen == pen)) {
            painter.setPen(pen);
            m_lastPen = pen;
            m_lastPenValid = true;
        }
    };
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

namespace {

// Calls `line(top, bottom, block, textLine)` for every line of a placed rich
// text, in band coordinates.
template <class F>
void For_Each_Line(const TPlacedElement &p, F line)
{
    for (QTextBlock b = p.Document->begin(); b.isValid(); b = b.next()) {
        const QTextLayout *l = b.layout();
        if (!l)
            continue;
        const double y0 = p.Rect.top() + l->position().y();
        for (int i = 0; i < l->lineCount(); ++i) {
            const QTextLine t = l->lineAt(i);
            line(y0 + t.y(), y0 + t.y() + t.height(), b, t);
        }
    }
}

} // namespace

int TBandPainter::Break_Point(const std::vector<TPlacedElement> &placed, int from, int limit)
{
    int cut = limit;
    // Raising the cut above one line may put it inside a line of another element.
    for (bool moved = true; moved && cut > from;) {
        moved = false;
        auto avoid = [&](double top, double bottom) {
            if (top < cut && bottom > cut) {
                cut = int(std::floor(top));
                moved = true;
            }
        };
        for (const TPlacedElement &p : placed) {
            if (p.Element->Kind == TElementKind::VerticalLine)
                continue;
            if (p.Document)
                For_Each_Line(p, [&](double top, double bottom, const QTextBlock &, const QTextLine &) { avoid(top, bottom); });
            else if (!p.Text.isEmpty())
                avoid(p.Rect.top(), p.Rect.bottom());
        }
    }
    return cut;
}

QString TBandPainter::Part_Text(const TPlacedElement &p, int from, int to)
{
    if (!p.Document)
        return p.Rect.top() >= from && p.Rect.top() < to ? p.Text : QString();
    QStringList blocks;
    int lastBlock = -1, start = 0, end = 0;
    auto flush = [&](const QTextBlock &b) {
        if (lastBlock >= 0)
            blocks << b.document()->findBlockByNumber(lastBlock).text().mid(start, end - start);
    };
    For_Each_Line(p, [&](double top, double, const QTextBlock &b, const QTextLine &t) {
        if (top < from || top >= to)
            return;
        if (b.blockNumber() != lastBlock) {
            flush(b);
            lastBlock = b.blockNumber();
            start = t.textStart();
        }
        end = t.textStart() + t.textLength();
    });
    if (lastBlock >= 0)
        flush(p.Document->findBlockByNumber(lastBlock));
    return blocks.join(QLatin1Char('\n'));
}
