#include "ReportDef.h"

namespace {

TReportElement Element(TElementKind kind, const QString &name, double left, double top, double width, double height)
{
    TReportElement e;
    e.Kind = kind;
    e.Name = name;
    e.Left = left;
    e.Top = top;
    e.Width = width;
    e.Height = height;
    return e;
}

template <class Band, class Elem>
Elem *Find_Element(Band &band, const QString &name)
{
    for (auto &e : band.Elements)
        if (e.Name == name)
            return &e;
    for (auto &c : band.Children)
        if (auto *e = Find_Element<Band, Elem>(c, name))
            return e;
    return nullptr;
}

TReportBand *Find_Band(std::vector<TReportBand> &bands, const QString &name)
{
    for (auto &b : bands) {
        if (b.Name == name)
            return &b;
        if (auto *c = Find_Band(b.Children, name))
            return c;
    }
    return nullptr;
}

} // namespace

TReportElement Text_Element(const QString &name, const QString &caption, double left, double top, double width,
                            double height)
{
    TReportElement e = Element(TElementKind::Text, name, left, top, width, height);
    e.Caption = caption;
    e.AutoSize = width <= 0;
    return e;
}

TReportElement Field_Element(const QString &name, const QString &expression, double left, double top, double width,
                             double height, const QString &mask)
{
    TReportElement e = Element(TElementKind::Field, name, left, top, width, height);
    e.Expression = expression;
    e.Mask = mask;
    e.AutoSize = width <= 0;
    return e;
}

TReportElement Rich_Text_Element(const QString &name, const QString &expression, double left, double top,
                                 double width, double height)
{
    TReportElement e = Element(TElementKind::RichText, name, left, top, width, height);
    e.Expression = expression;
    return e;
}

TReportElement Date_Element(const QString &name, double left, double top, double width, double height)
{
    TReportElement e = Element(TElementKind::SysDate, name, left, top, width, height);
    e.AutoSize = width <= 0;
    return e;
}

TReportElement Line_Element(const QString &name, double left, double top, double width, double height)
{
    return Element(TElementKind::VerticalLine, name, left, top, width, height);
}

TReportElement Page_Number_Element(const QString &name, const QString &pattern, double left, double top,
                                   double width, double height)
{
    TReportElement e = Element(TElementKind::PageNumber, name, left, top, width, height);
    e.Caption = pattern;
    e.AutoSize = width <= 0;
    return e;
}

QFont Report_Font(const QString &family, double points, bool bold)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    // Unhinted glyph advances scale with the page, so a line measures the same
    // on the screen, the printer and in a PDF.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

TReportElement *TReportBand::Element(const QString &name)
{
    return Find_Element<TReportBand, TReportElement>(*this, name);
}

const TReportElement *TReportBand::Element(const QString &name) const
{
    return Find_Element<const TReportBand, const TReportElement>(*this, name);
}

QSize TReport::Page_Size() const
{
    using namespace ReportUnits;
    return Orientation == TOrientation::Portrait ? QSize(A4Width, A4Height) : QSize(A4Height, A4Width);
}

QRect TReport::Printable_Area() const
{
    using namespace ReportUnits;
    const QSize page = Page_Size();
    const int left = FromMm(MarginLeft), top = FromMm(MarginTop);
    return QRect(left, top, page.width() - left - FromMm(MarginRight), page.height() - top - FromMm(MarginBottom));
}

TReportBand *TReport::Band(const QString &name)
{
    return Find_Band(Bands, name);
}

TReportElement *TReport::Element(const QString &name)
{
    for (auto &b : Bands)
        if (auto *e = b.Element(name))
            return e;
    return nullptr;
}
