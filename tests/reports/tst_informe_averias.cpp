// The breakdowns report made from small fleets: which rows print, the column
// rules over each row's real height (on a new page too), long texts that go
// on over pages, and the total of every run.
#include "FlotaInformes.h"
#include "InformeAverias.h"
#include "PrepararInformes.h"

#include <QtTest>

namespace {

const QString Placa = QStringLiteral("1234ABC");

QDate d(int dia, int mes = 3, int anyo = 2024)
{
    return QDate(anyo, mes, dia);
}

// The report of the current vehicle (its pending breakdowns, or all of them),
// prepared as the dialog prepares it; the form lives on for the bands recorded.
struct Generado
{
    std::unique_ptr<TFormInformeAverias> forma;
    TRegistroSalida salida;
    QSize pagina;
    int paginas = 0;

    QImage imagen(int p) const { return Pintar(salida.Paginas.at(size_t(p - 1)), pagina, PorMm); }
};

void Generar(TModuloDatos &m, Generado &g, bool historial = true)
{
    QVERIFY(Preparar_Informe_Averias(m, historial));
    tVehiculoInforme vehiculo(m);
    g.forma = Crear_Informe_Averias();
    g.paginas = Generate_Report(g.forma->Informe(), g.salida);
    g.pagina = g.forma->Informe().Page_Size();
}

// x of the rules (report units, on the page): the four column boundaries.
constexpr int Izquierda = 100;
int Regla_X(double mm)
{
    return Izquierda + ReportUnits::FromMm(mm);
}
const int R1 = Regla_X(19.3), R2 = Regla_X(37.9), R3 = Regla_X(57.4), R7 = Regla_X(122.6);

QString Rich(const TPrintedBand &b, int n)
{
    int i = 0;
    for (const TPrintedText &t : b.Texts)
        if (t.Rich && i++ == n)
            return t.Text;
    return QStringLiteral("<sin texto>");
}

} // namespace

class TstInformeAverias : public QObject
{
    Q_OBJECT
private slots:
    void filas();
    void total_data();
    void total();
    void totalEnCadaEjecucion();
    void reglas();
    void reglasEnPaginaNueva();
    void textoDeVariasPaginas();
    void pdf();
};

void TstInformeAverias::filas()
{
    // Without materials and amount only the breakdown's row prints; with an
    // amount, or with materials, the materials row follows it.
    FlotaInformes f;
    f.datos.addVehicle(Placa, f.marca, f.modelo, 45678);
    f.addBreakdown(Placa, d(1), QStringLiteral("Pinchazo"), QStringLiteral("Parche"), QString(), 0, true, 1500);
    f.addBreakdown(Placa, d(2), QStringLiteral("Faro roto"), QString(), QString(), 1234.5);
    f.addBreakdown(Placa, d(3), QStringLiteral("Ruido"), QString(), QStringLiteral("Dos juntas"), 0);
    f.abrir();
    QVERIFY(f.elegir(Placa));
    Generado g;
    Generar(*f.modulo, g);
    QCOMPARE(g.paginas, 1);
    QCOMPARE(g.salida.Nombres(1),
             (QStringList{"PageHeaderBand1", "ChildBand1", "QRGroup1", "ChildBand2", "QRSubDetail1", "QRSubDetail1",
                          "ChildBand4", "QRSubDetail1", "ChildBand4", "SummaryBand1"}));
    QCOMPARE(Textos(g.salida.De(QStringLiteral("QRGroup1")).at(0)),
             (QStringList{Placa, "SEAT", "IBIZA", "Kilómetros actuales:", "45.678"}));
    QCOMPARE(Textos(g.salida.De(QStringLiteral("ChildBand2")).at(0)),
             (QStringList{"ENTRADA", "SALIDA", "KMTROS", "AVERIA", "REPARACIÓN"}));
    const auto filas = g.salida.De(QStringLiteral("QRSubDetail1"));
    QCOMPARE(Textos(filas.at(0)), (QStringList{"01/03/2024", "03/03/2024", "1.500", "Pinchazo", "Parche"}));
    // The second row follows the first directly.
    QCOMPARE(filas.at(1).Rect.top(), filas.at(0).Rect.bottom() + 1);
    const auto materiales = g.salida.De(QStringLiteral("ChildBand4"));
    QCOMPARE(Textos(materiales.at(0)), (QStringList{"MATERIALES", "", "Importe:", "1.234,5"}));
    QCOMPARE(Textos(materiales.at(1)), (QStringList{"MATERIALES", "Dos juntas", "Importe:", ""}));
    QCOMPARE(Textos(g.salida.De(QStringLiteral("SummaryBand1")).at(0)), (QStringList{"Importe Total", "1.234,50"}));
}

