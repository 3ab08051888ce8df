// The page store: the preview run that fills it, its file (saved and loaded
// back, and every kind of bad file refused without touching the store), and
// the PDF of its pages.
#include "Capturar.h"
#include "FicherosPrueba.h"
#include "InformesPrueba.h"

#include "PageStore.h"
#include "PdfOutput.h"
#include "StoreErrors.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <stdexcept>
#include <sys/resource.h>

namespace {

std::shared_ptr<TPageStore> Generar(TReport &r)
{
    auto store = std::make_shared<TPageStore>();
    store->Set_Title(r.Title);
    store->Start();
    TPageStoreOutput salida(*store, false);
    Generate_Report(r, salida);
    store->Finish();
    return store;
}

// Big-endian number written at `pos`.
QByteArray Parchear(QByteArray datos, int pos, quint32 valor)
{
    for (int i = 0; i < 4; ++i)
        datos[pos + i] = char((valor >> (24 - 8 * i)) & 0xff);
    return datos;
}

} // namespace

class TstAlmacenPaginas : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void idaYVuelta();
    void cargaFallida_data();
    void cargaFallida();
    void guardarSinTerminar();
    void guardarFallido();
    void vistaPrevia();
    void cancelar();
    void fallo();
    void pdf();
    void pdfEnSuSitio_data();
    void pdfEnSuSitio();

private:
    QTemporaryDir m_dir;
    TMemoryTable m_filas = Filas(120); // three pages
    QString m_guardado;                // a good saved report of those pages
};

void TstAlmacenPaginas::initTestCase()
{
    QVERIFY(m_dir.isValid());
    TReport r = Informe_Listado(m_filas);
    m_guardado = m_dir.filePath(QStringLiteral("bueno.qrp"));
    Generar(r)->Save(m_guardado);
}

void TstAlmacenPaginas::idaYVuelta()
{
    TReport r = Informe_Listado(m_filas);
    r.Orientation = TOrientation::Landscape;
    auto original = Generar(r);
    QCOMPARE(original->Page_Count(), 4);
    const QString ruta = m_dir.filePath(QStringLiteral("idavuelta.qrp"));
    original->Save(ruta);

    TPageStore cargado;
    cargado.Set_Title(QStringLiteral("Título propio"));
    cargado.Load(ruta);
    QCOMPARE(cargado.Status(), TPageStore::Finished);
    QCOMPARE(cargado.Title(), QStringLiteral("Título propio"));
    QCOMPARE(cargado.Page_Count(), original->Page_Count());
    for (int n = 1; n <= cargado.Page_Count(); ++n) {
        QCOMPARE(cargado.Page_Size(n), QSize(2970, 2100));
        QCOMPARE(Pintar(cargado.Page(n), cargado.Page_Size(n)), Pintar(original->Page(n), original->Page_Size(n)));
    }
}

void TstAlmacenPaginas::cargaFallida_data()
{
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QString>("motivo");
    QTest::addColumn<int>("codigo");
    const QByteArray bueno = Leer_Fichero(m_guardado);
    QVERIFY(bueno.size() > 1000);
    QTest::newRow("no existe") << QByteArray("-") << "No se puede abrir" << 2;
    QTest::newRow("vacio") << QByteArray() << "está vacío" << 0;
    QTest::newRow("texto") << QByteArray("Esto no es un informe\n") << "no es un informe guardado" << 0;
    QTest::newRow("basura") << QByteArray(5000, '\xa7') << "no es un informe guardado" << 0;
    QTest::newRow("cortado en la marca") << bueno.left(4) << "no es un informe guardado" << 0;
    QTest::newRow("cortado en la cabecera") << bueno.left(10) << "incompleto o dañado" << 0;
    QTest::newRow("cortado en una pagina") << bueno.left(bueno.size() / 2) << "incompleto o dañado" << 0;
    QTest::newRow("sin marca final") << bueno.left(bueno.size() - 8) << "incompleto o dañado" << 0;
    QTest::newRow("falta un byte") << bueno.left(bueno.size() - 1) << "incompleto o dañado" << 0;
    QTest::newRow("sobra al final") << bueno + "xx" << "incompleto o dañado" << 0;
    QTest::newRow("version nueva") << Parchear(bueno, 8, 2) << "versión más reciente" << 0;
    QTest::newRow("cuenta imposible") << Parchear(bueno, 12, 0xffffffffu) << "incompleto o dañado" << 0;
    QByteArray sinImagen = bueno;
    sinImagen.replace(28, 4, "XXXX");
    QTest::newRow("pagina que no es imagen") << sinImagen << "incompleto o dañado" << 0;
}

