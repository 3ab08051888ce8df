// The preview area: page number rules, the zooms and their fitting modes, the
// scroll bars, and that what it shows is the page.
#include "InformesPrueba.h"

#include "PageStore.h"
#include "PreviewArea.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

struct Area
{
    TMemoryTable filas = Filas(120);
    TReport informe = Informe_Listado(filas);
    std::shared_ptr<TPageStore> almacen = std::make_shared<TPageStore>();
    TPreviewArea area;

    Area()
    {
        almacen->Start();
        TPageStoreOutput salida(*almacen, false);
        Generate_Report(informe, salida);
        almacen->Finish();
        area.resize(600, 400);
        area.show();
        area.Attach(almacen);
    }

    // How many pixels of `zona` on the screen are not of colour `fondo`.
    int Tinta(const QRect &zona, QColor fondo = Qt::white) const
    {
        const QImage img = area.viewport()->grab().toImage();
        int n = 0;
        for (int y = zona.top(); y <= zona.bottom(); ++y)
            for (int x = zona.left(); x <= zona.right(); ++x)
                if (qAbs(qGray(img.pixel(x, y)) - qGray(fondo.rgb())) > 40)
                    ++n;
        return n;
    }
};

} // namespace

class TstAreaVista : public QObject
{
    Q_OBJECT
private slots:
    void numeroPagina();
    void zoom_data();
    void zoom();
    void ajustes();
    void barras();
    void dibujo();
};

void TstAreaVista::numeroPagina()
{
    Area a;
    QCOMPARE(a.almacen->Page_Count(), 3);
    QCOMPARE(a.area.Page_Number(), 1);
    for (int fuera : {0, -1, 4})
        a.area.Set_Page_Number(fuera);
    QCOMPARE(a.area.Page_Number(), 1);
    a.area.Set_Zoom(200);
    a.area.Set_H_Position(120);
    a.area.Set_V_Position(300);
    a.area.Set_Page_Number(3);
    QCOMPARE(a.area.Page_Number(), 3);
    QCOMPARE(a.area.H_Position(), 0);
    QCOMPARE(a.area.V_Position(), 0);
    // The store's notifications come through the area.
    QSignalSpy avisos(&a.area, &TPreviewArea::pageAvailable);
    a.almacen->Finish();
    QCOMPARE(avisos.count(), 1);
    QCOMPARE(avisos.at(0).at(0).toInt(), 3);
    // Another store starts again at page 1.
    a.area.Attach(a.almacen);
    QCOMPARE(a.area.Page_Number(), 1);
}

void TstAreaVista::zoom_data()
{
    QTest::addColumn<int>("pedido");
    QTest::addColumn<int>("zoom");
    QTest::newRow("100") << 100 << 100;
    QTest::newRow("minimo") << 2 << 2;
    QTest::newRow("bajo el minimo") << 1 << 2;
    QTest::newRow("maximo") << 2000 << 2000;
    QTest::newRow("sobre el maximo") << 5000 << 2000;
}

void TstAreaVista::zoom()
{
    QFETCH(int, pedido);
    QFETCH(int, zoom);
    Area a;
    a.area.Set_Zoom(pedido);
    QCOMPARE(a.area.Zoom(), zoom);
    // At 100 the page has its real size: 210 mm at the screen's resolution.
    const int ancho = qRound(210 / 25.4 * a.area.logicalDpiX() * zoom / 100.0);
    QVERIFY(qAbs(a.area.Page_Pixels().width() - ancho) <= 1);
    QCOMPARE(a.area.H_Range(), a.area.Page_Pixels().width() + 20);
}

void TstAreaVista::ajustes()
{
    Area a;
    auto cabe = [&](int z) {
        a.area.Set_Zoom(z);
        const QSize p = a.area.Page_Pixels() + QSize(20, 20);
        const QSize v = a.area.maximumViewportSize();
        return p.width() <= v.width() && p.height() <= v.height();
    };
    a.area.Zoom_To_Fit();
    const int ajustado = a.area.Zoom();
    QVERIFY(cabe(ajustado));
    QVERIFY(!cabe(ajustado + 1));

    // The page width: no horizontal scrolling, the vertical scroll bar beside the page.
    a.area.Zoom_To_Width();
    QApplication::processEvents();
    const int ancho = a.area.Zoom();
    QVERIFY(ancho > ajustado);
    QCOMPARE(a.area.horizontalScrollBar()->maximum(), 0);
    QVERIFY(a.area.Page_Pixels().width() + 20 <= a.area.viewport()->width());
    QVERIFY(a.area.Page_Pixels().width() + 40 > a.area.viewport()->width());

    // Both follow the area's size until another zoom is asked for.
    a.area.resize(900, 400);
    QApplication::processEvents();
    QVERIFY(a.area.Zoom() > ancho);
    a.area.Set_Zoom(100);
    a.area.resize(500, 400);
    QApplication::processEvents();
    QCOMPARE(a.area.Zoom(), 100);
    a.area.Zoom_To_Fit();
    const int fit500 = a.area.Zoom();
    a.area.resize(500, 800);
    QApplication::processEvents();
    QVERIFY(a.area.Zoom() > fit500);
}

void TstAreaVista::barras()
{
    Area a;
    a.area.Set_Zoom(150);
    QApplication::processEvents();
    QCOMPARE(a.area.horizontalScrollBar()->singleStep(), 8);
    QCOMPARE(a.area.verticalScrollBar()->singleStep(), 8);
    const int maximo = a.area.V_Range() - a.area.viewport()->height();
    QCOMPARE(a.area.verticalScrollBar()->maximum(), maximo);
    a.area.Set_V_Position(maximo + 500);
    QCOMPARE(a.area.V_Position(), maximo);
    a.area.Set_V_Position(-5);
    QCOMPARE(a.area.V_Position(), 0);
}

void TstAreaVista::dibujo()
{
    Area a;
    a.area.Zoom_To_Fit();
    QApplication::processEvents();
    const QSize p = a.area.Page_Pixels();
    const QRect pagina((a.area.viewport()->width() - p.width()) / 2, (a.area.viewport()->height() - p.height()) / 2,
                       p.width(), p.height());
    // The page's frames and texts are there; the grey around it has none.
    QVERIFY(a.Tinta(pagina.adjusted(2, 2, -2, -2)) > 100);
    QCOMPARE(a.Tinta(QRect(0, 0, 3, 3), QColor(128, 128, 128)), 0);
    // At the largest zoom the part shown is drawn all the same.
    a.area.Set_Zoom(2000);
    // Just before the header's frame, 10 mm from the paper's corner (plus the grey border).
    a.area.Set_H_Position(int(20 * 10 * a.area.logicalDpiX() / 25.4) - 40);
    a.area.Set_V_Position(int(20 * 10 * a.area.logicalDpiY() / 25.4) - 40);
    QApplication::processEvents();
    QVERIFY(a.Tinta(a.area.viewport()->rect()) > 0);
}

QTEST_MAIN(TstAreaVista)
#include "tst_area_vista.moc"
