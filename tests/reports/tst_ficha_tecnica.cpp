// The technical sheet: one page with the current vehicle's sheet, each value
// beside its label, numbers in the general format (0 for an empty one), long
// values kept out of the other column, and the same texts in its PDF.
#include "FlotaListados.h"

#include "ImprimeFichaTec.h"
#include "PageStore.h"
#include "PdfOutput.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A vehicle 1234ABC with a sheet of the given fields, another with a sheet of its own.
void Llenar(DatosPrueba &d, const QMap<QString, QVariant> &campos)
{
    const int marca = d.addBrand(QStringLiteral("RODAMAX"));
    const int modelo = d.addModel(QStringLiteral("TURISMO 2"), marca);
    d.addVehicle(QStringLiteral("1234ABC"), marca, modelo, 1000);
    d.addVehicle(QStringLiteral("5555BBB"), marca, modelo, 1000);
    d.addSheet(QStringLiteral("5555BBB"), {{QStringLiteral("MARCAMODELO"), QStringLiteral("OTRO")},
                                           {QStringLiteral("TARA"), 999}});
    d.addSheet(QStringLiteral("1234ABC"), campos);
}

// The value printed beside each label of the sheet.
QMap<QString, QString> Valores(const TPrintedBand &hoja)
{
    QMap<QString, QString> r;
    for (size_t i = 1; i + 1 < hoja.Texts.size(); i += 2)
        r.insert(hoja.Texts[i].Text, hoja.Texts[i + 1].Text);
    return r;
}

std::unique_ptr<TFormInforFichaTec> Generar(TRegistroSalida &s)
{
    auto f = Crear_Informe_Ficha_Tec();
    Generate_Report(f->QrInforFichaTec, s);
    return f;
}

} // namespace

class TstFichaTecnica : public QObject
{
    Q_OBJECT
private slots:
    void valores_data();
    void valores();
    void disposicion();
    void valoresLargos();
    void sinFicha();
    void pdf();
};

void TstFichaTecnica::valores_data()
{
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<QString>("etiqueta");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("matrícula") << "MATRICULA" << QVariant() << "Matrícula" << "1234ABC";
    QTest::newRow("marca y modelo") << "MARCAMODELO" << QVariant("RODAMAX TURISMO 2") << "Marca y Modelo"
                                    << "RODAMAX TURISMO 2";
    QTest::newRow("tipo") << "TIPO" << QVariant("M1") << "Tipo" << "M1";
    QTest::newRow("decimales sin grupos") << "TARA" << QVariant(12345.5) << "Tara(Kg)" << "12345,5";
    QTest::newRow("entero") << "ALTURA" << QVariant(1500) << "Altura total (mm)" << "1500";
    QTest::newRow("tara vacía es 0") << "VARIANTE" << QVariant("A") << "Tara(Kg)" << "0";
    QTest::newRow("diferencial vacío es 0") << "VARIANTE" << QVariant("A") << "Diferencial (L)" << "0";
    QTest::newRow("texto vacío") << "VARIANTE" << QVariant("A") << "Clase" << "";
    QTest::newRow("texto") << "CILINDRADA" << QVariant("4/1998") << "Nº Cilindros/Cilindrada (cc) " << "4/1998";
    QTest::newRow("neumáticos") << "NEUMATICOS" << QVariant("205/55 R16") << "Neumáticos" << "205/55 R16";
}

void TstFichaTecnica::valores()
{
    QFETCH(QString, campo);
    QFETCH(QVariant, valor);
    QFETCH(QString, etiqueta);
    QFETCH(QString, esperado);
    FlotaListados f;
    QVERIFY(f.datos.isValid());
    Llenar(f.datos, valor.isValid() ? QMap<QString, QVariant>{{campo, valor}} : QMap<QString, QVariant>{});
    f.abrir();
    QVERIFY(f.elegir(QStringLiteral("1234ABC")));
    QVERIFY(Preparar_Ficha_Tecnica(*f.modulo));
    TRegistroSalida s;
    const auto informe = Generar(s);
    const QMap<QString, QString> v = Valores(s.De(QStringLiteral("ColumnHeaderBand1")).at(0));
    QVERIFY2(v.contains(etiqueta), qPrintable(QStringList(v.keys()).join('|')));
    QCOMPARE(v.value(etiqueta), esperado);
}

