#include "Pagination.h"

#include "BandPainter.h"
#include "Formatos.h"
#include "RecordSource.h"
#include "StoreErrors.h"

#include <QDate>
#include <QPainter>

#include <map>
#include <unordered_map>

namespace {

// Thrown inside the walk when the output asks to stop; never leaves Generate_Report.
struct TStop
{
};

struct TBinding
{
    TRecordSource *Source = nullptr;
    int Field = -1;
    TValueKind Kind = TValueKind::Text;
};

class TGenerator
{
public:
    TGenerator(TReport &report, TReportOutput &output)
        : R(report), O(output), m_area(report.Printable_Area()), m_painterLayer(report, &m_metrics)
    {
    }

    int Run();

private:
    TRecordSource *Source(const QString &name);
    const TBinding &Binding(const TReportElement &e);
    QString Text_Of(const TReportElement &e);
    void Start_Page();
    void End_Page();
    void New_Page();
    void Print_Record();
    void Call(const TBandHandler &handler, TBandEvent &event);
    void Print_Chain(TReportBand &band, bool header);
    bool Print_Band(TReportBand &band, bool header);
    void Print_In_Parts(TReportBand &band, int height);
    void Announce(TReportBand &band, const QRect &rect, const std::vector<TPlacedElement> &placed, int from, int to,
                  int height);
    void After_Print(TReportBand &band, bool printed, int top);

