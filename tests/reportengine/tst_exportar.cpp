// Exports of a small report as text, comma-separated text and HTML, and the
// save dialog's filter text built from the filters that exist.
#include "Capturar.h"
#include "InformesPrueba.h"

#include "ExportFilters.h"
#include "StoreErrors.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString Leer(const QString &ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Reads comma-separated text back: records of fields, quotes as written by
// spreadsheets (a doubled quote inside a quoted field is one quote).
QList<QStringList> Leer_Csv(const QString &texto)
{
    QList<QStringList> registros;
    QStringList campos;
    QString campo;
    bool entreComillas = false, hayRegistro = false;
    for (int i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (entreComillas) {
            if (c == '"' && i + 1 < texto.size() && texto.at(i + 1) == '"') {
                campo += '"';
                ++i;
            } else if (c == '"') {
                entreComillas = false;
            } else {
                campo += c;
            }
        } else if (c == '"') {
            entreComillas = true;
            hayRegistro = true;
        } else if (c == ',') {
            campos << campo;
            campo.clear();
            hayRegistro = true;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < texto.size() && texto.at(i + 1) == '\n')
                ++i;
            if (hayRegistro || !campo.isEmpty()) {
                campos << campo;
                registros << campos;
            }
            campos.clear();
            campo.clear();
            hayRegistro = false;
        } else {
            campo += c;
            hayRegistro = true;
        }
    }
    if (hayRegistro || !campo.isEmpty()) {
        campos << campo;
        registros << campos;
    }
    return registros;
}

// A small report: a title, column titles, three rows of date, amount and
// remark, and a total.
struct Pequeno
{
    TMemoryTable filas;
    TReport informe;
    Pequeno(const QStringList &observaciones = {"Cambio de aceite", "Filtro de aire", "Frenos"})
    {
        filas.Fields = QStringList{"FECHA", "IMPORTE", "OBS"};
        for (int i = 0; i < observaciones.size(); ++i)
            filas.Rows.push_back(QVariantList{QDate(2024, 1, 10 + i), 1234.5 * (i + 1), observaciones[i]});
        informe = Informe_Listado(filas);
        informe.Band("Columnas")->Elements = {Text_Element("T1", "FECHA", 2, 1), Text_Element("T2", "IMPORTE", 40, 1),
                                              Text_Element("T3", "OBSERVACIONES", 70, 1)};
        TReportElement importe = Field_Element("Importe", "Filas.IMPORTE", 30, 1, 30, 0, "###.###.###,##");
        importe.Alignment = Qt::AlignRight;
        informe.Band("Detalle")->Elements = {Field_Element("Fecha", "Filas.FECHA", 2, 1, 25), importe,
                                             Field_Element("Obs", "Filas.OBS", 70, 1, 100)};
        informe.Element("Fin")->Caption = "Total: 7.407,00";
    }
};

} // namespace

class TstExportar : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void textoFiltros();
    void texto();
    void csv();
    void csvCampos_data();
    void csvCampos();
    void csvLeido();
    void html();
    void exportarFallido();

private:
    QString Exportar(TReport &r, const TExportFilter &f);
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TTextFilter> m_texto;
    std::unique_ptr<TCSVFilter> m_csv;
    std::unique_ptr<THTMLFilter> m_html;
};

void TstExportar::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_texto = std::make_unique<TTextFilter>();
    m_csv = std::make_unique<TCSVFilter>();
    m_html = std::make_unique<THTMLFilter>();
}

void TstExportar::cleanup()
{
    m_html.reset();
    m_csv.reset();
    m_texto.reset();
}

QString TstExportar::Exportar(TReport &r, const TExportFilter &f)
{
    const QString ruta = m_dir->filePath("informe." + f.Extension().toLower());
    Export_Report(r, f, ruta);
    return Leer(ruta);
}

void TstExportar::textoFiltros()
{
    QCOMPARE(Save_Filter_Text(), QStringLiteral("Report file(*.QRP)|*.QRP|Text file (*.TXT)|*.TXT|Comma Separated "
                                                "(*.CSV)|*.CSV|HTML document (*.HTM)|*.HTM"));
    QCOMPARE(Registered_Filters(), (QList<TExportFilter *>{m_texto.get(), m_csv.get(), m_html.get()}));
    m_csv.reset();
    QCOMPARE(Save_Filter_Text(),
             QStringLiteral("Report file(*.QRP)|*.QRP|Text file (*.TXT)|*.TXT|HTML document (*.HTM)|*.HTM"));
    cleanup();
    QCOMPARE(Save_Filter_Text(), QStringLiteral("Report file(*.QRP)|*.QRP"));
}

