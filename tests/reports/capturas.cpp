// Renders the preview window with a report of three pages to PNG files, at its
// first page (page width) and at the whole page, and one page of the report on
// its own. Not a test: run by hand (capturas_vista [folder]).
#include "InformesPrueba.h"

#include "PageStore.h"
#include "PreviewArea.h"
#include "QRepPreview.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString salida = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/capturas");
    QDir().mkpath(salida);
    TMemoryTable filas = Filas(120);
    TReport informe = Informe_Listado(filas);
    informe.Title = QStringLiteral("Listado de prueba");
    QTimer reloj;
    reloj.setInterval(20);
    QObject::connect(&reloj, &QTimer::timeout, [&] {
        for (QWidget *v : QApplication::topLevelWidgets()) {
            auto *w = qobject_cast<TFormQRepPreview *>(v);
            if (!w || !w->PanelNumPag->isVisible())
                continue;
            reloj.stop();
            QTest::qWait(100);
            w->grab().save(QDir(salida).filePath(QStringLiteral("vista_ancho.png")));
            w->ZoomToFit->click();
            QTest::qWait(100);
            w->grab().save(QDir(salida).filePath(QStringLiteral("vista_hoja.png")));
            Pintar(w->QRPreview->Store()->Page(1), w->QRPreview->Store()->Page_Size(1), 4)
                .save(QDir(salida).filePath(QStringLiteral("pagina1.png")));
            w->BtnCerrar->click();
            return;
        }
    });
    reloj.start();
    Previsualizar_Informe(informe, true, true);
    return 0;
}
