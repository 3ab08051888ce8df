// The two vehicle lists: the plain one over the data module's vehicle cursor
// (no list window refreshed while it walks the vehicles), and the one with the
// intervals of each vehicle's brand (labels without values for a brand without
// intervals, 0 as nothing, the current vehicle left alone, no cursor left open).
#include "FlotaListados.h"

#include "ListaVehiIntervalo.h"
#include "ListaVehiculos.h"

#include <QTest>

#include <stdexcept>

namespace {

// A list window that counts the times the data module refreshes it.
struct VentanaContada : tVentanaVehiculo
{
    int titulos = 0, proximos = 0;
    void Actualizar_Titulo() override { ++titulos; }
    void Mostrar_Proximo_Mantenimiento() override { ++proximos; }
};

// Three vehicles: 1111AAA and 3333CCC of a brand with intervals, 2222BBB of one without.
void Llenar(DatosPrueba &d)
{
    const int conIntervalos = d.addBrand(QStringLiteral("RODAMAX"));
    const int sinIntervalos = d.addBrand(QStringLiteral("NUEVA"));
    const int modelo = d.addModel(QStringLiteral("TURISMO 2"), conIntervalos);
    const int otro = d.addModel(QStringLiteral("FURGON"), sinIntervalos);
    d.addVehicle(QStringLiteral("1111AAA"), conIntervalos, modelo, 10);
    d.addVehicle(QStringLiteral("2222BBB"), sinIntervalos, otro, 20);
    d.addVehicle(QStringLiteral("3333CCC"), conIntervalos, modelo, 30);
    d.addInterval(conIntervalos, {{QStringLiteral("C_ACEITE"), 15000},
                                  {QStringLiteral("F_AIRE"), 0},
                                  {QStringLiteral("BUJIAS"), 60000},
                                  {QStringLiteral("ENGRASE"), 1234567}});
}

// Label and value pairs of an interval block.
QMap<QString, QString> Intervalos(const TPrintedBand &b)
{
    QMap<QString, QString> r;
    for (size_t i = 0; i + 1 < b.Texts.size(); i += 2)
        r.insert(b.Texts[i].Text, b.Texts[i + 1].Text);
    return r;
}

} // namespace

class TstListasVehiculos : public QObject
{
    Q_OBJECT
private slots:
    void listaSimple();
    void variasPaginas();
    void conIntervalos();
    void cursoresCerrados();
};