void TstInformeAverias::total_data()
{
    QTest::addColumn<QList<double>>("importes");
    QTest::addColumn<QString>("total");
    QTest::newRow("ninguno") << QList<double>{} << "0,00";
    QTest::newRow("uno") << QList<double>{1234.5} << "1.234,50";
    QTest::newRow("varios") << QList<double>{0.1, 0.2, 999999.7} << "1.000.000,00";
}

void TstInformeAverias::total()
{
    QFETCH(QList<double>, importes);
    QFETCH(QString, total);
    FlotaInformes f;
    f.datos.addVehicle(Placa, f.marca, f.modelo, 1000);
    f.addBreakdown(Placa, d(1), QStringLiteral("Sin importe"), QString(), QString(), 0);
    for (int i = 0; i < importes.size(); ++i)
        f.addBreakdown(Placa, d(2 + i), QStringLiteral("Avería"), QString(), QString(), importes[i]);
    f.abrir();
    QVERIFY(f.elegir(Placa));
    Generado g;
    Generar(*f.modulo, g);
    QCOMPARE(g.salida.De(QStringLiteral("SummaryBand1")).at(0).Texts.at(1).Text, total);
}

void TstInformeAverias::totalEnCadaEjecucion()
{
    // The preview, then a print or an export, each generate the report again:
    // each prints the same total, not the sum of the runs.
    FlotaInformes f;
    f.datos.addVehicle(Placa, f.marca, f.modelo, 1000);
    f.addBreakdown(Placa, d(1), QStringLiteral("Avería"), QString(), QString(), 1234.5);
    f.abrir();
    QVERIFY(f.elegir(Placa));
    QVERIFY(Preparar_Informe_Averias(*f.modulo, false));
    tVehiculoInforme vehiculo(*f.modulo);
    const auto forma = Crear_Informe_Averias();
    forma->Informe().Preview(); // without a window: generates and returns
    for (int vez = 0; vez < 2; ++vez) {
        TRegistroSalida salida;
        Generate_Report(forma->Informe(), salida);
        QCOMPARE(salida.De(QStringLiteral("SummaryBand1")).at(0).Texts.at(1).Text, QStringLiteral("1.234,50"));
    }
}

void TstInformeAverias::reglas()
{
    // A row grown by its long texts has its four column rules over its whole
    // height; the materials row under it only the two beside the materials.
    FlotaInformes f;
    f.datos.addVehicle(Placa, f.marca, f.modelo, 1000);
    f.addBreakdown(Placa, d(1), Lineas(12), Lineas(3, QStringLiteral("de la reparación")), Lineas(6, QStringLiteral("material")),
                   99.95);
    f.abrir();
    QVERIFY(f.elegir(Placa));
    Generado g;
    Generar(*f.modulo, g);
    const TPrintedBand fila = g.salida.De(QStringLiteral("QRSubDetail1")).at(0);
    const TPrintedBand materiales = g.salida.De(QStringLiteral("ChildBand4")).at(0);
    QVERIFY2(fila.Rect.height() > 3 * ReportUnits::FromMm(11.9), qPrintable(QString::number(fila.Rect.height())));
    QVERIFY(materiales.Rect.height() > ReportUnits::FromMm(13.5));
    QCOMPARE(Rich(fila, 0), Lineas(12));
    QCOMPARE(Rich(materiales, 0), Lineas(6, QStringLiteral("material")));
    const QImage img = g.imagen(1);
    for (int x : {R1, R2, R3, R7})
        QVERIFY2(Regla(img, x, fila.Rect.top(), fila.Rect.bottom()), qPrintable(QString::number(x)));
    for (int x : {R3, R7})
        QVERIFY2(Regla(img, x, materiales.Rect.top(), materiales.Rect.bottom()), qPrintable(QString::number(x)));
    for (int x : {R1, R2}) {
        const int medio = (materiales.Rect.top() + materiales.Rect.bottom()) / 2;
        QVERIFY2(!Tinta(img, Px(x), Px(medio)), qPrintable(QString::number(x)));
    }
}