void TstFichaTecnica::disposicion()
{
    FlotaListados f;
    Llenar(f.datos, {{QStringLiteral("MARCAMODELO"), QStringLiteral("RODAMAX TURISMO 2")}});
    f.abrir();
    QVERIFY(f.elegir(QStringLiteral("1234ABC")));
    TRegistroSalida s;
    const auto informe = Generar(s);
    // One page, one band of 103.7 mm, whatever else the table holds.
    QCOMPARE(int(s.Paginas.size()), 1);
    QCOMPARE(s.Nombres(1), QStringList{"ColumnHeaderBand1"});
    const TPrintedBand hoja = s.De(QStringLiteral("ColumnHeaderBand1")).at(0);
    QCOMPARE(hoja.Rect.height(), 1037);
    QCOMPARE(hoja.Texts.at(0).Text, QStringLiteral("FICHA TÉCNICA"));
    QCOMPARE(informe->QrInforFichaTec.Title, QString());
    // The plate row above two columns of seventeen rows: labels ending at 37
    // and 134 mm, values from 38.9 and 136 mm, rows 5.1 mm apart from 15.3 mm.
    QCOMPARE(int(hoja.Texts.size()), 1 + 2 * (1 + 16 + 17));
    const int x0 = 100, y0 = 100;
    for (size_t i = 1; i < hoja.Texts.size(); i += 2) {
        const TPrintedText &etiqueta = hoja.Texts[i], &valor = hoja.Texts[i + 1];
        const bool izquierda = i < 2 * 17 + 1;
        QCOMPARE(etiqueta.Rect.right() + 1, x0 + (izquierda ? 370 : 1340));
        QCOMPARE(valor.Rect.left(), x0 + (izquierda ? 389 : 1360));
        QCOMPARE(valor.Rect.top(), etiqueta.Rect.top());
        const int fila = izquierda ? int(i - 1) / 2 - 1 : int(i - 1) / 2 - 17;
        QCOMPARE(etiqueta.Rect.top(), y0 + 153 + 51 * fila);
    }
    QCOMPARE(Valores(hoja).value(QStringLiteral("Marca y Modelo")), QStringLiteral("RODAMAX TURISMO 2"));
}

void TstFichaTecnica::valoresLargos()
{
    // Values as long as their fields allow, in the widest letters: printed
    // whole, each stopping short of whatever stands right of it.
    const QString matricula(12, QLatin1Char('W'));
    const QMap<QString, QVariant> campos{{QStringLiteral("MARCAMODELO"), QString(25, QLatin1Char('W'))},
                                         {QStringLiteral("NEUMATICOS"), QString(20, QLatin1Char('W'))},
                                         {QStringLiteral("MMR"), QString(10, QLatin1Char('W'))},
                                         {QStringLiteral("MARCAMOTOR"), QString(20, QLatin1Char('W'))},
                                         {QStringLiteral("POTENCIA_F_R"), QString(15, QLatin1Char('W'))}};
    FlotaListados f;
    const int marca = f.datos.addBrand(QStringLiteral("M"));
    f.datos.addVehicle(matricula, marca, f.datos.addModel(QStringLiteral("X"), marca), 1);
    f.datos.addSheet(matricula, campos);
    f.abrir();
    QVERIFY(f.elegir(matricula));
    TRegistroSalida s;
    const auto informe = Generar(s);
    const TPrintedBand hoja = s.De(QStringLiteral("ColumnHeaderBand1")).at(0);
    const QMap<QString, QString> v = Valores(hoja);
    QCOMPARE(v.value(QStringLiteral("Matrícula")), matricula);
    QCOMPARE(v.value(QStringLiteral("Marca y Modelo")), campos.value(QStringLiteral("MARCAMODELO")).toString());
    QCOMPARE(v.value(QStringLiteral("Motor marca")), campos.value(QStringLiteral("MARCAMOTOR")).toString());

    // Each row at 4 pixels per millimetre, from the left value to the paper's
    // right margin: left value, right label and right value are runs of ink
    // with white between them, and nothing passes the margin (200 mm).
    const QImage img = Pagina(s, 1, informe->QrInforFichaTec.Page_Size());
    for (int fila = -1; fila < 17; ++fila) {
        const int arriba = (100 + 153 + 51 * fila) * 4 / 10 + 2, abajo = arriba + 12;
        QString tinta;
        for (int x = (100 + 389) * 4 / 10 - 2; x < 205 * 4; ++x) {
            bool hay = false;
            for (int y = arriba; y < abajo && !hay; ++y)
                hay = qGray(img.pixel(x, y)) < 160;
            tinta += hay ? QLatin1Char('#') : QLatin1Char('.');
        }
        const QString donde = QStringLiteral("fila %1: %2").arg(fila + 1).arg(tinta);
        QVERIFY2(tinta.lastIndexOf('#') <= 200 * 4 - (100 + 389) * 4 / 10 + 2, qPrintable(donde));
        // Runs of ink split by 1.5 mm of white or more (more than a space): a value running into
        // the label beside it would make them one.
        const int runs = tinta.split(QRegularExpression(QStringLiteral("\\.{6,}")), Qt::SkipEmptyParts).size();
        // Texts: the title, the plate row, 16 left rows, 17 right rows (label, value).
        const QString izquierda = fila < 16 ? hoja.Texts[size_t(4 + 2 * fila)].Text : QString();
        const QString derecha = fila >= 0 ? hoja.Texts[size_t(36 + 2 * fila)].Text : QString();
        const int esperados = !izquierda.isEmpty() + (fila >= 0) + !derecha.isEmpty();
        QVERIFY2(runs == esperados, qPrintable(QStringLiteral("%1 (%2 de %3)").arg(donde).arg(runs).arg(esperados)));
    }
}

