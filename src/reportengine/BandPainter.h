// Lays out and draws one printing of a band in report units: where each
// element goes, how tall the band grows with its rich texts, and the drawing of
// its frame, texts and lines. Fonts are scaled so that a point measures the same
// in report units whatever the device's resolution.
#pragma once

#include "ReportDef.h"

#include <QFontMetricsF>
#include <QRectF>
#include <QTextDocument>

#include <memory>
#include <unordered_map>
#include <vector>

class QPaintDevice;

// One element as placed for one printing of its band (band coordinates).
struct TPlacedElement
{
    const TReportElement *Element = nullptr;
    QRectF Rect;
    QString Text;
    const QFont *Font = nullptr;               // in report units
    // Rich text, laid out at the element's width. The painter keeps one document
    // per element and lays it out anew at every printing of its band.
    QTextDocument *Document = nullptr;
};

class TBandPainter
{
public:
    // `metrics` is the kind of device the pages are recorded on.
    TBandPainter(const TReport &report, const QPaintDevice *metrics);
    ~TBandPainter();

    // A font in points turned into the same size in report units.
    QFont Unit_Font(const QFont &points) const;

    // Places the elements of `band` with their texts (one per element, in
    // order; lines take none) across `width`, and returns the band's height.
    int Layout(const TReportBand &band, const std::vector<QString> &texts, int width,
               std::vector<TPlacedElement> &placed);

    // Draws the band at `origin` with the size Layout gave it.
    void Paint(QPainter &painter, const TReportBand &band, QPoint origin, QSize size,
               const std::vector<TPlacedElement> &placed);

    // A band too tall for its page is printed in parts, each the rows [from, to)
    // of the band (band coordinates). Where a part may end at most at `limit`:
    // the highest position at or above it that cuts no line of text. A result
    // not above `from` means that not one line fits.
    static int Break_Point(const std::vector<TPlacedElement> &placed, int from, int limit);
    // Draws the part [from, to) of the band laid out at `origin` (where the
    // whole band would begin), with the band's frame around the part.
    void Paint_Part(QPainter &painter, const TReportBand &band, QPoint origin, QSize size,
                    const std::vector<TPlacedElement> &placed, int from, int to);
    // What an element shows inside the part [from, to): a text whose top lies
    // in it, the lines of a rich text that start in it.
    static QString Part_Text(const TPlacedElement &placed, int from, int to);

    // Forgets the painter state remembered between bands (a new page).
    void Reset_State() { m_lastFont = nullptr; m_lastPenValid = false; }

private:
    struct TFontEntry
    {
        QFont Source;
        QFont Unit;
        QFontMetricsF Metrics;
    };
    const TFontEntry &Font_For(const TReportElement &e);
    // The entry of `source` (points), shared by every element that uses it.
    const TFontEntry &Pooled(const QFont &source);
    // The largest size of `font`'s family, in tenths of a point below its own,
    // at which `text` is at most `width` wide.
    const TFontEntry &Shrunk(const TFontEntry &font, const QString &text, double width);
    void Paint_Frame(QPainter &painter, const TReportBand &band, const QRectF &rect);
    void Paint_Elements(QPainter &painter, QPoint origin, const std::vector<TPlacedElement> &placed);

    struct TElementFont
    {
        QFont Source;
        const TFontEntry *Entry = nullptr;
    };

    const TReport &m_report;
    const QPaintDevice *m_metrics;
    double m_scale; // points to report-unit points on this device
    // One entry per distinct font, so that elements of the same font share it
    // and the painter is told of a font only when it really changes.
    std::vector<std::unique_ptr<TFontEntry>> m_pool;
    std::unordered_map<const TReportElement *, TElementFont> m_fonts;
    std::unordered_map<const TReportElement *, std::unique_ptr<QTextDocument>> m_documents;
    const QFont *m_lastFont = nullptr;
    QPen m_lastPen;
    bool m_lastPenValid = false;
};
