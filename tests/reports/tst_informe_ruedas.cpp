// The tyres report from small fleets: the heading with the vehicle and its
// tyre size, the rows of its own tyre changes, the column rules over each
// row's real height (also on a row that begins a page), long remarks going on
// over the next pages, the date of the run on every page, and the preparation
// of the data module around the report.
#include "FlotaListados.h"

#include "Formatos.h"
#include "InformeRuedas.h"

#include <QTest>

namespace {

const QString kMarca = QStringLiteral("RODAMAX");
const QString kModelo = QStringLiteral("TURISMO 2");

// Three vehicles: 1234ABC with a sheet and two tyre changes, O'NEIL 7 with one,
// 9999ZZZ without sheet and with one.
void Llenar(DatosPrueba &d)
{
    const int marca = d.addBrand(kMarca);
    const int modelo = d.addModel(kModelo, marca);
    d.addVehicle(QStringLiteral("1234ABC"), marca, modelo, 123456);
    d.addVehicle(QStringLiteral("O'NEIL 7"), marca, modelo, 5);
    d.addVehicle(QStringLiteral("9999ZZZ"), marca, modelo, 70000);
    d.addSheet(QStringLiteral("1234ABC"), {{QStringLiteral("NEUMATICOS"), QStringLiteral("205/55 R16")}});
    d.addTyres(QStringLiteral("1234ABC"), QDate(2024, 6, 1), 45000, QStringLiteral("MICHELIN"),
               QStringLiteral("Las cuatro"));
    d.addTyres(QStringLiteral("1234ABC"), QDate(2023, 1, 15), 0, QStringLiteral("PIRELLI"));
    d.addTyres(QStringLiteral("O'NEIL 7"), QDate(2024, 2, 2), 1000, QStringLiteral("OTRA"));
    d.addTyres(QStringLiteral("9999ZZZ"), QDate(2024, 3, 3), 2000, QStringLiteral("BRIDGESTONE"),
               QStringLiteral("Traseras"));
}

// The report of the current vehicle, prepared and closed as the report dialog
// does. The report is returned: the bands recorded point into it.
std::unique_ptr<TFormInformeRuedas> Generar(TRegistroSalida &salida)
{
    if (!Preparar_Informe_Ruedas(*ModuloDatos))
        return nullptr;
    auto f = Crear_Informe_Ruedas();
    Generate_Report(f->QrInformeRuedas, salida);
    Terminar_Informe_Ruedas(*ModuloDatos);
    return f;
}

// Page coordinates (report units) of the three rules: 20 mm margin plus their centres.
const int kReglas[] = {200 + 193, 200 + 404, 200 + 853};

} // namespace

class TstInformeRuedas : public QObject
{
    Q_OBJECT
private slots:
    void cabecera_data();
    void cabecera();
    void filas();
    void reglas();
    void preparacion();
    void medidaLeidaDeNuevo();
};

void TstInformeRuedas::cabecera_data()
{
    QTest::addColumn<QString>("matricula");
    QTest::addColumn<QStringList>("vehiculo");
    QTest::newRow("con ficha") << "1234ABC"
                               << QStringList{"1234ABC", kMarca, kModelo, "Kilómetros actuales:", "123.456",
                                              "Medida 205/55 R16"};
    // Without a sheet the calculated size is empty: "Medida " and nothing after it.
    QTest::newRow("sin ficha") << "9999ZZZ"
                               << QStringList{"9999ZZZ", kMarca, kModelo, "Kilómetros actuales:", "70.000",
                                              "Medida "};
}

