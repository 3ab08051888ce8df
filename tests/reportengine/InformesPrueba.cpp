#include "InformesPrueba.h"

#include "PageStore.h"

#include <QDate>
#include <QPainter>

QStringList TRegistroSalida::Nombres(int pagina) const
{
    QStringList r;
    for (const TPrintedBand &b : Bandas)
        if (b.Page == pagina)
            r << b.Band->Name;
    return r;
}

std::vector<TPrintedBand> TRegistroSalida::De(const QString &nombre) const
{
    std::vector<TPrintedBand> r;
    for (const TPrintedBand &b : Bandas)
        if (b.Band->Name == nombre)
            r.push_back(b);
    return r;
}

TMemoryTable Filas(int n)
{
    TMemoryTable t;
    t.Fields = QStringList{QStringLiteral("NUM"), QStringLiteral("FECHA"), QStringLiteral("TEXTO")};
    for (int i = 1; i <= n; ++i)
        t.Rows.push_back(QVariantList{i, QDate(2024, 3, 1).addDays(i - 1), QStringLiteral("Fila %1").arg(i)});
    return t;
}

TReport Informe_Listado(const TMemoryTable &filas)
{
    TReport r;
    r.Name = QStringLiteral("Listado");
    r.Title = QStringLiteral("Listado de prueba");
    r.Master = QStringLiteral("Filas");
    r.Sources = Memory_Sources({{QStringLiteral("Filas"), &filas}});
    r.Font = Report_Font(QStringLiteral("Arial"), 9);

    TReportBand cabecera;
    cabecera.Name = QStringLiteral("Cabecera");
    cabecera.Kind = TBandKind::PageHeader;
    cabecera.Height = 10;
    cabecera.Frame = TFrame::All();
    TReportElement titulo = Text_Element(QStringLiteral("Titulo"), QStringLiteral("LISTADO"), 0, 2);
    titulo.CenterInBand = true;
    titulo.Font = Report_Font(QStringLiteral("Arial"), 10, true);
    cabecera.Elements.push_back(titulo);
    TReportBand hueco;
    hueco.Name = QStringLiteral("Hueco");
    hueco.Kind = TBandKind::Child;
    hueco.Height = 4;
    cabecera.Children.push_back(hueco);
    r.Bands.push_back(cabecera);

    TReportBand columnas;
    columnas.Name = QStringLiteral("Columnas");
    columnas.Kind = TBandKind::ColumnHeader;
    columnas.Height = 6;
    columnas.Elements.push_back(Text_Element(QStringLiteral("TitNum"), QStringLiteral("NUM"), 2, 1));
    columnas.Elements.push_back(Text_Element(QStringLiteral("TitFecha"), QStringLiteral("FECHA"), 30, 1));
    columnas.Elements.push_back(Text_Element(QStringLiteral("TitTexto"), QStringLiteral("TEXTO"), 70, 1));
    r.Bands.push_back(columnas);

    TReportBand detalle;
    detalle.Name = QStringLiteral("Detalle");
    detalle.Kind = TBandKind::Detail;
    detalle.Height = 5;
    detalle.Frame = TFrame::All();
    TReportElement num = Field_Element(QStringLiteral("Num"), QStringLiteral("Filas.NUM"), 2, 1, 20);
    num.Alignment = Qt::AlignRight;
    detalle.Elements.push_back(num);
    detalle.Elements.push_back(Field_Element(QStringLiteral("Fecha"), QStringLiteral("Filas.FECHA"), 30, 1, 30));
    detalle.Elements.push_back(Field_Element(QStringLiteral("Texto"), QStringLiteral("Filas.TEXTO"), 70, 1, 100));
    r.Bands.push_back(detalle);

    TReportBand resumen;
    resumen.Name = QStringLiteral("Resumen");
    resumen.Kind = TBandKind::Summary;
    resumen.Height = 7;
    resumen.Elements.push_back(Text_Element(QStringLiteral("Fin"), QStringLiteral("FIN DEL LISTADO"), 2, 1));
    r.Bands.push_back(resumen);
    return r;
}

QImage Pintar(const QPicture &pagina, QSize tamano, double escala)
{
    const QSize px(int(tamano.width() * escala / ReportUnits::PerMm), int(tamano.height() * escala / ReportUnits::PerMm));
    QImage img(px, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    Draw_Page(p, pagina, tamano, QRectF(QPointF(0, 0), QSizeF(px)));
    p.end();
    return img;
}