void TstExportar::texto()
{
    Pequeno p;
    const QStringList lineas = Exportar(p.informe, *m_texto).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lineas.size(), 6);
    QCOMPARE(lineas[0].trimmed(), QStringLiteral("LISTADO"));
    QVERIFY(lineas[0].startsWith("   ")); // centred
    QCOMPARE(lineas[1].simplified(), QStringLiteral("FECHA IMPORTE OBSERVACIONES"));
    QCOMPARE(lineas[2].simplified(), QStringLiteral("10/01/2024 1.234,5 Cambio de aceite"));
    QCOMPARE(lineas[3].simplified(), QStringLiteral("11/01/2024 2.469 Filtro de aire"));
    QCOMPARE(lineas[4].simplified(), QStringLiteral("12/01/2024 3.703,5 Frenos"));
    QCOMPARE(lineas[5].simplified(), QStringLiteral("Total: 7.407,00"));
    // Columns stay where they are on the page: the remarks start together, the
    // amounts (right-aligned) end together.
    QCOMPARE(lineas[2].indexOf("Cambio"), lineas[4].indexOf("Frenos"));
    QCOMPARE(lineas[2].indexOf("1.234,5") + 7, lineas[4].indexOf("3.703,5") + 7);
}

void TstExportar::csv()
{
    Pequeno p;
    const QString texto = Exportar(p.informe, *m_csv);
    QCOMPARE(texto, QStringLiteral("LISTADO\r\nFECHA,IMPORTE,OBSERVACIONES\r\n"
                                   "10/01/2024,\"1.234,5\",Cambio de aceite\r\n"
                                   "11/01/2024,2.469,Filtro de aire\r\n"
                                   "12/01/2024,\"3.703,5\",Frenos\r\n"
                                   "\"Total: 7.407,00\"\r\n"));
}

void TstExportar::csvCampos_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("campo");
    QTest::newRow("simple") << "Frenos" << "Frenos";
    QTest::newRow("vacio") << "" << "";
    QTest::newRow("separador") << "1.234,50" << "\"1.234,50\"";
    QTest::newRow("comillas") << "dijo \"ya\"" << "\"dijo \"\"ya\"\"\"";
    QTest::newRow("salto de linea") << "uno\ndos" << "\"uno\ndos\"";
    QTest::newRow("retorno") << "uno\rdos" << "\"uno\rdos\"";
    QTest::newRow("punto y coma") << "a;b" << "a;b";
}

void TstExportar::csvCampos()
{
    QFETCH(QString, texto);
    QFETCH(QString, campo);
    QCOMPARE(Csv_Field(texto), campo);
}

void TstExportar::csvLeido()
{
    // Remarks holding the separator, quotes and line breaks come back as one column each.
    const QStringList obs{"Aceite, filtro y \"revisión\"", "Dos líneas:\nuna\ny otra", "Sin nada"};
    Pequeno p(obs);
    p.informe.Band("Detalle")->Elements[2] = Rich_Text_Element("Obs", "Filas.OBS", 70, 1, 100);
    const QList<QStringList> registros = Leer_Csv(Exportar(p.informe, *m_csv));
    QCOMPARE(registros.size(), 6);
    QCOMPARE(registros[2], (QStringList{"10/01/2024", "1.234,5", obs[0]}));
    QCOMPARE(registros[3], (QStringList{"11/01/2024", "2.469", obs[1]}));
    QCOMPARE(registros[4], (QStringList{"12/01/2024", "3.703,5", obs[2]}));
}

void TstExportar::html()
{
    Pequeno p({"Frenos <y> discos & más", "Filtro", "Aceite"});
    p.informe.Title = "Averías & más";
    const QString html = Exportar(p.informe, *m_html);
    QVERIFY(html.contains("<title>Averías &amp; más</title>"));
    QCOMPARE(html.count("<table"), 1);
    QCOMPARE(html.count("<tr>"), 6);
    // In reading order.
    int desde = 0;
    for (const char *t : {"<td>LISTADO</td>", "<td>FECHA</td>", "<td>OBSERVACIONES</td>",
                             "<td>10/01/2024</td>", "<td align=\"right\">1.234,5</td>",
                             "<td>Frenos &lt;y&gt; discos &amp; más</td>", "<td>12/01/2024</td>", "Total: 7.407,00"}) {
        const int en = html.indexOf(t, desde);
        QVERIFY2(en > 0, t);
        desde = en;
    }
    // A table per page.
    TMemoryTable muchas = Filas(120);
    TReport largo = Informe_Listado(muchas);
    QCOMPARE(Exportar(largo, *m_html).count("<table"), 3);
}

void TstExportar::exportarFallido()
{
    Pequeno p;
    const QString ruta = m_dir->filePath("no/existe/informe.csv");
    const auto e = Capturar<EInOutError>([&] {
        Export_Report(p.informe, *m_csv, ruta);
    });
    QVERIFY2(e, "exportado");
    QVERIFY2(e->message().contains(ruta), qPrintable(e->message()));
}

QTEST_MAIN(TstExportar)
#include "tst_exportar.moc"
