// Layout of reports by page counts and band positions (report units, tenths of
// a millimetre): headers on every page, groups, sub-details, the summary,
// handlers that suppress a band or draw after it, bands that stretch, and page
// numbers that name the page count.
#include "Capturar.h"
#include "InformesPrueba.h"

#include "StoreErrors.h"

#include <QDate>
#include <QPainter>
#include <QTest>

namespace {

TReportBand Banda(const QString &nombre, TBandKind tipo, double alto)
{
    TReportBand b;
    b.Name = nombre;
    b.Kind = tipo;
    b.Height = alto;
    return b;
}

// The rows of a single text field GRUPO.
TMemoryTable Grupos(const QStringList &valores)
{
    TMemoryTable t;
    t.Fields = QStringList{QStringLiteral("GRUPO"), QStringLiteral("TEXTO")};
    int i = 0;
    for (const QString &v : valores)
        t.Rows.push_back(QVariantList{v, QStringLiteral("Fila %1").arg(++i)});
    return t;
}

} // namespace

class TstPaginacion : public QObject
{
    Q_OBJECT
private slots:
    void paginas_data();
    void paginas();
    void grupos();
    void subdetalle();
    void suprimir();
    void despuesDeImprimir();
    void lienzoDelManejador();
    void textoEnriquecido();
    void encoger_data();
    void encoger();
    void textos_data();
    void textos();
    void colocacion();
    void cabeceraPrimeraPagina();
    void vacio_data();
    void vacio();
    void origenDesconocido_data();
    void origenDesconocido();
    void numeroDePagina_data();
    void numeroDePagina();
    void numeroDePaginaParado();
};

void TstPaginacion::paginas_data()
{
    QTest::addColumn<int>("filas");
    QTest::addColumn<int>("paginas");
    QTest::newRow("sin filas") << 0 << 1;
    QTest::newRow("resumen justo al pie") << 50 << 1;
    QTest::newRow("resumen solo en la segunda") << 51 << 2;
    QTest::newRow("una fila pasa") << 52 << 2;
    QTest::newRow("dos paginas justas") << 101 << 2;
    QTest::newRow("resumen en la tercera") << 102 << 3;
    QTest::newRow("muchas") << 1000 << 20;
}

void TstPaginacion::paginas()
{
    QFETCH(int, filas);
    QFETCH(int, paginas);
    const TMemoryTable datos = Filas(filas);
    TReport r = Informe_Listado(datos);
    TRegistroSalida salida;
    QCOMPARE(Generate_Report(r, salida), paginas);
    QCOMPARE(int(salida.Paginas.size()), paginas);

    // Every page begins with the page header, its child and the column header.
    for (int p = 1; p <= paginas; ++p) {
        const QStringList nombres = salida.Nombres(p);
        QCOMPARE(nombres.mid(0, 3), (QStringList{"Cabecera", "Hueco", "Columnas"}));
    }
    for (const QString &n : {QStringLiteral("Cabecera"), QStringLiteral("Hueco"), QStringLiteral("Columnas")})
        QCOMPARE(salida.Cuantas(n), paginas);
    QCOMPARE(salida.De(QStringLiteral("Columnas")).back().Rect.top(), 240);

    // The rows in order, 50 units apart from just under the headers.
    const auto detalles = salida.De(QStringLiteral("Detalle"));
    QCOMPARE(int(detalles.size()), filas);
    int esperadoY = 300, pagina = 1;
    for (int i = 0; i < filas; ++i) {
        if (detalles[i].Page != pagina) {
            QCOMPARE(detalles[i].Page, pagina + 1);
            pagina = detalles[i].Page;
            esperadoY = 300;
        }
        QCOMPARE(detalles[i].Rect.top(), esperadoY);
        QCOMPARE(detalles[i].Texts.at(2).Text, QStringLiteral("Fila %1").arg(i + 1));
        esperadoY += 50;
    }

    // The summary once, after the last row (or at the top of a page of its own).
    const auto resumen = salida.De(QStringLiteral("Resumen"));
    QCOMPARE(int(resumen.size()), 1);
    QCOMPARE(salida.Bandas.back().Band->Name, QStringLiteral("Resumen"));
    QCOMPARE(resumen[0].Page, paginas);
    if (filas > 0 && detalles.back().Page == paginas)
        QCOMPARE(resumen[0].Rect.top(), detalles.back().Rect.bottom() + 1);
    else
        QCOMPARE(resumen[0].Rect.top(), 300);
}

