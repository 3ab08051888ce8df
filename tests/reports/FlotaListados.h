// Helpers for the tests of the tyres report, the technical sheet and the
// vehicle lists: a data folder with its data module, the texts of a printed
// band, the ink of a rendered page, the text of a PDF.
#pragma once

#include "DataModulo.h"
#include "DatosPrueba.h"
#include "InformesPrueba.h"
#include "Table.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <memory>

// A data folder filled by the test, and the data module opened on it.
struct FlotaListados
{
    DatosPrueba datos;
    std::unique_ptr<TModuloDatos> modulo;

    TModuloDatos &abrir()
    {
        modulo = std::make_unique<TModuloDatos>(datos.carpeta());
        return *modulo;
    }
    // Makes `matricula` the current vehicle, as picking it in a grid does.
    bool elegir(const QString &matricula)
    {
        return modulo->TableMatriculas->locate(QStringLiteral("MATRICULA"), matricula);
    }
};

inline QStringList Textos(const TPrintedBand &b)
{
    QStringList r;
    for (const TPrintedText &t : b.Texts)
        r << t.Text;
    return r;
}

// The text printed by the element whose box starts at `izquierda` (report
// units, page coordinates) in band `b`; a null string when there is none.
inline QString Texto_En(const TPrintedBand &b, int izquierda)
{
    for (const TPrintedText &t : b.Texts)
        if (qAbs(t.Rect.left() - izquierda) <= 1)
            return t.Text;
    return QString();
}

// A page drawn at `escala` pixels per millimetre.
inline QImage Pagina(const TRegistroSalida &s, int pagina, QSize tamano, double escala = 4)
{
    return Pintar(s.Paginas.at(size_t(pagina - 1)), tamano, escala);
}

// How many pixel rows between y0 and y1 (report units) have ink within a pixel
// of x (report units): a vertical rule over the whole stretch gives them all.
inline int Tinta_Vertical(const QImage &img, int x, int y0, int y1, double escala = 4, int *filas = nullptr)
{
    const int px = int(x * escala / ReportUnits::PerMm + 0.5);
    const int desde = int(y0 * escala / ReportUnits::PerMm + 0.5), hasta = int(y1 * escala / ReportUnits::PerMm);
    int n = 0;
    for (int y = desde; y < hasta; ++y) {
        int minimo = 255;
        for (int dx = -1; dx <= 1; ++dx)
            minimo = std::min(minimo, qGray(img.pixel(px + dx, y)));
        n += minimo < 200;
    }
    if (filas)
        *filas = std::max(0, hasta - desde);
    return n;
}

// The text pdftotext reads in a PDF file (-layout); a null string when it is
// not installed.
inline QString Leer_Pdf(const QString &fichero)
{
    const QString programa = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (programa.isEmpty())
        return QString();
    QProcess p;
    p.start(programa, {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), fichero,
                       QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