void TstInformeRuedas::cabecera()
{
    QFETCH(QString, matricula);
    QFETCH(QStringList, vehiculo);
    FlotaListados f;
    QVERIFY(f.datos.isValid());
    Llenar(f.datos);
    f.abrir();
    QVERIFY(f.elegir(matricula));
    TRegistroSalida s;
    const auto informe = Generar(s);
    QVERIFY(informe);
    QCOMPARE(s.Nombres(1).mid(0, 5),
             (QStringList{"PageHeaderBand1", "ChildBand1", "QRGroup1", "QRChildBand1", "QRSubDetail1"}));
    const auto cabecera = s.De(QStringLiteral("PageHeaderBand1")).at(0);
    QCOMPARE(Textos(cabecera).at(0), QStringLiteral("LISTADO DE RUEDAS"));
    // The date ends at 178 mm from the band's left edge.
    QVERIFY(qAbs(cabecera.Texts.at(1).Rect.right() + 1 - (200 + 1780)) <= 1);
    QCOMPARE(Textos(s.De(QStringLiteral("QRGroup1")).at(0)), vehiculo);
    QCOMPARE(Textos(s.De(QStringLiteral("QRChildBand1")).at(0)),
             (QStringList{"FECHA", "KMTROS", "MARCA", "OBSERVACIONES"}));
}

void TstInformeRuedas::filas()
{
    FlotaListados f;
    Llenar(f.datos);
    f.abrir();
    QVERIFY(f.elegir(QStringLiteral("1234ABC")));
    TRegistroSalida s;
    const auto informe = Generar(s);
    QVERIFY(informe);
    // Its own changes only, by date; a reading of 0 prints as nothing.
    const auto filas = s.De(QStringLiteral("QRSubDetail1"));
    QCOMPARE(filas.size(), size_t(2));
    QCOMPARE(Textos(filas[0]), (QStringList{"15/01/2023", "", "PIRELLI", ""}));
    QCOMPARE(Textos(filas[1]), (QStringList{"01/06/2024", "45.000", "MICHELIN", "Las cuatro"}));
    QCOMPARE(s.Cuantas(QStringLiteral("QRGroup1")), 1);
    QCOMPARE(s.Cuantas(QStringLiteral("QRChildBand1")), 1);
    QCOMPARE(int(s.Paginas.size()), 1);
}

void TstInformeRuedas::reglas()
{
    // Sixty changes, one with a remark of 25 lines and one with a remark
    // longer than a page: several pages, rows that begin pages, a row that
    // goes on over two pages.
    FlotaListados f;
    const int marca = f.datos.addBrand(kMarca);
    f.datos.addVehicle(QStringLiteral("1234ABC"), marca, f.datos.addModel(kModelo, marca), 90000);
    QStringList media, larga;
    for (int i = 1; i <= 25; ++i)
        media << QStringLiteral("Observación %1").arg(i);
    for (int i = 1; i <= 80; ++i)
        larga << QStringLiteral("Renglón %1").arg(i);
    for (int i = 0; i < 60; ++i)
        f.datos.addTyres(QStringLiteral("1234ABC"), QDate(2020, 1, 1).addDays(i), 1000 * i, QStringLiteral("MARCA"),
                         i == 20 ? media.join('\n') : i == 50 ? larga.join('\n') : QString());
    f.abrir();
    QVERIFY(f.elegir(QStringLiteral("1234ABC")));
    const QDate antes = QDate::currentDate();
    TRegistroSalida s;
    const auto informe = Generar(s);
    QVERIFY(informe);
    const QSize tamano = informe->QrInformeRuedas.Page_Size();
    const QDate despues = QDate::currentDate();
    const int paginas = int(s.Paginas.size());
    QVERIFY(paginas >= 3);

    const auto filas = s.De(QStringLiteral("QRSubDetail1"));
    QVERIFY(filas.size() > 60); // the long remark printed in pieces
    QStringList remate;
    std::vector<QImage> imagenes;
    for (int p = 1; p <= paginas; ++p)
        imagenes.push_back(Pagina(s, p, tamano));
    int empiezanPagina = 0;
    for (size_t i = 0; i < filas.size(); ++i) {
        const TPrintedBand &b = filas[i];
        empiezanPagina += i > 0 && b.Page != filas[i - 1].Page;
        // The three rules run the whole height of every printed row.
        for (int x : kReglas) {
            int alto = 0;
            const int tinta = Tinta_Vertical(imagenes[size_t(b.Page - 1)], x, b.Rect.top() + 3, b.Rect.bottom() - 3, 4,
                                              &alto);
            QVERIFY2(tinta == alto, qPrintable(QStringLiteral("fila %1 (página %2, %3 a %4), regla en %5: %6 de %7")
                                                   .arg(i)
                                                   .arg(b.Page)
                                                   .arg(b.Rect.top())
                                                   .arg(b.Rect.bottom())
                                                   .arg(x)
                                                   .arg(tinta)
                                                   .arg(alto)));
        }
        if (!b.Texts.empty() && b.Texts.back().Text.startsWith(QStringLiteral("Renglón")))
            remate << b.Texts.back().Text;
    }
    QCOMPARE(empiezanPagina, paginas - 1);
    // The long remark is printed whole, in two pieces at least.
    QVERIFY(remate.size() >= 2);
    QCOMPARE(remate.join('\n').simplified(), larga.join('\n').simplified());
    // The medium one grew its row.
    QVERIFY(filas[20].Rect.height() > 20 * 35);
    // The date of the run heads every page.
    const auto cabeceras = s.De(QStringLiteral("PageHeaderBand1"));
    QCOMPARE(int(cabeceras.size()), paginas);
    for (const TPrintedBand &c : cabeceras) {
        const QString fecha = c.Texts.at(1).Text;
        QVERIFY2(fecha == Formatos::Formatear_Fecha(antes) || fecha == Formatos::Formatear_Fecha(despues),
                 qPrintable(fecha));
    }
}