void TstAlmacenPaginas::cargaFallida()
{
    QFETCH(QByteArray, contenido);
    QFETCH(QString, motivo);
    QFETCH(int, codigo);
    const QString ruta = m_dir.filePath(QStringLiteral("malo.qrp"));
    QFile::remove(ruta);
    if (contenido != "-")
        QVERIFY(Escribir_Fichero(ruta, contenido));

    TPageStore store;
    store.Load(m_guardado);
    const QByteArray antes = QByteArray(store.Page(2).data(), int(store.Page(2).size()));
    const auto e = Capturar<EInOutError>([&] {
        store.Load(ruta);
    });
    QVERIFY2(e, "cargado");
    QVERIFY2(e->message().contains(motivo), qPrintable(e->message()));
    QVERIFY2(e->message().contains(ruta), qPrintable(e->message()));
    QCOMPARE(e->code(), codigo);
    QCOMPARE(store.Page_Count(), 3);
    QCOMPARE(QByteArray(store.Page(2).data(), int(store.Page(2).size())), antes);
    QCOMPARE(store.Status(), TPageStore::Finished);
}

void TstAlmacenPaginas::guardarSinTerminar()
{
    TPageStore store;
    store.Start();
    const QString ruta = m_dir.filePath(QStringLiteral("sin_terminar.qrp"));
    QVERIFY_THROWS_EXCEPTION(EInOutError, store.Save(ruta));
    QVERIFY(!QFile::exists(ruta));
}

void TstAlmacenPaginas::guardarFallido()
{
    TReport r = Informe_Listado(m_filas);
    auto store = Generar(r);

    // A folder that does not exist.
    const QString noHay = m_dir.filePath(QStringLiteral("no/hay/informe.qrp"));
    const auto e = Capturar<EInOutError>([&] {
        store->Save(noHay);
    });
    QVERIFY2(e, "guardado");
    QVERIFY2(e->message().contains(noHay), qPrintable(e->message()));

    // The write fails half-way (the file size limit stands in for a full
    // disk): the file that was there stays whole, and nothing is left beside it.
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("anterior.qrp"));
    QVERIFY(Escribir_Fichero(ruta, "contenido anterior"));
    rlimit antes{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &antes), 0);
    const auto senal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = antes;
    limite.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limite), 0);
    bool fallo = false;
    try {
        store->Save(ruta);
    } catch (const EInOutError &e) {
        fallo = true;
        QVERIFY2(e.message().contains(ruta), qPrintable(e.message()));
    }
    setrlimit(RLIMIT_FSIZE, &antes);
    std::signal(SIGXFSZ, senal);
    QVERIFY(fallo);
    QCOMPARE(Leer_Fichero(ruta), QByteArray("contenido anterior"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"anterior.qrp"});
}

void TstAlmacenPaginas::vistaPrevia()
{
    TReport r = Informe_Listado(m_filas);
    std::shared_ptr<TPageStore> visto;
    QStringList avisos;
    bool estadoInicialListo = false, eventosEntrePaginas = false, cerrado = false;
    r.OnPreview = [&](const std::shared_ptr<TPageStore> &store) {
        visto = store;
        estadoInicialListo = store->Status() == TPageStore::Ready && store->Page_Count() == 0;
        QTimer::singleShot(0, store.get(), [&] { eventosEntrePaginas = visto->Status() == TPageStore::Busy; });
        connect(store.get(), &TPageStore::pageAvailable, store.get(), [&](int n) {
            avisos << QStringLiteral("%1%2").arg(n).arg(visto->Status() == TPageStore::Finished ? "F" : "");
            if (visto->Status() == TPageStore::Finished)
                QTimer::singleShot(50, visto.get(), [&] {
                    cerrado = true;
                    visto->Close_Preview();
                });
        });
    };
    r.Preview();
    QVERIFY(estadoInicialListo);
    QVERIFY(eventosEntrePaginas);
    QVERIFY(cerrado); // the call returned only once the preview had closed
    QCOMPARE(avisos, (QStringList{"1", "2", "3", "3F"}));
    QCOMPARE(visto->Title(), QStringLiteral("Listado de prueba"));
}