void TstListasVehiculos::listaSimple()
{
    FlotaListados f;
    QVERIFY(f.datos.isValid());
    Llenar(f.datos);
    const QString larga(20, QLatin1Char('W'));
    const int marca = f.datos.addBrand(larga);
    f.datos.addVehicle(QStringLiteral("WWWWWWWWWWWW"), marca, f.datos.addModel(larga, marca), 1);
    TModuloDatos &m = f.abrir();
    QVERIFY(Hay_Vehiculos_Que_Listar());

    // The maintenance window is the one that follows the vehicle, as if it were open.
    VentanaContada ventana;
    m.Registrar_Ventana(Pantalla_Mantenimiento, &ventana);
    m.Pantalla_Activa = Pantalla_Mantenimiento;
    QVERIFY(f.elegir(QStringLiteral("2222BBB")));
    ventana.titulos = ventana.proximos = 0;

    const auto lista = Crear_Lista_Vehiculos();
    QCOMPARE(m.Pantalla_Activa, quint8(Pantalla_Ninguna));
    TRegistroSalida s;
    Generate_Report(lista->QrListaVehiculos, s);
    QCOMPARE(ventana.titulos, 0);
    QCOMPARE(ventana.proximos, 0);

    QCOMPARE(lista->QrListaVehiculos.Title, QString());
    QCOMPARE(s.Nombres(1).mid(0, 3), (QStringList{"ColumnHeaderBand1", "ChildBand1", "DetailBand1"}));
    QCOMPARE(Textos(s.De(QStringLiteral("ColumnHeaderBand1")).at(0)), QStringList{"LISTADO DE VEHÍCULOS"});
    QCOMPARE(Textos(s.De(QStringLiteral("ChildBand1")).at(0)), (QStringList{"MATRICULA", "MARCA", "MODELO"}));
    QStringList filas;
    for (const TPrintedBand &b : s.De(QStringLiteral("DetailBand1")))
        filas << Textos(b).join('|');
    QCOMPARE(filas, (QStringList{"1111AAA|RODAMAX|TURISMO 2", "2222BBB|NUEVA|FURGON", "3333CCC|RODAMAX|TURISMO 2",
                                 "WWWWWWWWWWWW|" + larga + "|" + larga}));
    // Walking the vehicle cursor leaves the last vehicle current.
    QCOMPARE(m.TableMatriculas->fieldByName(QStringLiteral("MATRICULA"))->asString(), QStringLiteral("WWWWWWWWWWWW"));

    // The long plate and brand stay inside their columns (rules at 30 + 26.9 and 30 + 72.6 mm).
    const TPrintedBand ultima = s.De(QStringLiteral("DetailBand1")).back();
    const QImage img = Pagina(s, 1, lista->QrListaVehiculos.Page_Size());
    for (const int regla : {300 + 269, 300 + 726}) {
        // Only the rule itself is inked near it: a text crossing it would ink its sides.
        const int px = regla * 4 / 10;
        for (int x : {px - 4, px + 4}) {
            int tinta = 0;
            for (int y = (ultima.Rect.top() + 5) * 4 / 10; y < (ultima.Rect.bottom() - 5) * 4 / 10; ++y)
                tinta += qGray(img.pixel(x, y)) < 160;
            QVERIFY2(tinta == 0, qPrintable(QStringLiteral("tinta junto a la regla de %1 en x=%2").arg(regla).arg(x)));
        }
    }
}

void TstListasVehiculos::variasPaginas()
{
    FlotaListados f;
    const int marca = f.datos.addBrand(QStringLiteral("RODAMAX"));
    const int modelo = f.datos.addModel(QStringLiteral("TURISMO 2"), marca);
    for (int i = 0; i < 90; ++i)
        f.datos.addVehicle(QStringLiteral("%1XYZ").arg(i, 4, 10, QLatin1Char('0')), marca, modelo, i);
    f.abrir();
    const auto lista = Crear_Lista_Vehiculos();
    TRegistroSalida s;
    QCOMPARE(Generate_Report(lista->QrListaVehiculos, s), 3);
    // The title and the column titles head every page.
    for (int p = 1; p <= 3; ++p)
        QCOMPARE(s.Nombres(p).mid(0, 3), (QStringList{"ColumnHeaderBand1", "ChildBand1", "DetailBand1"}));
    QCOMPARE(s.Cuantas(QStringLiteral("DetailBand1")), 90);
}