void TstPaginacion::grupos()
{
    QStringList valores{"A", "A", "B", "B", "B", "C"};
    for (int i = 0; i < 60; ++i)
        valores << "D"; // a group longer than a page
    const TMemoryTable datos = Grupos(valores);
    TReport r = Informe_Listado(datos);
    r.Bands[2].Elements.clear();
    TReportBand grupo = Banda(QStringLiteral("Grupo"), TBandKind::GroupHeader, 8);
    grupo.GroupExpression = QStringLiteral("Filas.GRUPO");
    grupo.Elements.push_back(Field_Element(QStringLiteral("Valor"), QStringLiteral("Filas.GRUPO"), 2, 1, 20));
    grupo.Children.push_back(Banda(QStringLiteral("Titulos"), TBandKind::Child, 6));
    r.Bands.push_back(grupo);

    TRegistroSalida salida;
    QCOMPARE(Generate_Report(r, salida), 2);
    QStringList orden;
    for (const TPrintedBand &b : salida.Bandas)
        if (b.Band->Name == "Grupo" || b.Band->Name == "Titulos")
            orden << b.Band->Name + ":" + (b.Texts.empty() ? QString() : b.Texts.front().Text);
        else if (b.Band->Name == "Detalle")
            orden << "D";
    QCOMPARE(orden.mid(0, 15), (QStringList{"Grupo:A", "Titulos:", "D", "D", "Grupo:B", "Titulos:", "D", "D", "D",
                                             "Grupo:C", "Titulos:", "D", "Grupo:D", "Titulos:", "D"}));
    QCOMPARE(salida.Cuantas(QStringLiteral("Grupo")), 4);
    QCOMPARE(salida.Cuantas(QStringLiteral("Titulos")), 4);
    // The continuation page repeats the page headers, not the group.
    QCOMPARE(salida.Nombres(2).mid(0, 4), (QStringList{"Cabecera", "Hueco", "Columnas", "Detalle"}));
}

void TstPaginacion::subdetalle()
{
    const TMemoryTable maestro = Filas(2);
    const TMemoryTable lineas = Filas(3);
    TReport r = Informe_Listado(maestro);
    r.Sources = Memory_Sources({{QStringLiteral("Filas"), &maestro}, {QStringLiteral("Lineas"), &lineas}});
    TReportBand sub = Banda(QStringLiteral("Sub"), TBandKind::SubDetail, 5);
    sub.Source = QStringLiteral("Lineas");
    sub.Elements.push_back(Field_Element(QStringLiteral("Linea"), QStringLiteral("Lineas.TEXTO"), 10, 1, 40));
    sub.Children.push_back(Banda(QStringLiteral("TrasSub"), TBandKind::Child, 2));
    r.Bands.insert(r.Bands.begin(), sub); // its place in the list does not change the order

    TRegistroSalida salida;
    Generate_Report(r, salida);
    QStringList orden;
    for (const TPrintedBand &b : salida.Bandas) {
        const QString n = b.Band->Name;
        if (n == "Detalle")
            orden << n + ":" + b.Texts.at(2).Text;
        else if (n == "Sub")
            orden << n + ":" + b.Texts.at(0).Text;
        else if (n == "TrasSub")
            orden << n;
    }
    QCOMPARE(orden, (QStringList{"Detalle:Fila 1", "Sub:Fila 1", "TrasSub", "Sub:Fila 2", "TrasSub", "Sub:Fila 3",
                                 "TrasSub", "Detalle:Fila 2", "Sub:Fila 1", "TrasSub", "Sub:Fila 2", "TrasSub",
                                 "Sub:Fila 3", "TrasSub"}));

    // With no record, it prints nothing, or once with its fields empty when asked to.
    const TMemoryTable ninguna = Filas(0);
    r.Sources = Memory_Sources({{QStringLiteral("Filas"), &maestro}, {QStringLiteral("Lineas"), &ninguna}});
    for (bool siVacio : {false, true}) {
        r.Band(QStringLiteral("Sub"))->PrintIfEmpty = siVacio;
        TRegistroSalida vacia;
        Generate_Report(r, vacia);
        const auto subs = vacia.De(QStringLiteral("Sub"));
        QCOMPARE(int(subs.size()), siVacio ? 2 : 0);
        QCOMPARE(vacia.Cuantas(QStringLiteral("TrasSub")), siVacio ? 2 : 0);
        for (const TPrintedBand &b : subs)
            QCOMPARE(b.Texts.at(0).Text, QString());
    }
}