    TReport &R;
    TReportOutput &O;
    const QRect m_area;
    QPicture m_metrics; // fonts are measured as the page pictures will hold them
    TBandPainter m_painterLayer;
    std::map<QString, std::unique_ptr<TRecordSource>> m_sources;
    std::unordered_map<const TReportElement *, TBinding> m_bindings;
    // The group expressions, read as field elements would be.
    std::unordered_map<const TReportBand *, TReportElement> m_groupProbes;
    std::vector<QVariant> m_groupValues;
    std::vector<bool> m_groupSeen;
    std::vector<QString> m_texts;
    std::vector<TPlacedElement> m_placed;
    QDate m_today;
    QPainter *m_painter = nullptr;
    int m_page = 0;
    int m_y = 0;
    int m_bodyTop = 0; // where the body of the current page began, under its headers
    bool m_bodyOnPage = false;
};

TRecordSource *TGenerator::Source(const QString &name)
{
    auto it = m_sources.find(name);
    if (it != m_sources.end())
        return it->second.get();
    std::unique_ptr<TRecordSource> s = R.Sources ? R.Sources(name) : Data_Module_Source(name);
    if (!s)
        throw EInOutError(0, QStringLiteral("El informe \"%1\" usa el origen de datos \"%2\", que no existe.")
                                 .arg(R.Name, name));
    return m_sources.emplace(name, std::move(s)).first->second.get();
}

const TBinding &TGenerator::Binding(const TReportElement &e)
{
    auto it = m_bindings.find(&e);
    if (it != m_bindings.end())
        return it->second;
    const int punto = e.Expression.indexOf(QLatin1Char('.'));
    TBinding b;
    b.Source = Source(punto < 0 ? e.Expression : e.Expression.left(punto));
    b.Field = punto < 0 ? -1 : b.Source->Field_Index(e.Expression.mid(punto + 1));
    if (b.Field < 0)
        throw EInOutError(0, QStringLiteral("El informe \"%1\" usa el campo \"%2\", que no existe.")
                                 .arg(R.Name, e.Expression));
    b.Kind = b.Source->Field_Kind(b.Field);
    return m_bindings.emplace(&e, b).first->second;
}

QString TGenerator::Text_Of(const TReportElement &e)
{
    switch (e.Kind) {
    case TElementKind::Text:
        return e.Caption;
    case TElementKind::SysDate:
        return Formatos::Formatear_Fecha(m_today);
    case TElementKind::VerticalLine:
        return QString();
    case TElementKind::Field:
    case TElementKind::RichText:
        break;
    }
    const TBinding &b = Binding(e);
    if (b.Source->Eof())
        return QString();
    const QVariant v = b.Source->Value(b.Field);
    switch (b.Kind) {
    case TValueKind::Number:
        return Formatos::Formatear_Mascara(v.isNull() ? 0.0 : v.toDouble(), e.Mask);
    case TValueKind::Date:
        return Formatos::Formatear_Fecha(v.toDate());
    case TValueKind::Text:
        break;
    }
    return v.toString();
}

void TGenerator::Start_Page()
{
    ++m_page;
    m_painter = O.Begin_Page(m_page, R.Page_Size());
    m_painterLayer.Reset_State();
    m_y = m_area.top();
    m_bodyOnPage = false;
    if (m_page > 1 || R.PageHeaderOnFirstPage)
        for (TReportBand &b : R.Bands)
            if (b.Kind == TBandKind::PageHeader)
                Print_Chain(b, true);
    for (TReportBand &b : R.Bands)
        if (b.Kind == TBandKind::ColumnHeader)
            Print_Chain(b, true);
    m_bodyTop = m_y;
}

void TGenerator::End_Page()
{
    O.End_Page(m_page);
    if (O.Stop())
        throw TStop();
}

void TGenerator::New_Page()
{
    End_Page();
    Start_Page();
}

void TGenerator::Print_Chain(TReportBand &band, bool header)
{
    if (!Print_Band(band, header))
        return;
    for (TReportBand &child : band.Children)
        Print_Chain(child, header);
}

void TGenerator::Call(const TBandHandler &handler, TBandEvent &event)
{
    // Whatever pen, font or transform a handler leaves on the canvas is its own:
    // the bands after it are drawn as if it had not been there.
    m_painter->save();
    try {
        handler(event);
    } catch (...) {
        m_painter->restore();
        throw;
    }
    m_painter->restore();
}

bool TGenerator::Print_Band(TReportBand &band, bool header)
{
    TBandEvent before{R, band};
    before.X = m_area.left();
    before.Y = m_y;
    before.Top = m_y;
    before.Page = m_page;
    before.Canvas = m_painter;
    if (band.BeforePrint)
        Call(band.BeforePrint, before);
    if (!before.Print) {
        After_Print(band, false, m_y);
        return false;
    }

    auto layout = [&] {
        m_texts.clear();
        for (const TReportElement &e : band.Elements)
            m_texts.push_back(Text_Of(e));
        return m_painterLayer.Layout(band, m_texts, m_area.width(), m_placed);
    };
    int height = layout();
    const int bottom = m_area.bottom() + 1;
    // A band that does not fit goes to the next page when it fits on a page of
    // its own; the headers of the new page use the same buffers, so the band is
    // laid out again. One taller than a page's body continues over pages.
    if (!header && m_bodyOnPage && m_y + height > bottom && height <= bottom - m_bodyTop) {
        New_Page();
        height = layout();
    }
    if (!header && m_y + height > bottom) {
        Print_In_Parts(band, height);
        return true;
    }

    const QPoint origin(m_area.left(), m_y);
    m_painterLayer.Paint(*m_painter, band, origin, QSize(m_area.width(), height), m_placed);
    if (!header)
        m_bodyOnPage = true;
    if (O.Wants_Texts())
        Announce(band, QRect(origin, QSize(m_area.width(), height)), m_placed, 0, height, height);
    m_y += height;
    After_Print(band, true, origin.y());
    return true;
}

void TGenerator::Print_In_Parts(TReportBand &band, int height)
{
    // The band's layout is kept aside while the headers of each new page use the buffers.
    std::vector<TPlacedElement> placed;
    placed.swap(m_placed);
    const int bottom = m_area.bottom() + 1;
    for (int from = 0; from < height;) {
        const int room = bottom - m_y;
        int to = from + room >= height ? height : TBandPainter::Break_Point(placed, from, from + room);
        if (to <= from) {
            if (m_bodyOnPage) {
                // Not one line of it fits under what the page holds: it starts on the next page.
                New_Page();
                continue;
            }
            // A line taller than a whole page is cut at the page's end; headers
            // that fill the page leave no room at all, and the band runs off it.
            to = room > 0 ? from + room : height;
        }
        const QPoint origin(m_area.left(), m_y - from);
        const QSize size(m_area.width(), height);
        m_painterLayer.Paint_Part(*m_painter, band, origin, size, placed, from, to);
        m_bodyOnPage = true;
        if (O.Wants_Texts())
            Announce(band, QRect(m_area.left(), m_y, m_area.width(), to - from), placed, from, to, height);
        const int top = m_y;
        m_y += to - from;
        After_Print(band, true, top);
        from = to;
        if (from < height)
            New_Page();
    }
    placed.swap(m_placed);
}

void TGenerator::Announce(TReportBand &band, const QRect &rect, const std::vector<TPlacedElement> &placed, int from,
                          int to, int height)
{
    TPrintedBand printed;
    printed.Page = m_page;
    printed.Band = &band;
    printed.Rect = rect;
    const bool whole = from == 0 && to == height;
    const QPoint origin(rect.left(), rect.top() - from);
    for (const TPlacedElement &p : placed) {
        if (p.Element->Kind == TElementKind::VerticalLine)
            continue;
        const bool rich = p.Element->Kind == TElementKind::RichText;
        QRect r = p.Rect.translated(origin).toAlignedRect();
        QString text = p.Text;
        if (!whole) {
            text = TBandPainter::Part_Text(p, from, to);
            if (text.isEmpty() && !(rich && p.Rect.top() >= from && p.Rect.top() < to))
                continue;
            r = r.intersected(rect);
        }
        printed.Texts.push_back(TPrintedText{r, text, p.Element->Alignment, rich});
    }
    O.Band_Printed(printed);
}

void TGenerator::After_Print(TReportBand &band, bool printed, int top)
{
    if (!band.AfterPrint)
        return;
    TBandEvent after{R, band};
    after.Printed = printed;
    after.X = m_area.left();
    after.Y = m_y;
    after.Top = top;
    after.Page = m_page;
    after.Canvas = m_painter;
    Call(band.AfterPrint, after);
}

void TGenerator::Print_Record()
{
    size_t g = 0;
    for (TReportBand &b : R.Bands) {
        if (b.Kind != TBandKind::GroupHeader)
            continue;
        if (g >= m_groupValues.size()) {
            m_groupValues.resize(g + 1);
            m_groupSeen.resize(g + 1, false);
        }
        QVariant value;
        if (!b.GroupExpression.isEmpty()) {
            auto &probe = m_groupProbes[&b];
            probe.Kind = TElementKind::Field;
            probe.Expression = b.GroupExpression;
            const TBinding &bind = Binding(probe);
            value = bind.Source->Eof() ? QVariant() : bind.Source->Value(bind.Field);
        }
        if (!m_groupSeen[g] || value != m_groupValues[g]) {
            m_groupSeen[g] = true;
            m_groupValues[g] = value;
            Print_Chain(b, false);
        }
        ++g;
    }
    for (TReportBand &b : R.Bands)
        if (b.Kind == TBandKind::Detail)
            Print_Chain(b, false);
    for (TReportBand &b : R.Bands) {
        if (b.Kind != TBandKind::SubDetail)
            continue;
        TRecordSource *s = Source(b.Source);
        s->First();
        if (s->Eof() && b.PrintIfEmpty)
            Print_Chain(b, false);
        for (; !s->Eof(); s->Next())
            Print_Chain(b, false);
    }
}

int TGenerator::Run()
{
    if (R.BeforeRun)
        R.BeforeRun(R);
    m_today = QDate::currentDate();
    try {
        TRecordSource *master = R.Master.isEmpty() ? nullptr : Source(R.Master);
        if (master)
            master->First();
        if (master && master->Eof() && !R.PrintIfEmpty) {
            ++m_page;
            O.Begin_Page(m_page, R.Page_Size());
                    End_Page();
            return m_page;
        }
        Start_Page();
        if (!master) {
            Print_Record();
        } else {
            for (; !master->Eof(); master->Next())
                Print_Record();
        }
        for (TReportBand &b : R.Bands)
            if (b.Kind == TBandKind::Summary)
                Print_Chain(b, false);
        End_Page();
    } catch (const TStop &) {
    }
    return m_page;
}

} // namespace

TPictureOutput::~TPictureOutput()
{
    delete m_painter;
}

QPainter *TPictureOutput::Begin_Page(int, QSize size)
{
    delete m_painter;
    m_picture = QPicture();
    m_size = size;
    m_painter = new QPainter(&m_picture);
    return m_painter;
}

void TPictureOutput::End_Page(int page)
{
    if (m_painter) {
        m_painter->end();
        delete m_painter;
        m_painter = nullptr;
    }
    Page_Done(page, m_picture, m_size);
}

int Generate_Report(TReport &report, TReportOutput &output)
{
    TGenerator g(report, output);
    return g.Run();
}
