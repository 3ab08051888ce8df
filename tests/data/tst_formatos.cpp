// Number and date formats, reading typed numbers back, and the display rule of
// a due reading.
#include "Formatos.h"
#include "Proximo.h"

#include <QLocale>
#include <QTest>

#include <limits>

using namespace Formatos;

class TstFormatos : public QObject
{
    Q_OBJECT
private slots:
    void mascara_data();
    void mascara();
    void formatoN_data();
    void formatoN();
    void fechas_data();
    void fechas();
    void leerNumero_data();
    void leerNumero();
    void idaYVuelta_data();
    void idaYVuelta();
    void leerEntero_data();
    void leerEntero();
    void vistaProximo_data();
    void vistaProximo();
};

void TstFormatos::mascara_data()
{
    QTest::addColumn<double>("valor");
    QTest::addColumn<QString>("mascara");
    QTest::addColumn<QString>("esperado");
    const double max32 = std::numeric_limits<qint32>::max();
    const double min32 = std::numeric_limits<qint32>::min();

    const QString km = QStringLiteral("###.###,##");
    QTest::newRow("km 0 vacio") << 0.0 << km << "";
    QTest::newRow("km 7") << 7.0 << km << "7";
    QTest::newRow("km 1234") << 1234.0 << km << "1.234";
    QTest::newRow("km 123456") << 123456.0 << km << "123.456";
    QTest::newRow("km 1234567") << 1234567.0 << km << "1.234.567";
    QTest::newRow("km -7500") << -7500.0 << km << "-7.500";
    QTest::newRow("km 1234.5") << 1234.5 << km << "1.234,5";
    QTest::newRow("km 0.125 sin cero") << 0.125 << km << ",125";
    QTest::newRow("km cinco decimales") << 1.234567 << km << "1,23457";
    QTest::newRow("km max32") << max32 << km << "2.147.483.647";
    QTest::newRow("km min32") << min32 << km << "-2.147.483.648";

    const QString informe = QStringLiteral("###,###");
    QTest::newRow("informe 0") << 0.0 << informe << "";
    QTest::newRow("informe 7") << 7.0 << informe << "7";
    QTest::newRow("informe 123456") << 123456.0 << informe << "123.456";
    QTest::newRow("informe 1234567") << 1234567.0 << informe << "1.234.567";
    QTest::newRow("informe -7500") << -7500.0 << informe << "-7.500";
    QTest::newRow("informe redondea") << 1234.5 << informe << "1.235";
    QTest::newRow("informe 0.125 es cero") << 0.125 << informe << "";
    QTest::newRow("informe -0.4 sin signo suelto") << -0.4 << informe << "";
    QTest::newRow("informe max32") << max32 << informe << "2.147.483.647";

    const QString importe = QStringLiteral("###.###.###,##");
    QTest::newRow("importe 0") << 0.0 << importe << "";
    QTest::newRow("importe 1234.5") << 1234.5 << importe << "1.234,5";
    QTest::newRow("importe 0.125") << 0.125 << importe << ",125";
    QTest::newRow("importe ocho decimales") << 1.0 / 3.0 << importe << ",33333333";
    QTest::newRow("importe grande") << 12345678901.5 << importe << "12.345.678.901,5";
    QTest::newRow("importe -7500") << -7500.0 << importe << "-7.500";
    QTest::newRow("importe min32") << min32 << importe << "-2.147.483.648";

    QTest::newRow("ceros obligatorios") << 0.0 << "0.00" << "0,00";
    QTest::newRow("cero entero obligatorio") << 0.0 << "#,##0" << "0";
    QTest::newRow("redondeo decimal leido") << 1.005 << "0.00" << "1,01";
    QTest::newRow("acarreo a otro grupo") << 999999.999 << "#,##0.00" << "1.000.000,00";
    QTest::newRow("sin agrupar") << 1234567.0 << "#" << "1234567";
    QTest::newRow("entero con decimales obligatorios") << 7.0 << "0.00" << "7,00";
    QTest::newRow("entero de quince cifras") << 999999999999999.0 << "#,##0" << "999.999.999.999.999";
    QTest::newRow("entero de dieciseis cifras") << 1e15 << "#,##0" << "1.000.000.000.000.000";
    QTest::newRow("texto alrededor") << 1500.0 << "#,### km" << "1.500 km";
}