void TstFichaTecnica::sinFicha()
{
    FlotaListados f;
    Llenar(f.datos, {});
    const int marca = f.datos.addBrand(QStringLiteral("OTRA"));
    f.datos.addVehicle(QStringLiteral("SINFICHA"), marca, f.datos.addModel(QStringLiteral("X"), marca), 1);
    f.abrir();
    QVERIFY(f.elegir(QStringLiteral("SINFICHA")));
    QVERIFY(!Preparar_Ficha_Tecnica(*f.modulo));
    QVERIFY(f.elegir(QStringLiteral("1234ABC")));
    QVERIFY(Preparar_Ficha_Tecnica(*f.modulo));
}

void TstFichaTecnica::pdf()
{
    FlotaListados f;
    Llenar(f.datos, {{QStringLiteral("MARCAMODELO"), QStringLiteral("RODAMAX TURISMO 2")},
                     {QStringLiteral("TIPO"), QStringLiteral("M1")},
                     {QStringLiteral("TARA"), 1234.5},
                     {QStringLiteral("MARCAMOTOR"), QString(20, QLatin1Char('W'))}});
    f.abrir();
    QVERIFY(f.elegir(QStringLiteral("1234ABC")));
    const auto informe = Crear_Informe_Ficha_Tec();
    TPageStore almacen;
    almacen.Start();
    TPageStoreOutput salida(almacen, false);
    Generate_Report(informe->QrInforFichaTec, salida);
    almacen.Finish();
    QTemporaryDir dir;
    const QString fichero = dir.filePath(QStringLiteral("ficha.pdf"));
    Write_Pdf(almacen, fichero);

    const QString texto = Leer_Pdf(fichero);
    if (texto.isNull())
        QSKIP("pdftotext no está instalado (scripts/setup-deps.sh lo instala)");
    const QStringList lineas = texto.split('\n');
    auto linea = [&](const QString &etiqueta) {
        for (const QString &l : lineas)
            if (l.contains(etiqueta))
                return l.simplified();
        return QString();
    };
    QVERIFY2(texto.contains(QStringLiteral("FICHA TÉCNICA")), qPrintable(texto));
    QCOMPARE(linea(QStringLiteral("Matrícula")), QStringLiteral("Matrícula 1234ABC"));
    QCOMPARE(linea(QStringLiteral("Marca y Modelo")), QStringLiteral("Marca y Modelo RODAMAX TURISMO 2 Clase"));
    QCOMPARE(linea(QStringLiteral("Tipo")), QStringLiteral("Tipo M1 Altura total (mm) 0"));
    QCOMPARE(linea(QStringLiteral("Tara(Kg)")), QStringLiteral("Tara(Kg) 1234,5 Long. total (mm) 0"));
    // Narrowed to its box, the long value is still whole in the file.
    QCOMPARE(linea(QStringLiteral("Motor marca")),
             QStringLiteral("Neumáticos Motor marca ") + QString(20, QLatin1Char('W')));
}

QTEST_MAIN(TstFichaTecnica)
#include "tst_ficha_tecnica.moc"
