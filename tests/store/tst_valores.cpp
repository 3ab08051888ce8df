// Value conversion: the one number reader (the formats read through it too), the
// date readers, and what a field of each type stores when a value is written,
// read back from the file.
#include "AyudaTablas.h"
#include "DatosPrueba.h"
#include "Formatos.h"
#include "Valores.h"

#include <QtTest>

#include <limits>

using namespace store;

class TstValores : public QObject
{
    Q_OBJECT

private slots:
    void lectorUnico_data();
    void lectorUnico();
    void fechas_data();
    void fechas();
    void convertir_data();
    void convertir();
    void conversiones_data();
    void conversiones();
};

void TstValores::lectorUnico_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("valido");
    QTest::addColumn<double>("valor");

    // Rows the store used to read by dropping every "." before a ",", or through
    // the C reader: the program's formats refused them, and so does the one reader.
    QTest::newRow("grupo corto antes de la coma") << "1.2,5" << false << 0.0;
    QTest::newRow("grupo de dos antes de la coma") << "12.34,5" << false << 0.0;
    QTest::newRow("primer grupo largo antes de la coma") << "1234.567,5" << false << 0.0;
    QTest::newRow("grupos de uno") << "1.2.3,4" << false << 0.0;
    QTest::newRow("punto al principio") << ".5,5" << false << 0.0;
    QTest::newRow("exponente") << "1e5" << false << 0.0;
    QTest::newRow("exponente tras la coma") << "1,5e3" << false << 0.0;
    QTest::newRow("infinito") << "inf" << false << 0.0;
    // Rows both read alike, kept as they were.
    QTest::newRow("agrupado con decimales") << " +1.000,5 " << true << 1000.5;
    QTest::newRow("millones") << "-1.234.567" << true << -1234567.0;
    QTest::newRow("coma final") << "1.000," << true << 1000.0;
    QTest::newRow("solo decimales") << ",25" << true << 0.25;
    QTest::newRow("grupo roto") << "15.0000" << false << 0.0;
    QTest::newRow("punto decimal") << "1.5" << false << 0.0;
}

// The store, a field written with the typed text, and the program's formats
// give one answer for every text.
void TstValores::lectorUnico()
{
    QFETCH(QString, texto);
    QFETCH(bool, valido);
    QFETCH(double, valor);

    double almacen = -99, formatos = -99;
    QCOMPARE(leerNumero(texto, &almacen), valido);
    QCOMPARE(Formatos::Leer_Numero(texto, &formatos), valido);
    QCOMPARE(almacen, valido ? valor : -99.0); // a refused text leaves the value alone
    QCOMPARE(formatos, almacen);
    for (TFieldType tipo : {TFieldType::Float, TFieldType::Integer}) {
        QVariant guardado;
        try {
            guardado = store::convertir(texto, tipo, 0, QStringLiteral("KILOMETROS"), QStringLiteral("Averias.DAT"));
            QVERIFY2(valido, qPrintable(guardado.toString()));
        } catch (const EDBEngineError &e) {
            QVERIFY2(!valido, qPrintable(e.message()));
            QVERIFY(e.message().contains(QLatin1String("KILOMETROS")));
            continue;
        }
        QCOMPARE(guardado.toDouble(), tipo == TFieldType::Float ? valor : std::round(valor));
    }
}

