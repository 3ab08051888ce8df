// A report as a value: page set-up, bands and their elements placed in
// millimetres, and the handlers its generation calls. Generation lays it out in
// report units (tenths of a millimetre, from the paper's top-left corner); the
// pages are recorded in the same units, so a handler's positions and the canvas
// it draws on agree.
#pragma once

#include <QColor>
#include <QFont>
#include <QPen>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class TPageStore;
class TRecordSource;

namespace ReportUnits {
constexpr int PerMm = 10;
constexpr int PerInch = 254;
inline int FromMm(double mm) { return int(std::lround(mm * PerMm)); }
inline double ToMm(int units) { return double(units) / PerMm; }
// A4 paper, portrait.
constexpr int A4Width = 2100;
constexpr int A4Height = 2970;
}

enum class TOrientation { Portrait, Landscape };

enum class TBandKind {
    PageHeader,   // top of every page (of the first one too when the report says so)
    ColumnHeader, // top of every page, under the page header
    GroupHeader,  // when its expression over the master record changes value
    Detail,       // once per master record
    SubDetail,    // for each master record, once per record of its own source
    Summary,      // once, after the last record
    Child         // right after the band that holds it
};

enum class TElementKind {
    Text,        // fixed caption
    Field,       // a field of a record source, "TableMantto.FECHA"
    RichText,    // a memo field laid out at the element's width; stretches its band
    SysDate,     // the date of the run, short format
    VerticalLine // a line down the middle of the element, with its pen
};

struct TFrame
{
    bool Top = false, Bottom = false, Left = false, Right = false;
    static TFrame All() { return {true, true, true, true}; }
    bool Any() const { return Top || Bottom || Left || Right; }
};

// Thin black line: frames and line elements (width in report units).
inline QPen Thin_Pen() { return QPen(QColor(Qt::black), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin); }

struct TReportElement
{
    QString Name;
    TElementKind Kind = TElementKind::Text;
    // From the band's top-left corner, in mm. A height of 0 takes one line of
    // the font (a line element: the band's height).
    double Left = 0, Top = 0, Width = 0, Height = 0;
    QString Caption;    // Text
    QString Expression; // Field and RichText: source name, a point, field name
    // Numbers of a Field go through this float-format mask ("###.###,##");
    // empty prints them plainly. An empty number counts as 0.
    QString Mask;
    std::optional<QFont> Font; // none: the report's font; sizes in points
    QColor Color = Qt::black;
    Qt::Alignment Alignment = Qt::AlignLeft; // left, centre or right
    bool AutoSize = false;     // the width follows the text, keeping the aligned edge
    bool CenterInBand = false; // centred across the whole band
    // A text wider than the element's width (when it has one) is drawn in a
    // smaller size of its font, so that it shows in full inside its box instead
    // of running over its neighbour.
    bool ShrinkToFit = false;
    QPen Pen = Thin_Pen();     // VerticalLine
};

// Builders for the usual elements; the rest is set on the result.
TReportElement Text_Element(const QString &name, const QString &caption, double left, double top,
                            double width = 0, double height = 0);
TReportElement Field_Element(const QString &name, const QString &expression, double left, double top,
                             double width, double height = 0, const QString &mask = QString());
TReportElement Rich_Text_Element(const QString &name, const QString &expression, double left, double top,
                                 double width, double height = 0);
TReportElement Date_Element(const QString &name, double left, double top, double width, double height = 0);
TReportElement Line_Element(const QString &name, double left, double top, double width, double height);

// A report font: family, size in points, bold.
QFont Report_Font(const QString &family, double points, bool bold = false);

struct TReport;
struct TReportBand;

// What a band handler sees. Positions are report units; the canvas is the page
// being built, drawn in report units too.
struct TBandEvent
{
    TReport &Report;
    TReportBand &Band;
    bool Print = true;    // before-print: false suppresses the band (nothing moves)
    bool Printed = false; // after-print: whether the band was printed
    int X = 0;            // the left edge of the band area
    int Y = 0;            // just below the band printed last
    // After-print: the top of the band on this page. A band too tall for a page
    // continues on the next one and is announced once for each part, with the
    // part's top and bottom on its own page.
    int Top = 0;
    int Page = 0;
    QPainter *Canvas = nullptr;
    // Report units to canvas coordinates.
    QPointF To_Canvas(int x, int y) const { return QPointF(x, y); }
};
using TBandHandler = std::function<void(TBandEvent &)>;

struct TReportBand
{
    QString Name;
    TBandKind Kind = TBandKind::Detail;
    double Height = 0; // mm; more when a rich text needs it
    TFrame Frame;
    QPen FramePen = Thin_Pen();
    std::vector<TReportElement> Elements;
    // Printed right after this band when it printed, in order, each with its own children.
    std::vector<TReportBand> Children;
    QString Source;          // SubDetail: the record source it walks
    bool PrintIfEmpty = false; // SubDetail: printed once, with empty fields, when its source has no record
    QString GroupExpression; // GroupHeader: "TablaMatriculas.MATRICULA"
    TBandHandler BeforePrint;
    TBandHandler AfterPrint; // called also when the band was suppressed, with Printed false

    TReportElement *Element(const QString &name);
    const TReportElement *Element(const QString &name) const;
};

// Finds the record source called `name` for one run; nullptr when there is none.
using TSourceLookup = std::function<std::unique_ptr<TRecordSource>(const QString &name)>;
// Shows the pages of a preview as they come (see TReport::Preview).
using TPreviewHandler = std::function<void(const std::shared_ptr<TPageStore> &)>;

struct TReport
{
    QString Name;
    QString Master; // record source walked by the detail bands; empty: a single pass
    TOrientation Orientation = TOrientation::Portrait;
    double MarginTop = 10, MarginBottom = 10, MarginLeft = 10, MarginRight = 10; // mm
    QString Title;                      // handed to the page store
    bool PageHeaderOnFirstPage = true;
    bool PrintIfEmpty = true;
    QFont Font = Report_Font(QStringLiteral("Arial"), 10);
    std::vector<TReportBand> Bands;
    TSourceLookup Sources;                  // empty: the data module's table objects
    std::function<void(TReport &)> BeforeRun; // at the start of every generation
    TPreviewHandler OnPreview;

    QSize Page_Size() const;      // report units
    QRect Printable_Area() const; // the paper less the margins, report units

    TReportBand *Band(const QString &name);
    TReportElement *Element(const QString &name);

    // Generates the report into a new page store on this thread: the preview
    // handler gets the store before the first page, every page is announced as
    // it is completed, pending events are processed between pages, and the call
    // returns only once the preview closed the store (at once without a handler).
    // A failure while generating finishes the store with the pages made so far
    // and is announced by the store's failed(); without a handler it is thrown.
    void Preview();
};