void TstFormatos::mascara()
{
    QFETCH(double, valor);
    QFETCH(QString, mascara);
    QFETCH(QString, esperado);
    QCOMPARE(Formatear_Mascara(valor, mascara), esperado);
}

void TstFormatos::formatoN_data()
{
    QTest::addColumn<double>("valor");
    QTest::addColumn<int>("decimales");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("0") << 0.0 << 0 << "0";
    QTest::newRow("7") << 7.0 << 0 << "7";
    QTest::newRow("98765") << 98765.0 << 0 << "98.765";
    QTest::newRow("123456") << 123456.0 << 0 << "123.456";
    QTest::newRow("1234567") << 1234567.0 << 0 << "1.234.567";
    QTest::newRow("-7500") << -7500.0 << 0 << "-7.500";
    QTest::newRow("1234.5 redondea") << 1234.5 << 0 << "1.235";
    QTest::newRow("-0.4 sin signo") << -0.4 << 0 << "0";
    QTest::newRow("max32") << double(std::numeric_limits<qint32>::max()) << 0 << "2.147.483.647";
    QTest::newRow("min32") << double(std::numeric_limits<qint32>::min()) << 0 << "-2.147.483.648";
    QTest::newRow("total 1234.5") << 1234.5 << 2 << "1.234,50";
    QTest::newRow("total 0") << 0.0 << 2 << "0,00";
    QTest::newRow("total 0.125") << 0.125 << 2 << "0,13";
    QTest::newRow("total 7") << 7.0 << 2 << "7,00";
    QTest::newRow("total acarreo") << 999.995 << 2 << "1.000,00";
    QTest::newRow("total -7500") << -7500.0 << 2 << "-7.500,00";
    QTest::newRow("total min32") << double(std::numeric_limits<qint32>::min()) << 2 << "-2.147.483.648,00";
}

void TstFormatos::formatoN()
{
    QFETCH(double, valor);
    QFETCH(int, decimales);
    QFETCH(QString, esperado);
    QCOMPARE(Formatear_N(valor, decimales), esperado);
}

void TstFormatos::fechas_data()
{
    QTest::addColumn<QDate>("fecha");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("leido"); // text read back; empty when it must be refused
    QTest::newRow("7 de marzo de 2001") << QDate(2001, 3, 7) << "07/03/2001" << "07/03/2001";
    QTest::newRow("fin de siglo") << QDate(1999, 12, 31) << "31/12/1999" << "31/12/1999";
    QTest::newRow("año de tres cifras") << QDate(999, 1, 2) << "02/01/0999" << "02/01/0999";
    QTest::newRow("sin ceros al teclear") << QDate(2001, 3, 7) << "07/03/2001" << "7/3/2001";
    QTest::newRow("sin fecha") << QDate() << "" << "";
    QTest::newRow("dia inexistente") << QDate() << "" << "31/02/2001";
    QTest::newRow("año de dos cifras") << QDate() << "" << "07/03/01";
    QTest::newRow("otro separador") << QDate() << "" << "07-03-2001";
    QTest::newRow("en blanco") << QDate() << "" << "  /  /    ";
}

void TstFormatos::fechas()
{
    QFETCH(QDate, fecha);
    QFETCH(QString, texto);
    QFETCH(QString, leido);
    QCOMPARE(Formatear_Fecha(fecha), texto);
    QCOMPARE(Leer_Fecha(leido), fecha);
}