void TstPaginacion::suprimir()
{
    const TMemoryTable datos = Filas(6);
    TReport r = Informe_Listado(datos);
    TReportBand &detalle = *r.Band(QStringLiteral("Detalle"));
    detalle.Children.push_back(Banda(QStringLiteral("Pie"), TBandKind::Child, 3));
    int llamada = 0;
    detalle.BeforePrint = [&](TBandEvent &ev) { ev.Print = (++llamada % 2) == 1; };
    struct Despues
    {
        bool impresa;
        int y;
    };
    std::vector<Despues> despues;
    detalle.AfterPrint = [&](TBandEvent &ev) { despues.push_back({ev.Printed, ev.Y}); };

    TRegistroSalida salida;
    Generate_Report(r, salida);
    const auto detalles = salida.De(QStringLiteral("Detalle"));
    QCOMPARE(int(detalles.size()), 3);
    QCOMPARE(salida.Cuantas(QStringLiteral("Pie")), 3); // a suppressed band takes its children with it
    QStringList textos;
    for (const auto &d : detalles)
        textos << d.Texts.at(2).Text;
    QCOMPARE(textos, (QStringList{"Fila 1", "Fila 3", "Fila 5"}));
    // Nothing moved for the suppressed rows: each printed row follows the last band.
    const auto pies = salida.De(QStringLiteral("Pie"));
    QCOMPARE(detalles[0].Rect.top(), 300);
    for (int i = 1; i < 3; ++i)
        QCOMPARE(detalles[i].Rect.top(), pies[size_t(i - 1)].Rect.bottom() + 1);
    // After-print runs for both, with the position just below what was printed last.
    QCOMPARE(int(despues.size()), 6);
    QVERIFY(despues[0].impresa);
    QCOMPARE(despues[0].y, 350);
    QVERIFY(!despues[1].impresa);
    QCOMPARE(despues[1].y, 380); // under the child "Pie" of the row before
}

void TstPaginacion::despuesDeImprimir()
{
    const TMemoryTable datos = Filas(60);
    TReport r = Informe_Listado(datos);
    struct Visto
    {
        int x, y, pagina;
    };
    std::vector<Visto> vistos;
    r.Band(QStringLiteral("Detalle"))->AfterPrint = [&](TBandEvent &ev) {
        vistos.push_back({ev.X, ev.Y, ev.Page});
        // A mark in the right margin, where nothing else is drawn.
        ev.Canvas->setPen(ev.Report.Element(QStringLiteral("Num"))->Pen);
        ev.Canvas->drawLine(ev.To_Canvas(2010, ev.Y - 40), ev.To_Canvas(2050, ev.Y - 40));
    };
    TRegistroSalida salida;
    QCOMPARE(Generate_Report(r, salida), 2);
    const auto detalles = salida.De(QStringLiteral("Detalle"));
    QCOMPARE(vistos.size(), detalles.size());
    for (size_t i = 0; i < detalles.size(); ++i) {
        QCOMPARE(vistos[i].x, 100);
        QCOMPARE(vistos[i].y, detalles[i].Rect.bottom() + 1);
        QCOMPARE(vistos[i].pagina, detalles[i].Page);
    }
    // The handler drew on the page being built, on both pages.
    for (const QPicture &p : salida.Paginas)
        QVERIFY2(p.boundingRect().right() >= 2045, qPrintable(QString::number(p.boundingRect().right())));
}

