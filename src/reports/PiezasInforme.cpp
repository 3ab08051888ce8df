#include "PiezasInforme.h"

#include <QFontMetricsF>
#include <QPicture>

namespace PiezasInforme {

TReportBand Banda(const QString &nombre, TBandKind tipo, double alto, TFrame marco)
{
    TReportBand b;
    b.Name = nombre;
    b.Kind = tipo;
    b.Height = alto;
    b.Frame = marco;
    return b;
}

QFont Arial(double puntos, bool negrita)
{
    return Report_Font(QStringLiteral("Arial"), puntos, negrita);
}

TReportElement Texto(const QString &nombre, const QString &caption, double izquierda, double arriba,
                     const QFont &fuente)
{
    TReportElement e = Text_Element(nombre, caption, izquierda, arriba);
    e.Font = fuente;
    return e;
}

TReportElement Hasta(TReportElement e, double hasta)
{
    e.Width = hasta - e.Left;
    e.ShrinkToFit = true;
    return e;
}

TReportElement Campo(const QString &nombre, const QString &expresion, double izquierda, double arriba,
                     double ancho, const QFont &fuente, Qt::Alignment alineacion, const QString &mascara)
{
    TReportElement e = Field_Element(nombre, expresion, izquierda, arriba, ancho, 0, mascara);
    e.Font = fuente;
    e.Alignment = alineacion;
    e.ShrinkToFit = true;
    return e;
}

TReportElement Regla(const QString &nombre, double x)
{
    return Line_Element(nombre, x - 0.5, 0, 1, 0);
}

double Ancho_Mm(const QString &texto, const QFont &fuente)
{
    // Measured as the pages record it, on a picture.
    QPicture medida;
    const QFontMetricsF m(fuente, &medida);
    return m.horizontalAdvance(texto) / medida.logicalDpiX() * 25.4;
}

} // namespace PiezasInforme
