#include "PdfOutput.h"

#include "PageStore.h"
#include "StoreErrors.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cerrno>

namespace {

QPageLayout Layout_For(QSize size)
{
    const auto orientation = size.width() > size.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
    return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0));
}

} // namespace

void Write_Pdf(const TPageStore &store, const QString &file)
{
    auto fail = [&](const QString &detail, int err) {
        return EInOutError(EInOutError::windowsCodeFromErrno(err),
                           QStringLiteral("No se ha podido escribir el PDF \"%1\": %2").arg(file, detail));
    };
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        throw fail(out.errorString(), errno);
    {
        QPdfWriter pdf(&out);
        pdf.setTitle(store.Title());
        pdf.setCreator(QStringLiteral("Quelvaro"));
        pdf.setResolution(600);
        if (store.Page_Count() > 0)
            pdf.setPageLayout(Layout_For(store.Page_Size(1)));
        QPainter painter;
        if (!painter.begin(&pdf)) {
            out.cancelWriting();
            throw fail(QStringLiteral("no se puede empezar el documento"), 0);
        }
        for (int n = 1; n <= store.Page_Count(); ++n) {
            if (n > 1) {
                pdf.setPageLayout(Layout_For(store.Page_Size(n)));
                pdf.newPage();
            }
            const QRect paper = pdf.pageLayout().fullRectPixels(pdf.resolution());
            Draw_Page(painter, store.Page(n), store.Page_Size(n), paper);
        }
        painter.end();
    }
    if (out.error() != QFileDevice::NoError) {
        const int err = errno;
        const QString detail = out.errorString();
        out.cancelWriting();
        throw fail(detail, err);
    }
    if (!out.commit())
        throw fail(out.errorString(), errno);
}
