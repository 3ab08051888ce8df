// The maintenance report made from small fleets: the rows of every operation,
// the headers on every page, the summary's due readings with their colours,
// and long names that shrink instead of running into their neighbours.
#include "FlotaInformes.h"
#include "InformeMantto.h"
#include "PrepararInformes.h"
#include "Tareas.h"

#include <QtTest>

namespace {

const QString Placa = QStringLiteral("1234ABC");
const QColor Granate(128, 0, 0);
const QColor Azul_Marino(0, 0, 128);

QDate d(int dia, int mes = 1, int anyo = 2024)
{
    return QDate(anyo, mes, dia);
}

// The report of the current vehicle, prepared as the dialog prepares it (the
// form lives on: the bands recorded point into it).
struct Generado
{
    std::unique_ptr<TFormInformeMantto> forma;
    TRegistroSalida salida;
    QSize pagina;
    int paginas = 0;
};

void Generar(TModuloDatos &m, Generado &g)
{
    QVERIFY(Preparar_Informe_Mantto(m));
    tVehiculoInforme vehiculo(m);
    g.forma = Crear_Informe_Mantto();
    g.paginas = Generate_Report(g.forma->Informe(), g.salida);
    g.pagina = g.forma->Informe().Page_Size();
}

QStringList Campos(std::initializer_list<int> tareas)
{
    QStringList r;
    for (int t : tareas)
        r << Tareas()[size_t(t)].Campo;
    return r;
}

} // namespace

class TstInformeMantto : public QObject
{
    Q_OBJECT
private slots:
    void proximos_data();
    void proximos();
    void variasPaginas();
    void nombresLargos();
};

void TstInformeMantto::proximos_data()
{
    // Per task: "G" maroon (overdue), "A" navy, "-" empty; the readings follow.
    QTest::addColumn<bool>("engrase");
    QTest::addColumn<QString>("colores");
    QTest::newRow("un engrase nunca hecho") << false << "GGGGGGAAAAAA-";
    QTest::newRow("las trece tareas") << true << "GGGGGGAAAAAAA";
}

void TstInformeMantto::proximos()
{
    QFETCH(bool, engrase);
    QFETCH(QString, colores);
    FlotaInformes f;
    QMap<QString, int> intervalos;
    for (const tTarea &t : Tareas())
        intervalos.insert(t.Campo, 10000);
    f.datos.addInterval(f.marca, intervalos);
    f.datos.addVehicle(Placa, f.marca, f.modelo, 30000);
    // Due at 20.000 (overdue), 30.000 (equal to the reading: not overdue) and 35.000.
    f.datos.addMaintenance(Placa, d(1), 10000, Campos({0, 1, 2, 3, 4, 5}));
    f.datos.addMaintenance(Placa, d(2), 20000, Campos({6, 7, 8, 9, 10}));
    f.datos.addMaintenance(Placa, d(3), 25000, engrase ? Campos({11, 12}) : Campos({11}));
    f.abrir();
    QVERIFY(f.elegir(Placa));
    Generado g;
    Generar(*f.modulo, g);

    const auto resumen = g.salida.De(QStringLiteral("QRBand1"));
    QCOMPARE(resumen.size(), size_t(1));
    const QImage img = Pintar(g.salida.Paginas.at(size_t(resumen[0].Page - 1)), g.pagina, PorMm);
    QCOMPARE(resumen[0].Texts.at(0).Text, QStringLiteral("Próximo Mantto:"));
    const QStringList lecturas{"20.000", "20.000", "20.000", "20.000", "20.000", "20.000", "30.000",
                               "30.000", "30.000", "30.000", "30.000", "35.000", "35.000"};
    for (int i = 0; i < Num_Tareas; ++i) {
        const TPrintedText &t = resumen[0].Texts.at(1 + i);
        const QString tarea = Tareas()[size_t(i)].Campo;
        const QChar c = colores.at(i);
        QCOMPARE(t.Text, c == '-' ? QString() : lecturas[i]);
        if (c == '-')
            continue;
        const int granate = Pixeles_De(img, t.Rect, Granate), azul = Pixeles_De(img, t.Rect, Azul_Marino);
        QVERIFY2(c == 'G' ? granate > 20 && azul == 0 : azul > 20 && granate == 0,
                 qPrintable(QStringLiteral("%1: %2 granate, %3 azul").arg(tarea).arg(granate).arg(azul)));
        QVERIFY2(t.Alignment & Qt::AlignRight, qPrintable(tarea));
    }
}