void TstPaginacion::lienzoDelManejador()
{
    // A handler that leaves a red pen and a shifted canvas behind changes
    // nothing of the bands drawn after it.
    const TMemoryTable datos = Filas(3);
    TReport r = Informe_Listado(datos);
    r.Band(QStringLiteral("Detalle"))->AfterPrint = [](TBandEvent &ev) {
        ev.Canvas->setPen(QPen(Qt::red, 1));
        ev.Canvas->translate(0, 3000);
    };
    TRegistroSalida salida;
    Generate_Report(r, salida);
    const QImage pagina = Pintar(salida.Paginas.at(0), r.Page_Size());
    int rojos = 0, tinta = 0;
    for (int y = 0; y < pagina.height(); ++y)
        for (int x = 0; x < pagina.width(); ++x) {
            const QColor c = pagina.pixelColor(x, y);
            rojos += c.red() > 150 && c.green() < 100;
            tinta += qGray(c.rgb()) < 128;
        }
    QCOMPARE(rojos, 0);
    // The summary is on the page, under the last row.
    const int bajoUltima = salida.De(QStringLiteral("Resumen")).at(0).Rect.top() * 2 / ReportUnits::PerMm;
    int tintaResumen = 0;
    for (int y = bajoUltima; y < bajoUltima + 14; ++y)
        for (int x = 0; x < pagina.width(); ++x)
            tintaResumen += qGray(pagina.pixel(x, y)) < 128;
    QVERIFY(tintaResumen > 0);
    QVERIFY(tinta > tintaResumen);
}

void TstPaginacion::textoEnriquecido()
{
    TMemoryTable datos = Filas(44);
    QStringList lineas;
    for (int i = 1; i <= 20; ++i)
        lineas << QStringLiteral("Línea %1 de la observación").arg(i);
    datos.Rows[1][2] = lineas.mid(0, 5).join('\n'); // row 2 stretches on page 1
    datos.Rows[41][2] = lineas.join('\n');        // row 42 does not fit on page 1
    datos.Rows[42][2] = QString(lineas.join('\n') + '\n').repeated(4); // taller than a page
    TReport r = Informe_Listado(datos);
    TReportBand &detalle = *r.Band(QStringLiteral("Detalle"));
    detalle.Elements[2] = Rich_Text_Element(QStringLiteral("Memo"), QStringLiteral("Filas.TEXTO"), 70, 1, 60, 3);

    // After-print is told of every part with the part's own top and bottom.
    std::vector<QRect> avisadas;
    detalle.AfterPrint = [&](TBandEvent &ev) { avisadas.push_back(QRect(ev.X, ev.Top, 1900, ev.Y - ev.Top)); };

    TRegistroSalida salida;
    const int paginas = Generate_Report(r, salida);
    const auto d = salida.De(QStringLiteral("Detalle"));
    QCOMPARE(avisadas.size(), d.size());
    for (size_t i = 0; i < d.size(); ++i)
        QCOMPARE(avisadas[i], d[i].Rect);
    QCOMPARE(d[0].Rect.height(), 50);
    // Five lines of 9 points are at least 5 x 9/72 inch tall.
    QVERIFY2(d[1].Rect.height() >= 5 * 9 * 254 / 72, qPrintable(QString::number(d[1].Rect.height())));
    QCOMPARE(d[2].Rect.top(), d[1].Rect.bottom() + 1);
    // Row 42 goes to the top of page 2; the rows before it stayed on page 1.
    QCOMPARE(d[40].Page, 1);
    QCOMPARE(d[41].Page, 2);
    QCOMPARE(d[41].Rect.top(), 300);
    // The band taller than a page starts under row 42 and continues over the
    // next pages, cut between lines, each part under the page's headers; the
    // parts hold the whole memo, and the next row follows the last part.
    const int partes = int(d.size()) - 44 + 1;
    QVERIFY2(partes >= 2, qPrintable(QString::number(partes)));
    QCOMPARE(d[42].Page, 2);
    QCOMPARE(d[42].Rect.top(), d[41].Rect.bottom() + 1);
    QStringList memo;
    for (int i = 0; i < partes; ++i) {
        const TPrintedBand &parte = d[size_t(42 + i)];
        QCOMPARE(parte.Page, 2 + i);
        if (i > 0)
            QCOMPARE(parte.Rect.top(), 300);
        QVERIFY2(parte.Rect.bottom() <= 2869, qPrintable(QString::number(parte.Rect.bottom())));
        for (const TPrintedText &t : parte.Texts)
            if (t.Rich)
                memo << t.Text;
        QCOMPARE(memo.size(), i + 1);
    }
    QCOMPARE(memo.join('\n'), datos.Rows[42][2].toString());
    const TPrintedBand &ultima = d[size_t(42 + partes - 1)];
    QCOMPARE(d[size_t(42 + partes)].Page, ultima.Page);
    QCOMPARE(d[size_t(42 + partes)].Rect.top(), ultima.Rect.bottom() + 1);
    QCOMPARE(paginas, ultima.Page);
}