void TstValores::fechas_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QDate>("tecleada"); // leerFecha
    QTest::addColumn<QDate>("guardada"); // fechaDeIso, the bytes as the file holds them

    const QDate marzo(2024, 3, 7);
    QTest::newRow("como se muestra") << "07/03/2024" << marzo << QDate();
    QTest::newRow("sin ceros") << "7/3/2024" << marzo << QDate();
    QTest::newRow("con blancos") << " 7/3/2024 " << marzo << QDate();
    QTest::newRow("como se guarda") << "2024-03-07" << marzo << marzo;
    QTest::newRow("guardada con hora") << "2024-03-07T10:30:00" << QDate() << marzo;
    QTest::newRow("día inexistente") << "31/02/2024" << QDate() << QDate();
    QTest::newRow("día inexistente guardado") << "2024-02-30" << QDate() << QDate();
    QTest::newRow("dos cifras de año") << "07/03/24" << QDate() << QDate();
    QTest::newRow("otro separador") << "07-03-2024" << QDate() << QDate();
    // Bytes that are not digits are no date, never a day pieced from their codes.
    QTest::newRow("signo en el día") << "2024-01-0:" << QDate() << QDate();
    QTest::newRow("letra en el mes") << "2024-1a-01" << QDate() << QDate();
    QTest::newRow("vacía") << "" << QDate() << QDate();
}

void TstValores::fechas()
{
    QFETCH(QString, texto);
    QFETCH(QDate, tecleada);
    QFETCH(QDate, guardada);

    QCOMPARE(leerFecha(texto), tecleada);
    const QByteArray bytes = texto.toUtf8();
    QCOMPARE(fechaDeIso(reinterpret_cast<const unsigned char *>(bytes.constData()), int(bytes.size())), guardada);
}

void TstValores::convertir_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("tamano");
    QTest::addColumn<QVariant>("escrito");
    QTest::addColumn<QVariant>("guardado"); // null when refused or emptied
    QTest::addColumn<bool>("aceptado");

    const int texto = int(TFieldType::Text), memo = int(TFieldType::Memo), entero = int(TFieldType::Integer),
              real = int(TFieldType::Float), fecha = int(TFieldType::Date);
    const int max32 = std::numeric_limits<qint32>::max();
    QTest::newRow("texto al límite") << texto << 5 << QVariant("abcde") << QVariant("abcde") << true;
    QTest::newRow("texto largo") << texto << 5 << QVariant("abcdef") << QVariant() << false;
    QTest::newRow("texto vacío") << texto << 5 << QVariant("") << QVariant() << true;
    QTest::newRow("fecha en un texto") << texto << 10 << QVariant(QDate(2024, 3, 7)) << QVariant("07/03/2024") << true;
    QTest::newRow("real en un texto") << texto << 10 << QVariant(1234.5) << QVariant("1234,5") << true;
    QTest::newRow("memo sin límite") << memo << 0 << QVariant(QString(5000, QLatin1Char('a')))
                                     << QVariant(QString(5000, QLatin1Char('a'))) << true;
    QTest::newRow("entero agrupado") << entero << 0 << QVariant("2.147.483.647") << QVariant(max32) << true;
    QTest::newRow("entero que desborda") << entero << 0 << QVariant("2.147.483.648") << QVariant() << false;
    QTest::newRow("entero de un real") << entero << 0 << QVariant(2.6) << QVariant(3) << true;
    QTest::newRow("entero no numérico") << entero << 0 << QVariant("doce") << QVariant() << false;
    QTest::newRow("real") << real << 0 << QVariant("1.234,5") << QVariant(1234.5) << true;
    QTest::newRow("real nulo") << real << 0 << QVariant() << QVariant() << true;
    QTest::newRow("fecha tecleada") << fecha << 0 << QVariant("7/3/2024") << QVariant(QDate(2024, 3, 7)) << true;
    QTest::newRow("fecha y hora") << fecha << 0 << QVariant(QDateTime(QDate(2024, 3, 7), QTime(23, 59)))
                                  << QVariant(QDate(2024, 3, 7)) << true;
    QTest::newRow("fecha imposible") << fecha << 0 << QVariant("30/02/2024") << QVariant() << false;
}