void TstInformeRuedas::preparacion()
{
    FlotaListados f;
    Llenar(f.datos);
    const int marca = f.datos.addBrand(QStringLiteral("OTRA"));
    f.datos.addVehicle(QStringLiteral("SINRUEDAS"), marca, f.datos.addModel(QStringLiteral("X"), marca), 1);
    TModuloDatos &m = f.abrir();

    // Without tyre records: no report, and nothing opened.
    QVERIFY(f.elegir(QStringLiteral("SINRUEDAS")));
    QVERIFY(!Preparar_Informe_Ruedas(m));
    QVERIFY(!m.TablaMatriculas->active());

    // Two vehicles in a row, one with a quote in its plate: each report holds
    // only its own vehicle, and the cursor is closed and unfiltered after it.
    for (const QString &matricula : {QStringLiteral("O'NEIL 7"), QStringLiteral("9999ZZZ")}) {
        QVERIFY(f.elegir(matricula));
        QVERIFY(Preparar_Informe_Ruedas(m));
        QCOMPARE(m.TablaMatriculas->recordCount(), 1);
        QCOMPARE(m.TablaMatriculas->fieldByName(QStringLiteral("MATRICULA"))->asString(), matricula);
        const auto informe = Crear_Informe_Ruedas();
        TRegistroSalida s;
        Generate_Report(informe->QrInformeRuedas, s);
        QCOMPARE(Textos(s.De(QStringLiteral("QRGroup1")).at(0)).at(0), matricula);
        QCOMPARE(s.Cuantas(QStringLiteral("QRSubDetail1")), 1);
        Terminar_Informe_Ruedas(m);
        QVERIFY(!m.TablaMatriculas->active());
        QVERIFY(!m.TablaMatriculas->filtered());
    }
}

void TstInformeRuedas::medidaLeidaDeNuevo()
{
    // A sheet stored after the tyre rows were read: the report shows its size.
    FlotaListados f;
    Llenar(f.datos);
    f.abrir();
    QVERIFY(f.elegir(QStringLiteral("9999ZZZ")));
    QCOMPARE(f.modulo->TableRuedas->fieldByName(QStringLiteral("Medida"))->asString(), QString());
    f.datos.addSheet(QStringLiteral("9999ZZZ"), {{QStringLiteral("NEUMATICOS"), QStringLiteral("315/80 R22.5")}});
    TRegistroSalida s;
    const auto informe = Generar(s);
    QVERIFY(informe);
    QCOMPARE(Textos(s.De(QStringLiteral("QRGroup1")).at(0)).last(), QStringLiteral("Medida 315/80 R22.5"));
}

QTEST_MAIN(TstInformeRuedas)
#include "tst_informe_ruedas.moc"