void TstListasVehiculos::conIntervalos()
{
    FlotaListados f;
    Llenar(f.datos);
    TModuloDatos &m = f.abrir();
    QVERIFY(f.elegir(QStringLiteral("2222BBB")));
    // A report cursor left filtered to one vehicle: the list takes them all all the same.
    m.TablaMatriculas->setFilter(Filtro_Matricula(QStringLiteral("3333CCC")));
    m.TablaMatriculas->setFiltered(true);
    m.TablaMatriculas->open();

    const auto lista = Crear_Lista_Vehi_Intervalos();
    QCOMPARE(m.Pantalla_Activa, quint8(Pantalla_Ninguna));
    TRegistroSalida s;
    Generate_Report(lista->QrVehiculosI, s);
    QCOMPARE(lista->QrVehiculosI.Title, QString());
    QCOMPARE(Textos(s.De(QStringLiteral("PageHeaderBand1")).at(0)),
             QStringList{"LISTADO DE VEHÍCULOS + INTERVALOS DE MANTENIMIENTO"});

    // A block per vehicle: its line, its brand's intervals, the gap.
    QStringList nombres = s.Nombres(1);
    QCOMPARE(nombres, (QStringList{"PageHeaderBand1", "ChildBand1", "DetailBand1", "QRSubDetail1", "ChildBand2",
                                   "DetailBand1", "QRSubDetail1", "ChildBand2", "DetailBand1", "QRSubDetail1",
                                   "ChildBand2"}));
    const auto vehiculos = s.De(QStringLiteral("DetailBand1"));
    QCOMPARE(Textos(vehiculos[0]), (QStringList{"1111AAA", "RODAMAX", "TURISMO 2"}));
    QCOMPARE(Textos(vehiculos[1]), (QStringList{"2222BBB", "NUEVA", "FURGON"}));
    QCOMPARE(Textos(vehiculos[2]), (QStringList{"3333CCC", "RODAMAX", "TURISMO 2"}));

    const auto bloques = s.De(QStringLiteral("QRSubDetail1"));
    // Every block shows the thirteen labels, in order down the three columns.
    const QStringList etiquetas{"Bujias", "Cambio de Aceite:", "Filtro de Aceite:", "Filtro de Aire",
                                "Filtro de Combustible", "Refrigerante", "Liquido Frenos", "Pastillas Delanteras",
                                "Pastillas Traseras", "Aceite Caja", "Aceite Convertidor", "Aceite Diferencial",
                                "Engrase"};
    QCOMPARE(bloques.size(), size_t(3));
    for (const TPrintedBand &b : bloques) {
        QStringList vistas;
        for (size_t i = 0; i < b.Texts.size(); i += 2)
            vistas << b.Texts[i].Text;
        QCOMPARE(vistas, etiquetas);
    }
    const QMap<QString, QString> a = Intervalos(bloques[0]);
    QCOMPARE(a.value(QStringLiteral("Cambio de Aceite:")), QStringLiteral("15.000"));
    QCOMPARE(a.value(QStringLiteral("Bujias")), QStringLiteral("60.000"));
    QCOMPARE(a.value(QStringLiteral("Engrase")), QStringLiteral("1.234.567"));
    QCOMPARE(a.value(QStringLiteral("Filtro de Aire")), QString());        // an interval of 0
    QCOMPARE(a.value(QStringLiteral("Aceite Caja")), QString());           // never entered
    for (const QString &valor : Intervalos(bloques[1]))                     // a brand without intervals
        QCOMPARE(valor, QString());
    QCOMPARE(Intervalos(bloques[2]), a);

    // The report cursors walked; the current vehicle stayed.
    QCOMPARE(m.TableMatriculas->fieldByName(QStringLiteral("MATRICULA"))->asString(), QStringLiteral("2222BBB"));
}

void TstListasVehiculos::cursoresCerrados()
{
    // However the list ends, freeing it closes the cursors it opened, so no
    // table file stays open once the module's own tables are closed (as the
    // backup closes them).
    for (const bool falla : {false, true}) {
        FlotaListados f;
        Llenar(f.datos);
        TModuloDatos &m = f.abrir();
        {
            const auto lista = Crear_Lista_Vehi_Intervalos();
            QVERIFY(m.TablaMatriculas->active() && m.TablaKmCambios->active());
            TReportBand *vehiculo = lista->QrVehiculosI.Band(QStringLiteral("DetailBand1"));
            int vistos = 0;
            if (falla) {
                const TBandHandler propio = vehiculo->BeforePrint;
                vehiculo->BeforePrint = [propio, &vistos](TBandEvent &e) {
                    if (++vistos == 2)
                        throw std::runtime_error("fallo de prueba");
                    propio(e);
                };
            }
            TRegistroSalida s;
            try {
                Generate_Report(lista->QrVehiculosI, s);
                QVERIFY(!falla);
            } catch (const std::runtime_error &) {
                QVERIFY(falla);
            }
        }
        QVERIFY(!m.TablaMatriculas->active() && !m.TablaKmCambios->active());
        QVERIFY(!m.TablaMatriculas->filtered() && !m.TablaKmCambios->filtered());
        m.Cerrar_Tablas();
        QCOMPARE(TDatabase::openFilesIn(f.datos.carpeta()), QStringList());
    }
}

QTEST_MAIN(TstListasVehiculos)
#include "tst_listas_vehiculos.moc"