void TstAlmacenPaginas::cancelar()
{
    TReport r = Informe_Listado(m_filas);
    std::shared_ptr<TPageStore> visto;
    r.OnPreview = [&](const std::shared_ptr<TPageStore> &store) {
        visto = store;
        connect(store.get(), &TPageStore::pageAvailable, store.get(), [&](int n) {
            if (n == 1 && visto->Status() == TPageStore::Busy) {
                visto->Cancel();
                visto->Close_Preview();
            }
        });
    };
    r.Preview();
    QCOMPARE(visto->Page_Count(), 1);
    QCOMPARE(visto->Status(), TPageStore::Finished);
}

void TstAlmacenPaginas::fallo()
{
    TReport r = Informe_Listado(m_filas);
    int fila = 0;
    r.Band(QStringLiteral("Detalle"))->BeforePrint = [&](TBandEvent &) {
        if (++fila == 60)
            throw std::runtime_error("lectura fallida");
    };
    // Without a preview the failure goes to the caller.
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, r.Preview());

    // With one, the store finishes with the pages made and says so.
    fila = 0;
    std::shared_ptr<TPageStore> visto;
    int fallos = 0;
    r.OnPreview = [&](const std::shared_ptr<TPageStore> &store) {
        visto = store;
        connect(store.get(), &TPageStore::failed, store.get(), [&] {
            ++fallos;
            QTimer::singleShot(0, visto.get(), [&] { visto->Close_Preview(); });
        });
    };
    r.Preview();
    QCOMPARE(fallos, 1);
    QVERIFY(visto->Failure());
    QCOMPARE(visto->Status(), TPageStore::Finished);
    QCOMPARE(visto->Page_Count(), 1);
}

void TstAlmacenPaginas::pdf()
{
    TPageStore store;
    store.Load(m_guardado);
    const QString ruta = m_dir.filePath(QStringLiteral("informe.pdf"));
    Write_Pdf(store, ruta);
    const QByteArray pdf = Leer_Fichero(ruta);
    QVERIFY(pdf.startsWith("%PDF"));
    QCOMPARE(int(QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")))), 3);
}

void TstAlmacenPaginas::pdfEnSuSitio_data()
{
    QTest::addColumn<bool>("apaisado");
    QTest::newRow("vertical") << false;
    QTest::newRow("apaisado") << true;
}

void TstAlmacenPaginas::pdfEnSuSitio()
{
    // The PDF puts a text where the page has it: "NUM" of the column titles at
    // 12 mm from the left (10 mm margin + 2 mm) and 25 mm from the top (10 mm
    // margin, 10 mm header, 4 mm gap, 1 mm), in points as pdftotext reads them.
    QFETCH(bool, apaisado);
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext no está instalado");
    TReport r = Informe_Listado(m_filas);
    if (apaisado)
        r.Orientation = TOrientation::Landscape;
    const QString ruta = m_dir.filePath(QStringLiteral("sitio.pdf"));
    Write_Pdf(*Generar(r), ruta);
    QProcess p;
    p.start(pdftotext, {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                        QStringLiteral("1"), ruta, QStringLiteral("-")});
    QVERIFY(p.waitForFinished(30000));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    const QRegularExpression pagina(QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\""));
    const auto hoja = pagina.match(html);
    QVERIFY2(hoja.hasMatch(), qPrintable(html.left(500)));
    const double ancho = hoja.captured(1).toDouble(), alto = hoja.captured(2).toDouble();
    QVERIFY(qAbs((apaisado ? alto : ancho) - 595.3) < 1 && qAbs((apaisado ? ancho : alto) - 841.9) < 1);
    const QRegularExpression palabra(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">NUM</word>"));
    const auto num = palabra.match(html);
    QVERIFY2(num.hasMatch(), qPrintable(html.left(2000)));
    const double mm = 72 / 25.4;
    QVERIFY2(qAbs(num.captured(1).toDouble() - 12 * mm) < 1.5, qPrintable(num.captured(0)));
    // The word's box spans the glyphs' height from about the text's top.
    QVERIFY2(num.captured(2).toDouble() > 24 * mm && num.captured(2).toDouble() < 27 * mm, qPrintable(num.captured(0)));
    QVERIFY2(num.captured(3).toDouble() - num.captured(2).toDouble() < 6 * mm, qPrintable(num.captured(0)));
}

QTEST_MAIN(TstAlmacenPaginas)
#include "tst_almacen_paginas.moc"