void TstInformeAverias::reglasEnPaginaNueva()
{
    // A row that starts a new page has its rules there, from its own top; the
    // column titles and the vehicle print once, on the first page.
    FlotaInformes f;
    f.datos.addVehicle(Placa, f.marca, f.modelo, 1000);
    for (int i = 0; i < 30; ++i)
        f.addBreakdown(Placa, d(1).addDays(i), Lineas(4), QStringLiteral("Reparada"), QString(), 0);
    f.abrir();
    QVERIFY(f.elegir(Placa));
    Generado g;
    Generar(*f.modulo, g);
    QVERIFY(g.paginas >= 2);
    for (int p = 2; p <= g.paginas; ++p) {
        const QStringList bandas = g.salida.Nombres(p);
        QVERIFY(!bandas.contains(QStringLiteral("QRGroup1")) && !bandas.contains(QStringLiteral("ChildBand2")));
    }
    for (int p = 1; p <= g.paginas; ++p) {
        const QImage img = g.imagen(p);
        for (const TPrintedBand &fila : g.salida.De(QStringLiteral("QRSubDetail1"))) {
            if (fila.Page != p)
                continue;
            for (int x : {R1, R2, R3, R7})
                QVERIFY2(Regla(img, x, fila.Rect.top(), fila.Rect.bottom()),
                         qPrintable(QStringLiteral("página %1, fila en %2, regla en %3").arg(p).arg(fila.Rect.top()).arg(x)));
        }
    }
}

void TstInformeAverias::textoDeVariasPaginas()
{
    // A fault text longer than a page is not cut: it goes on over the next
    // pages, each part with its frame and its rules, and the parts hold it all.
    FlotaInformes f;
    f.datos.addVehicle(Placa, f.marca, f.modelo, 1000);
    f.addBreakdown(Placa, d(1), QStringLiteral("Corta"), QString(), QString(), 0);
    const QString larga = Lineas(150);
    f.addBreakdown(Placa, d(2), larga, QStringLiteral("Reparada"), QString(), 10);
    f.abrir();
    QVERIFY(f.elegir(Placa));
    Generado g;
    Generar(*f.modulo, g);
    const auto filas = g.salida.De(QStringLiteral("QRSubDetail1"));
    QVERIFY2(filas.size() >= 3, qPrintable(QString::number(filas.size())));
    QStringList partes;
    for (size_t i = 1; i < filas.size(); ++i) {
        const TPrintedBand &parte = filas[i];
        QCOMPARE(parte.Page, int(i));
        QVERIFY(parte.Rect.bottom() < g.pagina.height() - ReportUnits::FromMm(10));
        partes << Rich(parte, 0);
        const QImage img = g.imagen(parte.Page);
        for (int x : {R1, R2, R3, R7})
            QVERIFY2(Regla(img, x, parte.Rect.top(), parte.Rect.bottom()),
                     qPrintable(QStringLiteral("parte %1, regla en %2").arg(i).arg(x)));
    }
    QCOMPARE(partes.join(QLatin1Char('\n')), larga);
    // The materials row and the summary follow the last part.
    const TPrintedBand materiales = g.salida.De(QStringLiteral("ChildBand4")).at(0);
    QCOMPARE(materiales.Page, filas.back().Page);
    QCOMPARE(materiales.Rect.top(), filas.back().Rect.bottom() + 1);
}

void TstInformeAverias::pdf()
{
    // The PDF holds the vehicle, the amounts and the very last line of a long text.
    FlotaInformes f;
    f.datos.addVehicle(Placa, f.marca, f.modelo, 1000);
    f.addBreakdown(Placa, d(1), Lineas(90), QStringLiteral("Reparada"), QStringLiteral("Aceite"), 1234.5);
    f.abrir();
    QVERIFY(f.elegir(Placa));
    QVERIFY(Preparar_Informe_Averias(*f.modulo, true));
    tVehiculoInforme vehiculo(*f.modulo);
    const auto forma = Crear_Informe_Averias();
    bool hay = false;
    const QString texto = Texto_Pdf(forma->Informe(), &hay);
    if (!hay)
        QSKIP("pdftotext no está instalado");
    for (const QString &s : {QStringLiteral("LISTADO DE AVERIAS"), Placa, QStringLiteral("1.234,5"),
                             QStringLiteral("1.234,50"), QStringLiteral("Línea 90 de la avería"), QStringLiteral("Aceite")})
        QVERIFY2(texto.contains(s), qPrintable(s + QStringLiteral(" no está en:\n") + texto));
}

QTEST_MAIN(TstInformeAverias)
#include "tst_informe_averias.moc"