void TstPaginacion::encoger_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<Qt::Alignment>("alineacion");
    QTest::addColumn<bool>("encoge");
    QTest::newRow("cabe") << QStringLiteral("1234ABC") << Qt::Alignment(Qt::AlignLeft) << false;
    QTest::newRow("no cabe, izquierda") << QStringLiteral("WWWWWWWWWWWW") << Qt::Alignment(Qt::AlignLeft) << true;
    QTest::newRow("no cabe, derecha") << QStringLiteral("999.999.999,99") << Qt::Alignment(Qt::AlignRight) << true;
}

void TstPaginacion::encoger()
{
    // A text wider than its box is drawn smaller, whole and inside the box;
    // one that fits keeps its size. The ink of the row tells, at 4 px per mm.
    QFETCH(QString, texto);
    QFETCH(Qt::Alignment, alineacion);
    QFETCH(bool, encoge);
    TMemoryTable datos;
    datos.Fields = QStringList{QStringLiteral("V")};
    datos.Rows.push_back(QVariantList{texto});
    datos.Rows.push_back(QVariantList{texto});
    TReport r = Informe_Listado(datos);
    TReportBand &detalle = *r.Band(QStringLiteral("Detalle"));
    detalle.Frame = TFrame();
    detalle.Height = 10;
    TReportElement e = Field_Element(QStringLiteral("V"), QStringLiteral("Filas.V"), 40, 1, 20);
    e.Alignment = alineacion;
    e.Font = Report_Font(QStringLiteral("Arial"), 10, true);
    detalle.Elements = {e};
    // The first row as given, the second with the option.
    int fila = 0;
    detalle.BeforePrint = [&fila](TBandEvent &ev) { ev.Band.Elements[0].ShrinkToFit = ++fila == 2; };
    TRegistroSalida salida;
    Generate_Report(r, salida);
    const QImage pagina = Pintar(salida.Paginas.at(0), r.Page_Size(), 4);
    const auto filas = salida.De(QStringLiteral("Detalle"));
    auto tinta = [&](const TPrintedBand &b) {
        QRect t;
        for (int y = b.Rect.top() * 4 / 10; y < (b.Rect.bottom() + 1) * 4 / 10; ++y)
            for (int x = 0; x < pagina.width(); ++x)
                if (qGray(pagina.pixel(x, y)) < 160)
                    t |= QRect(x, y, 1, 1);
        return t;
    };
    const QRect tal = tinta(filas.at(0)), encogido = tinta(filas.at(1));
    const int izq = (100 + 400) * 4 / 10, der = (100 + 600) * 4 / 10;
    QVERIFY(!encogido.isEmpty());
    QVERIFY2(encogido.left() >= izq - 1 && encogido.right() <= der + 1,
             qPrintable(QStringLiteral("%1..%2").arg(encogido.left()).arg(encogido.right())));
    if (encoge) {
        QVERIFY(tal.width() > der - izq);
        QVERIFY(encogido.height() < tal.height());
        // Still the whole text: nearly the box's width, not a clipped part of it.
        QVERIFY2(encogido.width() > (der - izq) * 9 / 10, qPrintable(QString::number(encogido.width())));
    } else {
        QCOMPARE(encogido.size(), tal.size());
    }
}

void TstPaginacion::textos_data()
{
    QTest::addColumn<QVariantList>("valores");
    QTest::addColumn<QString>("mascara");
    QTest::addColumn<QString>("esperado");
    const QString km = QStringLiteral("###.###,##");
    const QString importe = QStringLiteral("###.###.###,##");
    QTest::newRow("km 123456") << QVariantList{123456} << km << "123.456";
    QTest::newRow("km 0 no se ve") << QVariantList{0} << km << "";
    QTest::newRow("importe 1234,5") << QVariantList{1234.5} << importe << "1.234,5";
    QTest::newRow("importe 0 no se ve") << QVariantList{0.0} << importe << "";
    QTest::newRow("lectura") << QVariantList{7500} << "###,###" << "7.500";
    QTest::newRow("sin mascara") << QVariantList{1234.5} << "" << "1234,5";
    QTest::newRow("numero vacio es cero") << QVariantList{QVariant(), 5} << "" << "0";
    QTest::newRow("numero vacio con mascara") << QVariantList{QVariant(), 5} << km << "";
    QTest::newRow("fecha") << QVariantList{QDate(2024, 3, 5)} << "" << "05/03/2024";
    QTest::newRow("fecha vacia") << QVariantList{QVariant(), QDate(2024, 3, 5)} << "" << "";
    QTest::newRow("texto") << QVariantList{QStringLiteral("Hola, \"mundo\"")} << km << "Hola, \"mundo\"";
}