// What a field of each type holds for a written value; a refusal names the field,
// its type and the table.
void TstValores::convertir()
{
    QFETCH(int, tipo);
    QFETCH(int, tamano);
    QFETCH(QVariant, escrito);
    QFETCH(QVariant, guardado);
    QFETCH(bool, aceptado);

    try {
        const QVariant v = store::convertir(escrito, TFieldType(tipo), tamano, QStringLiteral("CAMPO"), QStringLiteral("T.DAT"));
        QVERIFY2(aceptado, qPrintable(v.toString()));
        QCOMPARE(v, guardado);
        QCOMPARE(v.isNull(), guardado.isNull());
    } catch (const EDBEngineError &e) {
        QVERIFY2(!aceptado, qPrintable(e.message()));
        QCOMPARE(e.errorCode(), EngineCode::InvalidUse);
        QVERIFY2(e.message().contains(QLatin1String("CAMPO")) && e.message().contains(QLatin1String("T.DAT")),
                 qPrintable(e.message()));
    }
}

void TstValores::conversiones_data()
{
    QTest::addColumn<QString>("tabla");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("escrito");
    QTest::addColumn<QString>("leido");
    QTest::addColumn<bool>("aceptado");

    QTest::newRow("fecha") << "Averias.DAT" << "FECHAINICIO" << "7/3/2024" << "07/03/2024" << true;
    QTest::newRow("fecha imposible") << "Averias.DAT" << "FECHAINICIO" << "31/02/2024" << "" << false;
    QTest::newRow("fecha vacía") << "Averias.DAT" << "FECHAFIN" << "" << "" << true;
    QTest::newRow("real con miles y decimales") << "Averias.DAT" << "IMPORTE" << "1.234,5" << "1234,5" << true;
    QTest::newRow("real sin decimales") << "Averias.DAT" << "IMPORTE" << "80" << "80" << true;
    QTest::newRow("real no numérico") << "Averias.DAT" << "IMPORTE" << "mucho" << "" << false;
    QTest::newRow("entero con miles") << "Averias.DAT" << "KILOMETROS" << "123.456" << "123456" << true;
    QTest::newRow("entero con millones") << "Averias.DAT" << "KILOMETROS" << "1.234.567" << "1234567" << true;
    // "." only ever groups thousands: a broken group is refused, never read as decimals.
    QTest::newRow("grupo roto") << "Averias.DAT" << "KILOMETROS" << "15.0000" << "" << false;
    QTest::newRow("grupo corto") << "Averias.DAT" << "IMPORTE" << "1.5" << "" << false;
    QTest::newRow("texto no ASCII") << "Averias.DAT" << "AVERIA" << "Pérdida de aceite en el cárter" << "Pérdida de aceite en el cárter" << true;
    QTest::newRow("texto al límite") << "Averias.DAT" << "MATRICULA" << "123456789012" << "123456789012" << true;
    QTest::newRow("texto demasiado largo") << "Averias.DAT" << "MATRICULA" << "1234567890123" << "" << false;
    QTest::newRow("un carácter") << "Averias.DAT" << "ESTADO" << "PC" << "" << false;
}

// What is written is what is read back from the file; a refused value leaves
// the pending record and the file as they were.
void TstValores::conversiones()
{
    QFETCH(QString, tabla);
    QFETCH(QString, campo);
    QFETCH(QString, escrito);
    QFETCH(QString, leido);
    QFETCH(bool, aceptado);

    DatosPrueba datos;
    QVERIFY(datos.isValid());
    TDatabase db;
    db.setDirectory(datos.carpeta());
    auto t = ::tabla(db, tabla);
    t->open();
    t->append();
    TField *f = t->fieldByName(campo);
    try {
        f->setAsString(escrito);
        QVERIFY2(aceptado, "valor aceptado");
    } catch (const EDBEngineError &e) {
        QVERIFY2(!aceptado, qPrintable(e.message()));
        QVERIFY(e.message().contains(campo));
        QVERIFY(f->isNull());
    }
    t->post();
    auto otra = ::tabla(db, tabla);
    otra->open();
    QCOMPARE(otra->recordCount(), 1);
    QCOMPARE(otra->fieldByName(campo)->asString(), leido);
}

QTEST_GUILESS_MAIN(TstValores)
#include "tst_valores.moc"
