// The printed form of the fleet's overdue and coming tasks, generated without a
// window: which vehicles and tasks it lists, in what order, and the page
// numbers with the page count on every page.
#include "InformeVencimientos.h"
#include "InformesPrueba.h"
#include "Pagination.h"

#include <QtTest>

namespace {

// A vehicle at `km` with the due readings `proximos` (task index, reading).
tVehiculoVencimientos Vehiculo(const QString &matricula, qint32 km, std::initializer_list<std::pair<int, qint32>> proximos)
{
    tVehiculoVencimientos v;
    v.Matricula = matricula;
    v.Marca = QStringLiteral("SEAT");
    v.Modelo = QStringLiteral("IBIZA");
    v.Km_Actuales = km;
    for (const auto &[t, p] : proximos)
        v.Km_Proximo[std::size_t(t)] = p;
    return v;
}

// The texts of every printing of band `nombre`, each joined by "|".
QStringList Textos(const TRegistroSalida &s, const QString &nombre)
{
    QStringList r;
    for (const TPrintedBand &b : s.De(nombre)) {
        QStringList t;
        for (const TPrintedText &x : b.Texts)
            t << x.Text;
        r << t.join(QLatin1Char('|'));
    }
    return r;
}

} // namespace

class TstInformeVencimientos : public QObject
{
    Q_OBJECT

private slots:
    void contenido_data();
    void contenido();
    void paginas();
};

void TstInformeVencimientos::contenido_data()
{
    QTest::addColumn<int>("margen");
    QTest::addColumn<QStringList>("vehiculos"); // plate|tasks|due|left|states
    QTest::addColumn<QString>("total");

    const QString n = QStringLiteral("\n");
    QTest::newRow("margen 1.000")
        << 1000
        << QStringList{"AB_12|Bujias" + n + "Filtro de Aire|9.000" + n + "10.000|-1.000" + n + "0|Vencida" + n + "Próxima",
                       "ZZ 1|Cambio de Aceite|20.500|500|Próxima"}
        << "Total: 1 vencida y 2 próximas en 2 vehículos.";
    QTest::newRow("margen 0: sólo vencidas")
        << 0 << QStringList{"AB_12|Bujias|9.000|-1.000|Vencida"} << "Total: 1 vencida y 0 próximas en 1 vehículo.";
}

// Only vehicles with something overdue or coming, in plate order, the most
// overdue task first; up-to-date tasks and vehicles are left out.
void TstInformeVencimientos::contenido()
{
    QFETCH(int, margen);
    QFETCH(QStringList, vehiculos);
    QFETCH(QString, total);
    const int bujias = Indice_Tarea(QStringLiteral("BUJIAS"));
    const int aire = Indice_Tarea(QStringLiteral("F_AIRE"));
    const int aceite = Indice_Tarea(QStringLiteral("C_ACEITE"));
    const std::vector<tVehiculoVencimientos> flota{
        Vehiculo(QStringLiteral("ZZ 1"), 20000, {{aceite, 20500}, {aire, 50000}}),
        Vehiculo(QStringLiteral("AL DIA"), 20000, {{aceite, 30000}}),
        Vehiculo(QStringLiteral("SIN NADA"), 20000, {}),
        Vehiculo(QStringLiteral("AB_12"), 10000, {{aire, 10000}, {bujias, 9000}}),
    };
    TReport r = Informe_Vencimientos(flota, margen);
    QCOMPARE(r.Orientation, TOrientation::Portrait);
    TRegistroSalida salida;
    QCOMPARE(Generate_Report(r, salida), 1);
    QStringList vistos;
    for (const TPrintedBand &b : salida.De(QStringLiteral("Vehiculo"))) {
        QStringList t;
        for (const TPrintedText &x : b.Texts)
            t << x.Text;
        // plate, brand and model, reading, then the four task columns
        QCOMPARE(t.size(), 7);
        QCOMPARE(t[1], QStringLiteral("SEAT IBIZA"));
        vistos << QStringList{t[0], t[3], t[4], t[5], t[6]}.join(QLatin1Char('|'));
    }
    QCOMPARE(vistos, vehiculos);
    QCOMPARE(Textos(salida, QStringLiteral("Resumen")), QStringList{total});
}

// Enough vehicles for several pages: every page carries the title, the date
// and "Página n de m" with the right count; no vehicle's block is split.
void TstInformeVencimientos::paginas()
{
    std::vector<tVehiculoVencimientos> flota;
    const int aceite = Indice_Tarea(QStringLiteral("C_ACEITE"));
    const int aire = Indice_Tarea(QStringLiteral("F_AIRE"));
    for (int i = 0; i < 150; ++i)
        flota.push_back(Vehiculo(QStringLiteral("%1XYZ").arg(i, 4, 10, QLatin1Char('0')), 50000,
                                 {{aceite, 40000 + i}, {aire, 50500}}));
    TReport r = Informe_Vencimientos(flota, 1000);
    TRegistroSalida salida;
    const int paginas = Generate_Report(r, salida);
    QVERIFY(paginas >= 3);
    QCOMPARE(salida.Cuantas(QStringLiteral("Vehiculo")), 150);
    const std::vector<TPrintedBand> cabeceras = salida.De(QStringLiteral("Cabecera"));
    QCOMPARE(int(cabeceras.size()), paginas);
    for (int p = 0; p < paginas; ++p) {
        QStringList t;
        for (const TPrintedText &x : cabeceras[std::size_t(p)].Texts)
            t << x.Text;
        QVERIFY2(t.contains(QStringLiteral("Vencimientos de la flota")), qPrintable(t.join('|')));
        QVERIFY2(t.contains(QStringLiteral("Página %1 de %2").arg(p + 1).arg(paginas)), qPrintable(t.join('|')));
        QVERIFY2(t.contains(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"))), qPrintable(t.join('|')));
    }
    QCOMPARE(salida.De(QStringLiteral("Vehiculo")).front().Texts.at(0).Text, QStringLiteral("0000XYZ"));
}

QTEST_MAIN(TstInformeVencimientos)
#include "tst_informe_vencimientos.moc"