void TstPaginacion::textos()
{
    QFETCH(QVariantList, valores);
    QFETCH(QString, mascara);
    QFETCH(QString, esperado);
    TMemoryTable datos;
    datos.Fields = QStringList{QStringLiteral("V")};
    for (const QVariant &v : valores)
        datos.Rows.push_back(QVariantList{v});
    TReport r = Informe_Listado(datos);
    TReportBand &detalle = *r.Band(QStringLiteral("Detalle"));
    detalle.Elements = {Field_Element(QStringLiteral("V"), QStringLiteral("Filas.V"), 2, 1, 30, 0, mascara)};
    TRegistroSalida salida;
    Generate_Report(r, salida);
    QCOMPARE(salida.De(QStringLiteral("Detalle")).at(0).Texts.at(0).Text, esperado);
}

void TstPaginacion::colocacion()
{
    const TMemoryTable datos = Filas(1);
    TReport r = Informe_Listado(datos);
    TReportBand &detalle = *r.Band(QStringLiteral("Detalle"));
    TReportElement derecha = Text_Element(QStringLiteral("Derecha"), QStringLiteral("Kilómetros"), 100, 1, 40);
    derecha.Alignment = Qt::AlignRight;
    derecha.AutoSize = true;
    TReportElement centro = Text_Element(QStringLiteral("Centro"), QStringLiteral("Centrado"), 0, 1);
    centro.CenterInBand = true;
    TReportElement izquierda = Text_Element(QStringLiteral("Izquierda"), QStringLiteral("Kilómetros"), 10, 1);
    detalle.Elements = {derecha, centro, izquierda};
    TRegistroSalida salida;
    Generate_Report(r, salida);
    const TPrintedBand b = salida.De(QStringLiteral("Detalle")).at(0);
    const QRect rd = b.Texts.at(0).Rect, rc = b.Texts.at(1).Rect, ri = b.Texts.at(2).Rect;
    // Auto-size keeps the aligned edge: the right one at 140 mm, the left one at 10 mm.
    QVERIFY(qAbs(rd.right() + 1 - (100 + 1400)) <= 1);
    QCOMPARE(ri.left(), 100 + 100);
    QCOMPARE(rd.width(), ri.width());
    QVERIFY(ri.width() > 100 && ri.width() < 300);
    // Centred across the band: the band runs from 100 to 2000.
    QVERIFY(qAbs((rc.left() + rc.right() + 1) / 2 - 1050) <= 1);
    QCOMPARE(rd.top(), b.Rect.top() + 10);
}

void TstPaginacion::cabeceraPrimeraPagina()
{
    const TMemoryTable datos = Filas(60);
    TReport r = Informe_Listado(datos);
    r.PageHeaderOnFirstPage = false;
    TRegistroSalida salida;
    QCOMPARE(Generate_Report(r, salida), 2);
    QCOMPARE(salida.Nombres(1).mid(0, 2), (QStringList{"Columnas", "Detalle"}));
    QCOMPARE(salida.De(QStringLiteral("Columnas")).at(0).Rect.top(), 100);
    QCOMPARE(salida.Nombres(2).mid(0, 3), (QStringList{"Cabecera", "Hueco", "Columnas"}));
}

void TstPaginacion::vacio_data()
{
    QTest::addColumn<bool>("imprimirVacio");
    QTest::addColumn<QStringList>("bandas");
    QTest::newRow("se imprime") << true << QStringList{"Cabecera", "Hueco", "Columnas", "Resumen"};
    QTest::newRow("pagina en blanco") << false << QStringList{};
}