void TstFormatos::leerNumero_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("valido");
    QTest::addColumn<double>("valor");
    QTest::newRow("agrupado con decimales") << "1.234,5" << true << 1234.5;
    QTest::newRow("sin agrupar") << "1234,5" << true << 1234.5;
    QTest::newRow("solo decimales") << ",125" << true << 0.125;
    QTest::newRow("negativo agrupado") << "-7.500" << true << -7500.0;
    QTest::newRow("millones con blancos") << " 1.234.567 " << true << 1234567.0;
    QTest::newRow("coma final") << "12," << true << 12.0;
    QTest::newRow("punto como decimal") << "1.5" << false << 0.0;
    QTest::newRow("grupo corto") << "12.34" << false << 0.0;
    QTest::newRow("primer grupo largo") << "1234.567" << false << 0.0;
    QTest::newRow("grupo final largo") << "1.2345" << false << 0.0;
    QTest::newRow("dos comas") << "1,2,3" << false << 0.0;
    QTest::newRow("vacio") << "" << false << 0.0;
    QTest::newRow("solo signo") << "-" << false << 0.0;
    QTest::newRow("letras") << "12a" << false << 0.0;
    QTest::newRow("exponente") << "1e5" << false << 0.0;
}

void TstFormatos::leerNumero()
{
    QFETCH(QString, texto);
    QFETCH(bool, valido);
    QFETCH(double, valor);
    double leido = -99;
    QCOMPARE(Leer_Numero(texto, &leido), valido);
    QCOMPARE(leido, valido ? valor : -99.0); // a refused text leaves the value alone
}

void TstFormatos::idaYVuelta_data()
{
    QTest::addColumn<double>("valor");
    QTest::addColumn<QString>("mascara");
    for (double v : {7.0, 1234.0, 123456.0, 1234567.0, -7500.0, 1234.5, 0.125, 2147483647.0, -2147483648.0}) {
        QTest::addRow("%g km", v) << v << QStringLiteral("###.###,##");
        QTest::addRow("%g importe", v) << v << QStringLiteral("###.###.###,##");
    }
}

// What a field shows is what the user may type back.
void TstFormatos::idaYVuelta()
{
    QFETCH(double, valor);
    QFETCH(QString, mascara);
    double leido = 0;
    QVERIFY(Leer_Numero(Formatear_Mascara(valor, mascara), &leido));
    QCOMPARE(leido, valor);
}

void TstFormatos::leerEntero_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("valido");
    QTest::addColumn<int>("valor");
    QTest::newRow("agrupado") << "123.456" << true << 123456;
    QTest::newRow("maximo") << "2.147.483.647" << true << std::numeric_limits<qint32>::max();
    QTest::newRow("minimo") << "-2.147.483.648" << true << std::numeric_limits<qint32>::min();
    QTest::newRow("desborda") << "2.147.483.648" << false << 0;
    QTest::newRow("decimales cero") << "15,00" << true << 15;
    QTest::newRow("con decimales") << "15,5" << false << 0;
}

void TstFormatos::leerEntero()
{
    QFETCH(QString, texto);
    QFETCH(bool, valido);
    QFETCH(int, valor);
    qint32 leido = -99;
    QCOMPARE(Leer_Entero(texto, &leido), valido);
    QCOMPARE(leido, valido ? valor : -99);
}

void TstFormatos::vistaProximo_data()
{
    QTest::addColumn<int>("proximo");
    QTest::addColumn<int>("actuales");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("color");
    const int sin = int(tColorProximo::SinCambio), granate = int(tColorProximo::Granate),
              marino = int(tColorProximo::AzulMarino);
    QTest::newRow("desconocido") << 0 << 30000 << "" << sin;
    QTest::newRow("negativo") << -5 << 30000 << "" << sin;
    QTest::newRow("vencido") << 25000 << 30000 << "25.000" << granate;
    QTest::newRow("justo ahora no vence") << 25000 << 25000 << "25.000" << marino;
    QTest::newRow("pendiente") << 45000 << 30000 << "45.000" << marino;
    QTest::newRow("vehiculo en negativo") << 1 << -10 << "1" << marino;
    QTest::newRow("limite") << std::numeric_limits<qint32>::max() << 0 << "2.147.483.647" << marino;
}

void TstFormatos::vistaProximo()
{
    QFETCH(int, proximo);
    QFETCH(int, actuales);
    QFETCH(QString, texto);
    QFETCH(int, color);
    const tVistaProximo v = Vista_Proximo(proximo, actuales);
    QCOMPARE(v.Texto, texto);
    QCOMPARE(int(v.Color), color);
}

QTEST_GUILESS_MAIN(TstFormatos)
#include "tst_formatos.moc"
