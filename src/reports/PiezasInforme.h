// Small builders shared by the report layouts: bands, texts in a given font,
// and the width a caption takes on paper.
#pragma once

#include "ReportDef.h"

#include <QString>

namespace PiezasInforme {

// A band with its name, kind, height (mm) and frame.
TReportBand Banda(const QString &nombre, TBandKind tipo, double alto, TFrame marco = TFrame());

// Arial of `puntos`, bold or not.
QFont Arial(double puntos, bool negrita = false);

// A fixed caption at (left, top) in `fuente`, as wide as its text.
TReportElement Texto(const QString &nombre, const QString &caption, double izquierda, double arriba,
                     const QFont &fuente);

// A field in a box of fixed width; a value wider than the box is narrowed to fit it.
TReportElement Campo(const QString &nombre, const QString &expresion, double izquierda, double arriba,
                     double ancho, const QFont &fuente, Qt::Alignment alineacion = Qt::AlignLeft,
                     const QString &mascara = QString());

// `e` reaching no further than `hasta` (mm from the band's left edge): a value
// wider than that shrinks rather than run into its neighbour.
TReportElement Hasta(TReportElement e, double hasta);

// A vertical rule centred at `x` (mm), down the whole band.
TReportElement Regla(const QString &nombre, double x);

// Width in millimetres that `texto` takes on paper in `fuente`.
double Ancho_Mm(const QString &texto, const QFont &fuente);

} // namespace PiezasInforme
