// Reports read the data module's table objects by name ("TableMantto.FECHA"):
// a master, its lookup fields, a detail that follows it, through the masks.
#include "InformesPrueba.h"

#include "DataModulo.h"
#include "DatosPrueba.h"
#include "StoreErrors.h"
#include "Table.h"

#include <QDate>
#include <QTest>

class TstFuentesDatos : public QObject
{
    Q_OBJECT
private slots:
    void nombres();
    void informe();
};

void TstFuentesDatos::nombres()
{
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    TModuloDatos m(datos.carpeta());
    const std::pair<const char *, TTable *> tablas[] = {
        {"TableMatriculas", m.TableMatriculas}, {"TableMarcas", m.TableMarcas},     {"TableModelos", m.TableModelos},
        {"TableMantto", m.TableMantto},         {"TableAverias", m.TableAverias},   {"TableRuedas", m.TableRuedas},
        {"TableFichaTec", m.TableFichaTec},     {"TableKmCambios", m.TableKmCambios}, {"TablaMantto", m.TablaMantto},
        {"TablaKmCambios", m.TablaKmCambios},   {"TablaMatriculas", m.TablaMatriculas}, {"TablaFichaTec", m.TablaFichaTec}};
    for (const auto &[nombre, tabla] : tablas)
        QCOMPARE(Data_Module_Table(QString::fromLatin1(nombre)), tabla);
    QCOMPARE(Data_Module_Table(QStringLiteral("TablaNada")), nullptr);
    QCOMPARE(Data_Module_Table(QStringLiteral("tablemantto")), nullptr); // the names are exact
}

void TstFuentesDatos::informe()
{
    DatosPrueba datos;
    QVERIFY(datos.isValid());
    const int marca = datos.addBrand(QStringLiteral("RODAMAX"));
    const int modelo = datos.addModel(QStringLiteral("TURISMO 2"), marca);
    datos.addVehicle(QStringLiteral("1234ABC"), marca, modelo, 123456);
    datos.addVehicle(QStringLiteral("9999ZZZ"), marca, modelo, 5);
    datos.addMaintenance(QStringLiteral("1234ABC"), QDate(2024, 3, 5), 100500, {QStringLiteral("C_ACEITE")});
    datos.addMaintenance(QStringLiteral("1234ABC"), QDate(2024, 9, 1), 0, {QStringLiteral("F_AIRE")});
    datos.addMaintenance(QStringLiteral("9999ZZZ"), QDate(2024, 1, 1), 1);
    TModuloDatos m(datos.carpeta());
    m.TableMatriculas->locate(QStringLiteral("MATRICULA"), QStringLiteral("1234ABC"));
    m.TablaMatriculas->setFilter(Filtro_Matricula(QStringLiteral("1234ABC")));
    m.TablaMatriculas->setFiltered(true);
    m.TablaMatriculas->open();

    TReport r;
    r.Name = QStringLiteral("Prueba");
    r.Master = QStringLiteral("TablaMatriculas");
    TReportBand vehiculo;
    vehiculo.Name = QStringLiteral("Vehiculo");
    vehiculo.Kind = TBandKind::GroupHeader;
    vehiculo.GroupExpression = QStringLiteral("TablaMatriculas.MATRICULA");
    vehiculo.Height = 8;
    vehiculo.Elements = {Field_Element("M", "TablaMatriculas.MATRICULA", 2, 1, 25),
                         Field_Element("Marca", "TablaMatriculas.sMarca", 30, 1, 0),
                         Field_Element("Modelo", "TablaMatriculas.sModelo", 60, 1, 0),
                         Field_Element("Km", "TablaMatriculas.KILOMETROS", 100, 1, 22, 0, "###.###,##")};
    r.Bands.push_back(vehiculo);
    TReportBand fila;
    fila.Name = QStringLiteral("Fila");
    fila.Kind = TBandKind::SubDetail;
    fila.Source = QStringLiteral("TableMantto");
    fila.Height = 6;
    fila.Elements = {Field_Element("Fecha", "TableMantto.FECHA", 2, 1, 20),
                     Field_Element("Lectura", "TableMantto.KILOMETROS", 25, 1, 20, 0, "###,###"),
                     Field_Element("Aceite", "TableMantto.C_ACEITE", 50, 1, 10),
                     Field_Element("Aire", "TableMantto.F_AIRE", 62, 1, 10)};
    r.Bands.push_back(fila);

    TRegistroSalida salida;
    QCOMPARE(Generate_Report(r, salida), 1);
    QStringList vistos;
    for (const TPrintedBand &b : salida.Bandas) {
        QStringList textos;
        for (const TPrintedText &t : b.Texts)
            textos << t.Text;
        vistos << textos.join('|');
    }
    QCOMPARE(vistos, (QStringList{"1234ABC|RODAMAX|TURISMO 2|123.456", "05/03/2024|100.500|X|",
                                  "01/09/2024|||X"}));
}

QTEST_MAIN(TstFuentesDatos)
#include "tst_fuentes_datos.moc"
