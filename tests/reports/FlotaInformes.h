// A small fleet on a temporary data folder with the data module over it, and
// what the report tests read of a generation: bands, their texts, the ink of a
// rendered page, and the text pdftotext finds in the PDF.
#pragma once

#include "DataModulo.h"
#include "DatosPrueba.h"
#include "InformesPrueba.h"
#include "PageStore.h"
#include "PdfOutput.h"
#include "Table.h"

#include <QColor>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

struct FlotaInformes
{
    DatosPrueba datos;
    int marca = 0;
    int modelo = 0;
    std::unique_ptr<TModuloDatos> modulo;

    FlotaInformes(const QString &nombreMarca = QStringLiteral("SEAT"), const QString &nombreModelo = QStringLiteral("IBIZA"))
    {
        marca = datos.addBrand(nombreMarca);
        modelo = datos.addModel(nombreModelo, marca);
    }

    void abrir() { modulo = std::make_unique<TModuloDatos>(datos.carpeta()); }

    // Makes `matricula` the current vehicle, as a move in a grid does.
    bool elegir(const QString &matricula)
    {
        return modulo->TableMatriculas->locate(QStringLiteral("MATRICULA"), matricula);
    }

    void addBreakdown(const QString &matricula, const QDate &inicio, const QString &averia, const QString &reparacion,
                      const QString &materiales, double importe, bool reparada = false, int km = 12000)
    {
        QMap<QString, QVariant> c{{QStringLiteral("MATRICULA"), matricula},
                                  {QStringLiteral("FECHAINICIO"), inicio},
                                  {QStringLiteral("KILOMETROS"), km},
                                  {QStringLiteral("ESTADO"), reparada ? QStringLiteral("C") : QStringLiteral("P")}};
        if (reparada)
            c.insert(QStringLiteral("FECHAFIN"), inicio.addDays(2));
        if (!averia.isEmpty())
            c.insert(QStringLiteral("AVERIA"), averia);
        if (!reparacion.isEmpty())
            c.insert(QStringLiteral("REPARACION"), reparacion);
        if (!materiales.isEmpty())
            c.insert(QStringLiteral("MATERIALES"), materiales);
        if (importe != 0)
            c.insert(QStringLiteral("IMPORTE"), importe);
        datos.addRecord(QStringLiteral("Averias.DAT"), c);
    }
};

// `n` numbered lines of text: "Línea 1 ...", one per line.
inline QString Lineas(int n, const QString &texto = QStringLiteral("de la avería"))
{
    QStringList l;
    for (int i = 1; i <= n; ++i)
        l << QStringLiteral("Línea %1 %2").arg(i).arg(texto);
    return l.join(QLatin1Char('\n'));
}

// The texts of a printed band, in the order of its elements (lines left out).
inline QStringList Textos(const TPrintedBand &b)
{
    QStringList t;
    for (const TPrintedText &x : b.Texts)
        t << x.Text;
    return t;
}

// Pages rendered at `PorMm` pixels per millimetre.
constexpr int PorMm = 8;

inline int Px(int unidades)
{
    return unidades * PorMm / ReportUnits::PerMm;
}

inline bool Tinta(const QImage &img, int x, int y, int umbral = 200)
{
    return qGray(img.pixel(x, y)) < umbral;
}

// Whether the pixel column at `x` (report units) holds ink all the way from
// `arriba` to `abajo` (report units), a pixel of antialiasing either side allowed.
inline bool Regla(const QImage &img, int x, int arriba, int abajo)
{
    const int px = Px(x);
    for (int y = Px(arriba) + 1; y < Px(abajo) - 1; ++y)
        if (!Tinta(img, px, y) && !Tinta(img, px - 1, y) && !Tinta(img, px + 1, y))
            return false;
    return true;
}

// Pixels of `rect` (report units) near `color`.
inline int Pixeles_De(const QImage &img, const QRect &rect, const QColor &color)
{
    int n = 0;
    for (int y = Px(rect.top()); y <= Px(rect.bottom()); ++y)
        for (int x = Px(rect.left()); x <= Px(rect.right()); ++x) {
            const QColor c = img.pixelColor(x, y);
            n += qAbs(c.red() - color.red()) < 40 && qAbs(c.green() - color.green()) < 40
                && qAbs(c.blue() - color.blue()) < 40;
        }
    return n;
}

// The text pdftotext reads in the PDF of the pages of `report`; an empty text
// and `*hay` false when pdftotext is not installed.
inline QString Texto_Pdf(TReport &report, bool *hay)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    *hay = !pdftotext.isEmpty();
    if (!*hay)
        return QString();
    TPageStore almacen;
    almacen.Start();
    TPageStoreOutput salida(almacen, false);
    Generate_Report(report, salida);
    almacen.Finish();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("informe.pdf"));
    Write_Pdf(almacen, pdf);
    QProcess p;
    p.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
