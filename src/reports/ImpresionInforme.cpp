#include "ImpresionInforme.h"

#include "PageStore.h"
#include "ReportDef.h"
#include "StoreErrors.h"

#include <QApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>

#include <algorithm>
#include <vector>

namespace {

// Puts each page of the generation on the printer as soon as it is complete.
class TPrinterOutput : public TPictureOutput
{
public:
    TPrinterOutput(QPrinter &printer, QPainter &painter, QProgressDialog &progress, int copies)
        : m_printer(printer), m_painter(painter), m_progress(progress), m_copies(copies)
    {
        if (m_printer.printRange() == QPrinter::PageRange) {
            m_from = m_printer.fromPage();
            m_to = m_printer.toPage();
        }
    }

    bool Stop() override
    {
        QApplication::processEvents();
        return m_progress.wasCanceled();
    }

    // The further copies the printer does not make by itself.
    bool Print_Copies()
    {
        for (int c = 1; c < m_copies; ++c)
            for (const auto &page : m_kept) {
                if (Stop())
                    return false;
                Put(page.first, page.second);
            }
        return true;
    }

protected:
    void Page_Done(int page, const QPicture &picture, QSize size) override
    {
        m_progress.setLabelText(QStringLiteral("Imprimiendo la página %1...").arg(page));
        if (page < m_from || (m_to > 0 && page > m_to))
            return;
        Put(picture, size);
        if (m_copies > 1)
            m_kept.emplace_back(picture, size);
    }

private:
    void Put(const QPicture &picture, QSize size)
    {
        if (m_started)
            m_printer.newPage();
        m_started = true;
        const QRectF paper = m_printer.paperRect(QPrinter::DevicePixel);
        const double scale = std::min(paper.width() / size.width(), paper.height() / size.height());
        Draw_Page(m_painter, picture, size, QRectF(0, 0, size.width() * scale, size.height() * scale));
    }

    QPrinter &m_printer;
    QPainter &m_painter;
    QProgressDialog &m_progress;
    int m_copies;
    int m_from = 1, m_to = 0;
    bool m_started = false;
    std::vector<std::pair<QPicture, QSize>> m_kept;
};

} // namespace

void Preparar_Impresora(const TReport &report, QPrinter &printer)
{
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                      report.Orientation == TOrientation::Landscape ? QPageLayout::Landscape
                                                                                    : QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
    printer.setDocName(report.Title.isEmpty() ? QStringLiteral("Informe") : report.Title);
}

bool Imprimir_En(TReport &report, QPrinter &printer, QWidget *parent)
{
    printer.setFullPage(true);
    // Copies the printer cannot make are printed one after another.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    QPainter painter;
    if (!painter.begin(&printer))
        throw EInOutError(0, QStringLiteral("No se puede imprimir en \"%1\": la impresora no está disponible.")
                                 .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                                         : printer.outputFileName()));
    QProgressDialog progress(QStringLiteral("Preparando el informe..."), QStringLiteral("&Cancelar"), 0, 0, parent);
    progress.setObjectName(QStringLiteral("ProgresoImpresion"));
    progress.setWindowTitle(QStringLiteral("Imprimiendo"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    progress.setAutoClose(false);

    TPrinterOutput output(printer, painter, progress, copies);
    bool complete = false;
    try {
        Generate_Report(report, output);
        complete = !progress.wasCanceled() && output.Print_Copies();
    } catch (...) {
        printer.abort();
        painter.end();
        throw;
    }
    if (!complete)
        printer.abort();
    painter.end();
    return complete;
}

bool Configurar_Impresora(QPrinter &printer, QWidget *parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("DialogoImpresora"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    dialog.setMinMax(1, 9999);
    return dialog.exec() == QDialog::Accepted;
}