void TstInformeMantto::variasPaginas()
{
    // More operations than a page holds: every page starts with the title, the
    // gap, the vehicle and the column titles; the summary comes once, after the last row.
    FlotaInformes f;
    f.datos.addVehicle(Placa, f.marca, f.modelo, 123456);
    const int operaciones = 60;
    for (int i = 0; i < operaciones; ++i)
        f.datos.addMaintenance(Placa, d(1).addDays(i), 1000 * (i + 1), i % 2 ? Campos({0, 12}) : Campos({3}));
    f.abrir();
    QVERIFY(f.elegir(Placa));
    Generado g;
    Generar(*f.modulo, g);

    QVERIFY2(g.paginas >= 3, qPrintable(QString::number(g.paginas)));
    const QStringList cabecera{"PageHeaderBand1", "ChildBand1", "ChildBand3", "ChildBand4"};
    for (int p = 1; p <= g.paginas; ++p) {
        const QStringList bandas = g.salida.Nombres(p);
        QCOMPARE(bandas.mid(0, 4), cabecera);
        QCOMPARE(bandas.count(QStringLiteral("QRBand1")), p == g.paginas ? 1 : 0);
    }
    QCOMPARE(g.salida.Nombres(g.paginas).constLast(), QStringLiteral("QRBand1"));
    QCOMPARE(g.salida.Cuantas(QStringLiteral("QRSubDetail1")), operaciones);
    // The summary sits right under the last row.
    const auto filas = g.salida.De(QStringLiteral("QRSubDetail1"));
    QCOMPARE(g.salida.De(QStringLiteral("QRBand1")).at(0).Rect.top(), filas.back().Rect.bottom() + 1);

    const QStringList vehiculo = Textos(g.salida.De(QStringLiteral("ChildBand3")).at(1));
    QCOMPARE(vehiculo, (QStringList{Placa, "SEAT", "IBIZA", "Kilómetros actuales:", "123.456"}));
    QCOMPARE(Textos(g.salida.De(QStringLiteral("ChildBand4")).at(0)),
             (QStringList{"FECHA", "KLMTRS", "C/ACEITE", "F/ACEITE", "F/AIRE", "F/COMBUS", "L/REFRIG", "L/FRENOS",
                          "P/DELANT.", "P/TRAS.", "ATF/CAJA", "ATF/CONV.", "ATF/DIF.", "BUJIAS", "ENGRASE"}));
    // Rows in date order, with the reading grouped and the marks as stored.
    QStringList primera{"01/01/2024", "1.000", "", "", "", "X"};
    for (int i = 4; i < Num_Tareas; ++i)
        primera << QString();
    QCOMPARE(Textos(filas.at(0)), primera);
    QStringList segunda{"02/01/2024", "2.000", "X"};
    for (int i = 1; i < Num_Tareas - 1; ++i)
        segunda << QString();
    segunda << QStringLiteral("X");
    QCOMPARE(Textos(filas.at(1)), segunda);
    QCOMPARE(Textos(filas.back()).mid(0, 2), (QStringList{"29/02/2024", "60.000"}));
}

void TstInformeMantto::nombresLargos()
{
    // The widest plate, brand and model the tables hold stay inside their
    // places on the vehicle line, whole: the gaps between them stay blank and
    // the PDF holds every character.
    const QString placa = QStringLiteral("WWWWWWWWWWWW"), marca(20, QLatin1Char('W')), modelo(20, QLatin1Char('M'));
    FlotaInformes f(marca, modelo);
    f.datos.addVehicle(placa, f.marca, f.modelo, 1234567);
    f.datos.addMaintenance(placa, d(1), 1000, Campos({0}));
    f.abrir();
    QVERIFY(f.elegir(placa));
    Generado g;
    Generar(*f.modulo, g);
    const TPrintedBand linea = g.salida.De(QStringLiteral("ChildBand3")).at(0);
    QCOMPARE(Textos(linea).mid(0, 3), (QStringList{placa, marca, modelo}));
    const QImage img = Pintar(g.salida.Paginas.at(0), g.pagina, PorMm);
    auto hayTinta = [&](double desdeMm, double hastaMm) {
        for (int x = Px(50 + ReportUnits::FromMm(desdeMm)); x <= Px(50 + ReportUnits::FromMm(hastaMm)); ++x)
            for (int y = Px(linea.Rect.top()) + 2; y < Px(linea.Rect.bottom()) - 2; ++y)
                if (Tinta(img, x, y, 160))
                    return true;
        return false;
    };
    // Boxes: plate 3.4..29.0, brand 33.9.., model 74.5.., then "Kilómetros actuales:" at 125.3.
    QVERIFY(hayTinta(4, 28));
    QVERIFY(!hayTinta(29.3, 33.6));
    QVERIFY(hayTinta(34, 72));
    QVERIFY(!hayTinta(73.8, 74.2));
    QVERIFY(hayTinta(75, 123));
    QVERIFY(!hayTinta(124.6, 125.0));

    bool hay = false;
    const auto forma = Crear_Informe_Mantto();
    QVERIFY(Preparar_Informe_Mantto(*f.modulo));
    tVehiculoInforme vehiculo(*f.modulo);
    const QString texto = Texto_Pdf(forma->Informe(), &hay);
    if (!hay)
        QSKIP("pdftotext no está instalado");
    for (const QString &s : {placa, marca, modelo, QStringLiteral("TAREAS DE MANTENIMIENTO"),
                             QStringLiteral("1.234.567"), QStringLiteral("Próximo Mantto:")})
        QVERIFY2(texto.contains(s), qPrintable(s + QStringLiteral(" no está en:\n") + texto));
}

QTEST_MAIN(TstInformeMantto)
#include "tst_informe_mantto.moc"