void TstPaginacion::vacio()
{
    QFETCH(bool, imprimirVacio);
    QFETCH(QStringList, bandas);
    const TMemoryTable datos = Filas(0);
    TReport r = Informe_Listado(datos);
    r.PrintIfEmpty = imprimirVacio;
    TRegistroSalida salida;
    QCOMPARE(Generate_Report(r, salida), 1);
    QCOMPARE(salida.Nombres(1), bandas);
    QCOMPARE(int(salida.Paginas.size()), 1);
}

void TstPaginacion::origenDesconocido_data()
{
    QTest::addColumn<QString>("expresion");
    QTest::newRow("origen") << "Nadie.NUM";
    QTest::newRow("campo") << "Filas.NADA";
}

void TstPaginacion::origenDesconocido()
{
    QFETCH(QString, expresion);
    const TMemoryTable datos = Filas(3);
    TReport r = Informe_Listado(datos);
    r.Band(QStringLiteral("Detalle"))->Elements[0].Expression = expresion;
    TRegistroSalida salida;
    const auto e = Capturar<EInOutError>([&] {
        Generate_Report(r, salida);
    });
    QVERIFY2(e, "no error");
    QVERIFY2(e->message().contains(expresion.section('.', 0, 0)), qPrintable(e->message()));
}

void TstPaginacion::numeroDePagina_data()
{
    QTest::addColumn<int>("filas");
    QTest::addColumn<QString>("patron");
    QTest::addColumn<QStringList>("textos");    // one per page
    QTest::addColumn<int>("generaciones");      // runs of BeforeRun

    QTest::newRow("de tres") << 120 << "Página %1 de %2"
                             << QStringList{"Página 1 de 3", "Página 2 de 3", "Página 3 de 3"} << 2;
    QTest::newRow("una sola") << 5 << "Página %1 de %2" << QStringList{"Página 1 de 1"} << 2;
    QTest::newRow("sin filas") << 0 << "Página %1 de %2" << QStringList{"Página 1 de 1"} << 2;
    QTest::newRow("total primero") << 60 << "%2 páginas: %1" << QStringList{"2 páginas: 1", "2 páginas: 2"} << 2;
    QTest::newRow("sin total, una pasada") << 120 << "Página %1"
                                           << QStringList{"Página 1", "Página 2", "Página 3"} << 1;
}

// The number sits in a child of the page header: the count is found wherever
// the pattern is, and only the pass that knows it reaches the output.
void TstPaginacion::numeroDePagina()
{
    QFETCH(int, filas);
    QFETCH(QString, patron);
    QFETCH(QStringList, textos);
    QFETCH(int, generaciones);
    const TMemoryTable datos = Filas(filas);
    TReport r = Informe_Listado(datos);
    r.Band(QStringLiteral("Hueco"))->Elements.push_back(Page_Number_Element(QStringLiteral("Pagina"), patron, 150, 0, 40));
    int antes = 0;
    r.BeforeRun = [&antes](TReport &) { ++antes; };
    TRegistroSalida salida;
    QCOMPARE(Generate_Report(r, salida), int(textos.size()));
    QCOMPARE(int(salida.Paginas.size()), int(textos.size()));
    QCOMPARE(antes, generaciones);
    QStringList vistos;
    for (const TPrintedBand &b : salida.De(QStringLiteral("Hueco")))
        vistos << b.Texts.at(0).Text;
    QCOMPARE(vistos, textos);
    QCOMPARE(salida.Cuantas(QStringLiteral("Detalle")), filas);
}

// An output that stops at once (a preview closed while the pages were being
// counted) gets no page at all.
void TstPaginacion::numeroDePaginaParado()
{
    struct TParada : TRegistroSalida
    {
        int Preguntas = 0;
        bool Stop() override { return ++Preguntas > 0; }
    };
    const TMemoryTable datos = Filas(200);
    TReport r = Informe_Listado(datos);
    r.Band(QStringLiteral("Cabecera"))
        ->Elements.push_back(Page_Number_Element(QStringLiteral("Pagina"), QStringLiteral("%1/%2"), 150, 2, 40));
    TParada salida;
    QCOMPARE(Generate_Report(r, salida), 0);
    QCOMPARE(salida.Preguntas, 1);
    QVERIFY(salida.Paginas.empty());
    QVERIFY(salida.Bandas.empty());
}

QTEST_MAIN(TstPaginacion)
#include "tst_paginacion.moc"
