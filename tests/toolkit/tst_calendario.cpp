// The calendar: month and year arithmetic, the grid's cells, colours and
// selection, and the dialog's buttons, lists, keys and double click.
#include "Calendario.h"
#include "Calendario2000.h"
#include "Formatos.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace Calendario;

namespace {
QDate d(const char *texto)
{
    return QDate::fromString(QLatin1String(texto), QStringLiteral("dd/MM/yyyy"));
}
}

class TstCalendario : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    // Plain arithmetic.
    void aritmetica_data();
    void aritmetica();
    void celdasDelMes_data();
    void celdasDelMes();
    void estiloCelda_data();
    void estiloCelda();

    // The grid.
    void clicEnRejilla_data();
    void clicEnRejilla();
    void teclasEnRejilla_data();
    void teclasEnRejilla();
    void anilloDeHoy();

    // The dialog.
    void botones_data();
    void botones();
    void listaConRaton_data();
    void listaConRaton();
    void listaConTeclado();
    void teclasMyO();
    void flechaCierraLista();
    void dobleClic_data();
    void dobleClic();
    void fechaHoyEnCadaActivacion();

private:
    // Shows a dialog and waits until it is the active window.
    static bool mostrar(TFmCalendario &dlg);
    static void pulsar(QWidget *w, Qt::Key tecla)
    {
        QTest::keyClick(w, tecla);
    }
};

void TstCalendario::cleanup()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        w->close();
}

bool TstCalendario::mostrar(TFmCalendario &dlg)
{
    dlg.show();
    dlg.activateWindow();
    return QTest::qWaitForWindowActive(&dlg);
}

// ---------------------------------------------------------------- arithmetic

void TstCalendario::aritmetica_data()
{
    QTest::addColumn<QDate>("desde");
    QTest::addColumn<QString>("paso"); // "mes", "anio": one step by `n`; "aMes", "aAnio": go to `n`
    QTest::addColumn<int>("n");
    QTest::addColumn<QDate>("esperada");

    QTest::newRow("31 Jan, next month, leap") << d("31/01/2024") << "mes" << 1 << d("29/02/2024");
    QTest::newRow("31 Jan, next month") << d("31/01/2023") << "mes" << 1 << d("28/02/2023");
    QTest::newRow("31 Mar, previous month") << d("31/03/2024") << "mes" << -1 << d("29/02/2024");
    QTest::newRow("December to January") << d("31/12/2024") << "mes" << 1 << d("31/01/2025");
    QTest::newRow("January to December") << d("15/01/2024") << "mes" << -1 << d("15/12/2023");
    QTest::newRow("29 Feb, next year") << d("29/02/2024") << "anio" << 1 << d("28/02/2025");
    QTest::newRow("29 Feb, previous year") << d("29/02/2024") << "anio" << -1 << d("28/02/2023");
    QTest::newRow("ordinary day, next year") << d("15/03/2024") << "anio" << 1 << d("15/03/2025");
    QTest::newRow("31 Mar to December") << d("31/03/2024") << "aMes" << 12 << d("30/12/2024");
    QTest::newRow("31 Mar to February") << d("31/03/2024") << "aMes" << 2 << d("29/02/2024");
    QTest::newRow("31 Jan to March via February") << d("31/01/2023") << "aMes" << 3 << d("28/03/2023");
    QTest::newRow("same month") << d("31/05/2024") << "aMes" << 5 << d("31/05/2024");
    QTest::newRow("29 Feb four years on") << d("29/02/2024") << "aAnio" << 2028 << d("28/02/2028");
    QTest::newRow("back to 1900") << d("10/10/2024") << "aAnio" << 1900 << d("10/10/1900");
}

void TstCalendario::aritmetica()
{
    QFETCH(QDate, desde);
    QFETCH(QString, paso);
    QFETCH(int, n);
    QFETCH(QDate, esperada);
    QDate r;
    if (paso == QLatin1String("mes"))
        r = Mover_Mes(desde, n);
    else if (paso == QLatin1String("anio"))
        r = Mover_Anio(desde, n);
    else if (paso == QLatin1String("aMes"))
        r = Pasar_A_Mes(desde, n);
    else
        r = Pasar_A_Anio(desde, n);
    QCOMPARE(r, esperada);
}

void TstCalendario::celdasDelMes_data()
{
    QTest::addColumn<int>("anio");
    QTest::addColumn<int>("mes");
    QTest::addColumn<QPoint>("primero");  // cell of day 1
    QTest::addColumn<QPoint>("ultimo");   // cell of the last day

    QTest::newRow("starts on Monday") << 2021 << 2 << QPoint(0, 1) << QPoint(6, 4);
    QTest::newRow("starts on Friday") << 2024 << 3 << QPoint(4, 1) << QPoint(6, 5);
    QTest::newRow("starts on Sunday, six rows") << 2024 << 9 << QPoint(6, 1) << QPoint(0, 6);
    QTest::newRow("leap February") << 2024 << 2 << QPoint(3, 1) << QPoint(3, 5);
}

void TstCalendario::celdasDelMes()
{
    QFETCH(int, anio);
    QFETCH(int, mes);
    QFETCH(QPoint, primero);
    QFETCH(QPoint, ultimo);

    const QDate uno(anio, mes, 1);
    QCOMPARE(Celda_De_Fecha(uno), primero);
    QCOMPARE(Celda_De_Fecha(QDate(anio, mes, uno.daysInMonth())), ultimo);

    // Every day appears exactly once, where Celda_De_Fecha puts it; the rest is empty.
    int llenas = 0;
    for (int f = 0; f < 7; ++f) {
        for (int c = 0; c < 7; ++c) {
            const int dia = Dia_En_Celda(anio, mes, c, f);
            if (dia == 0)
                continue;
            QVERIFY(f >= 1);
            QCOMPARE(Celda_De_Fecha(QDate(anio, mes, dia)), QPoint(c, f));
            ++llenas;
        }
    }
    QCOMPARE(llenas, uno.daysInMonth());
}

void TstCalendario::estiloCelda_data()
{
    QTest::addColumn<QPoint>("celda");
    QTest::addColumn<bool>("marcar");
    QTest::addColumn<QDate>("hoy");
    QTest::addColumn<QColor>("fondo");
    QTest::addColumn<QColor>("texto");
    QTest::addColumn<bool>("negrita");
    QTest::addColumn<bool>("anillo");

    // The grid shows Friday 15/03/2024 (cell 4,3); colours as in Colores below.
    const QColor gris(199, 199, 199), blanco(Qt::white), negro(Qt::black), rojo(Qt::red),
        marino(0, 0, 128);
    const QDate otroMes = d("01/04/2024");
    QTest::newRow("day-name row") << QPoint(6, 0) << true << otroMes << gris << negro << false << false;
    QTest::newRow("weekday") << QPoint(1, 3) << true << otroMes << blanco << negro << true << false;
    QTest::newRow("Saturday") << QPoint(5, 3) << true << otroMes << blanco << rojo << true << false;
    QTest::newRow("Sunday") << QPoint(6, 2) << true << otroMes << blanco << rojo << true << false;
    QTest::newRow("selected, marked") << QPoint(4, 3) << true << otroMes << marino << blanco << true << false;
    QTest::newRow("selected, unmarked") << QPoint(4, 3) << false << otroMes << blanco << negro << true << false;
    QTest::newRow("today") << QPoint(1, 3) << true << d("12/03/2024") << blanco << negro << true << true;
    QTest::newRow("today, a Sunday") << QPoint(6, 3) << true << d("17/03/2024") << blanco << rojo << true << true;
    QTest::newRow("today, selected") << QPoint(4, 3) << true << d("15/03/2024") << marino << blanco << true << true;
    QTest::newRow("empty cell of a month holding today")
        << QPoint(0, 1) << true << d("12/03/2024") << blanco << negro << true << false;
}

void TstCalendario::estiloCelda()
{
    QFETCH(QPoint, celda);
    QFETCH(bool, marcar);
    QFETCH(QDate, hoy);
    QFETCH(QColor, fondo);
    QFETCH(QColor, texto);
    QFETCH(bool, negrita);
    QFETCH(bool, anillo);

    Colores colores;
    colores.rejilla = Qt::white;
    colores.fuente = Qt::black;
    colores.fiesta = Qt::red;
    colores.resalte = QColor(0, 0, 128);
    colores.textoResalte = Qt::white;
    const EstiloCelda s = Estilo_Celda(celda.x(), celda.y(), d("15/03/2024"), hoy, marcar, colores);
    QCOMPARE(s.fondo, fondo);
    QCOMPARE(s.texto, texto);
    QCOMPARE(s.negrita, negrita);
    QCOMPARE(s.anillo, anillo);
}

// ---------------------------------------------------------------- the grid

void TstCalendario::clicEnRejilla_data()
{
    QTest::addColumn<QPoint>("celda");
    QTest::addColumn<QDate>("esperada");
    QTest::addColumn<int>("cambios");

    // The grid shows 15/03/2024; March 2024 begins on a Friday.
    QTest::newRow("another day") << QPoint(2, 2) << d("06/03/2024") << 2;
    QTest::newRow("the selected day again") << QPoint(4, 3) << d("15/03/2024") << 1;
    QTest::newRow("empty cell") << QPoint(0, 1) << d("15/03/2024") << 1;
    QTest::newRow("day-name row") << QPoint(3, 0) << d("15/03/2024") << 1;
}

void TstCalendario::clicEnRejilla()
{
    QFETCH(QPoint, celda);
    QFETCH(QDate, esperada);
    QFETCH(int, cambios);

    tCalendario2000 cal;
    cal.resize(318, 143);
    cal.setDate(d("15/03/2024"));
    cal.show();
    QSignalSpy cambio(&cal, &tCalendario2000::Change);
    QTest::mouseClick(&cal, Qt::LeftButton, {}, cal.CellRect(celda.x(), celda.y()).center());
    QCOMPARE(cal.date(), esperada);
    QCOMPARE(cambio.count(), cambios); // a click always notifies, a new day once more
}

void TstCalendario::teclasEnRejilla_data()
{
    QTest::addColumn<QDate>("desde");
    QTest::addColumn<int>("tecla");
    QTest::addColumn<QDate>("esperada");

    QTest::newRow("right") << d("15/03/2024") << int(Qt::Key_Right) << d("16/03/2024");
    QTest::newRow("up") << d("15/03/2024") << int(Qt::Key_Up) << d("08/03/2024");
    QTest::newRow("down") << d("15/03/2024") << int(Qt::Key_Down) << d("22/03/2024");
    QTest::newRow("left onto an empty cell") << d("01/03/2024") << int(Qt::Key_Left) << d("01/03/2024");
    QTest::newRow("up onto the day names") << d("01/03/2024") << int(Qt::Key_Up) << d("01/03/2024");
    QTest::newRow("right past Sunday") << d("31/03/2024") << int(Qt::Key_Right) << d("31/03/2024");
    QTest::newRow("down past the last day") << d("25/03/2024") << int(Qt::Key_Down) << d("25/03/2024");
}

void TstCalendario::teclasEnRejilla()
{
    QFETCH(QDate, desde);
    QFETCH(int, tecla);
    QFETCH(QDate, esperada);

    tCalendario2000 cal;
    cal.setDate(desde);
    QTest::keyClick(&cal, Qt::Key(tecla));
    QCOMPARE(cal.date(), esperada);
}

void TstCalendario::anilloDeHoy()
{
    const QColor rojo(255, 0, 0);
    auto rojos = [&](const QImage &img, const QRect &zona) {
        int n = 0;
        for (int y = zona.top(); y <= zona.bottom(); ++y)
            for (int x = zona.left(); x <= zona.right(); ++x)
                n += QColor(img.pixel(x, y)) == rojo;
        return n;
    };

    tCalendario2000 cal;
    cal.resize(318, 143);
    cal.setColorFontFiesta(Qt::blue); // keep red for the ring alone
    const QDate hoy = QDate::currentDate();
    cal.setDate(hoy);
    QImage img = cal.grab().toImage();
    const QPoint celda = Celda_De_Fecha(hoy);
    const QRect r = cal.CellRect(celda.x(), celda.y());
    QVERIFY(rojos(img, QRect(r.left(), r.center().y() - 1, 4, 3)) > 0);  // left edge of the ring
    QVERIFY(rojos(img, QRect(r.right() - 3, r.center().y() - 1, 4, 3)) > 0);
    QCOMPARE(rojos(img, r.adjusted(6, 6, -6, -6)), 0);                   // not filled

    cal.setDate(Mover_Mes(hoy, 2)); // a month without today has no ring
    img = cal.grab().toImage();
    QCOMPARE(rojos(img, img.rect()), 0);
}

// ---------------------------------------------------------------- the dialog

void TstCalendario::botones_data()
{
    QTest::addColumn<QDate>("desde");
    QTest::addColumn<QString>("boton");
    QTest::addColumn<QDate>("esperada");
    QTest::addColumn<QString>("etiqueta");

    QTest::newRow("next month") << d("31/01/2024") << "BtnMesSig" << d("29/02/2024") << "29 de Febrero de 2024";
    QTest::newRow("previous month") << d("15/01/2024") << "BtnMesAnt" << d("15/12/2023") << "15 de Diciembre de 2023";
    QTest::newRow("next year") << d("29/02/2024") << "BtnAnoSig" << d("28/02/2025") << "28 de Febrero de 2025";
    QTest::newRow("previous year") << d("01/10/2024") << "BtnAnoAnt" << d("01/10/2023") << "1 de Octubre de 2023";
    const QDate hoy = QDate::currentDate();
    QTest::newRow("today") << d("15/03/1950") << "BtnFechaHoy" << hoy << Fecha_Larga(hoy);
}

void TstCalendario::botones()
{
    QFETCH(QDate, desde);
    QFETCH(QString, boton);
    QFETCH(QDate, esperada);
    QFETCH(QString, etiqueta);

    TFmCalendario dlg;
    dlg.setDate(desde);
    dlg.findChild<QAbstractButton *>(boton)->click();
    QCOMPARE(dlg.date(), esperada);
    QCOMPARE(dlg.findChild<QLabel *>(QStringLiteral("LblFecha"))->text(), etiqueta);
}

void TstCalendario::listaConRaton_data()
{
    QTest::addColumn<QDate>("desde");
    QTest::addColumn<QString>("boton");
    QTest::addColumn<QString>("lista");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QDate>("esperada");

    QTest::newRow("December from 31 March") << d("31/03/2024") << "BtnMes" << "lbMeses" << "Diciembre" << d("30/12/2024");
    QTest::newRow("February from 31 March") << d("31/03/2024") << "BtnMes" << "lbMeses" << "Febrero" << d("29/02/2024");
    QTest::newRow("2025 from 29 February") << d("29/02/2024") << "BtnAnio" << "lbAnios" << "2025" << d("28/02/2025");
    QTest::newRow("the first year") << d("15/06/2024") << "BtnAnio" << "lbAnios" << "1900" << d("15/06/1900");
}

void TstCalendario::listaConRaton()
{
    QFETCH(QDate, desde);
    QFETCH(QString, boton);
    QFETCH(QString, lista);
    QFETCH(QString, item);
    QFETCH(QDate, esperada);

    TFmCalendario dlg;
    dlg.setDate(desde);
    QVERIFY(mostrar(dlg));
    auto *btn = dlg.findChild<QToolButton *>(boton);
    auto *lb = dlg.findChild<QListWidget *>(lista);
    QTest::mouseClick(btn, Qt::LeftButton);
    QVERIFY(btn->isChecked());
    QVERIFY(lb->isVisible());
    QVERIFY(lb->hasFocus());
    QCOMPARE(lb->height(), 18 * 12 + 9);

    const auto encontrados = lb->findItems(item, Qt::MatchExactly);
    QCOMPARE(encontrados.size(), 1);
    lb->scrollToItem(encontrados.first());
    QTest::mouseClick(lb->viewport(), Qt::LeftButton, {}, lb->visualItemRect(encontrados.first()).center());
    QCOMPARE(dlg.date(), esperada);
    QVERIFY(!lb->isVisible());
    QVERIFY(!btn->isChecked());
    QVERIFY(dlg.isVisible());
}

void TstCalendario::listaConTeclado()
{
    TFmCalendario dlg;
    dlg.setDate(d("31/03/2024"));
    QVERIFY(mostrar(dlg));
    QSignalSpy aceptado(&dlg, &QDialog::accepted);
    auto *lbMeses = dlg.findChild<QListWidget *>(QStringLiteral("lbMeses"));
    auto *cal = dlg.findChild<tCalendario2000 *>(QStringLiteral("Cal2000"));

    dlg.findChild<QToolButton *>(QStringLiteral("BtnMes"))->click();
    QVERIFY(lbMeses->hasFocus());
    QCOMPARE(lbMeses->currentRow(), 2);
    pulsar(lbMeses, Qt::Key_Down);
    pulsar(lbMeses, Qt::Key_Down);
    QCOMPARE(lbMeses->currentRow(), 4);
    QCOMPARE(dlg.date(), d("31/03/2024")); // moving through the list changes nothing yet

    pulsar(lbMeses, Qt::Key_Return); // applies the choice, keeps the dialog open
    QCOMPARE(dlg.date(), d("30/05/2024")); // clamped at the April step
    QVERIFY(!lbMeses->isVisible());
    QVERIFY(cal->hasFocus());
    QCOMPARE(aceptado.count(), 0);
    QVERIFY(dlg.isVisible());

    pulsar(QApplication::focusWidget(), Qt::Key_Return); // the second Enter closes it
    QCOMPARE(aceptado.count(), 1);
    QCOMPARE(dlg.date(), d("30/05/2024"));

    // After a keyboard move, a mouse choice still counts at the first click.
    TFmCalendario dlg2;
    dlg2.setDate(d("15/01/2024"));
    QVERIFY(mostrar(dlg2));
    auto *lb2 = dlg2.findChild<QListWidget *>(QStringLiteral("lbMeses"));
    dlg2.findChild<QToolButton *>(QStringLiteral("BtnMes"))->click();
    pulsar(lb2, Qt::Key_Down);
    QTest::mouseClick(lb2->viewport(), Qt::LeftButton, {}, lb2->visualItemRect(lb2->item(6)).center());
    QCOMPARE(dlg2.date(), d("15/07/2024"));
    QVERIFY(!lb2->isVisible());
}

void TstCalendario::teclasMyO()
{
    TFmCalendario dlg;
    dlg.setDate(d("15/03/2024"));
    QVERIFY(mostrar(dlg));
    auto *lbMeses = dlg.findChild<QListWidget *>(QStringLiteral("lbMeses"));
    auto *lbAnios = dlg.findChild<QListWidget *>(QStringLiteral("lbAnios"));
    auto *btnMes = dlg.findChild<QToolButton *>(QStringLiteral("BtnMes"));
    auto *btnAnio = dlg.findChild<QToolButton *>(QStringLiteral("BtnAnio"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O);
    QVERIFY(lbAnios->isVisible());
    QVERIFY(btnAnio->isChecked());
    QCOMPARE(lbAnios->currentItem()->text(), QStringLiteral("2024"));

    // M from inside the open year list swaps the lists over.
    QTest::keyClick(lbAnios, Qt::Key_M);
    QVERIFY(!lbAnios->isVisible());
    QVERIFY(!btnAnio->isChecked());
    QVERIFY(lbMeses->isVisible());
    QVERIFY(btnMes->isChecked());
    QVERIFY(lbMeses->hasFocus());
    QCOMPARE(lbMeses->currentRow(), 2);
    QCOMPARE(dlg.date(), d("15/03/2024"));

    // Alt+M is the button's accelerator: it closes the list and must not reopen it.
    QTest::keyClick(lbMeses, Qt::Key_M, Qt::AltModifier);
    QTRY_VERIFY(!btnMes->isChecked()); // a shortcut clicks after a short animation
    QVERIFY(!lbMeses->isVisible());
    QTest::qWait(50);
    QVERIFY(!lbMeses->isVisible());
}

void TstCalendario::flechaCierraLista()
{
    TFmCalendario dlg;
    dlg.setDate(d("15/03/2024"));
    QVERIFY(mostrar(dlg));
    auto *btnMes = dlg.findChild<QToolButton *>(QStringLiteral("BtnMes"));
    auto *lbMeses = dlg.findChild<QListWidget *>(QStringLiteral("lbMeses"));
    btnMes->click();
    QVERIFY(lbMeses->isVisible());
    QTest::mouseClick(dlg.findChild<QAbstractButton *>(QStringLiteral("BtnMesSig")), Qt::LeftButton);
    QVERIFY(!lbMeses->isVisible());
    QVERIFY(!btnMes->isChecked());
    QCOMPARE(dlg.date(), d("15/04/2024"));
}

void TstCalendario::dobleClic_data()
{
    QTest::addColumn<QPoint>("celda");
    QTest::addColumn<bool>("cierra");
    QTest::addColumn<QDate>("esperada");

    // March 2024 begins on a Friday: cells (0..3, 1) are empty.
    QTest::newRow("a day") << QPoint(2, 2) << true << d("06/03/2024");
    QTest::newRow("an empty cell") << QPoint(0, 1) << false << d("15/03/2024");
    QTest::newRow("a day name") << QPoint(2, 0) << false << d("15/03/2024");
}

void TstCalendario::dobleClic()
{
    QFETCH(QPoint, celda);
    QFETCH(bool, cierra);
    QFETCH(QDate, esperada);

    TFmCalendario dlg;
    dlg.setDate(d("15/03/2024"));
    QVERIFY(mostrar(dlg));
    QSignalSpy aceptado(&dlg, &QDialog::accepted);
    auto *cal = dlg.findChild<tCalendario2000 *>(QStringLiteral("Cal2000"));
    const QPoint punto = cal->CellRect(celda.x(), celda.y()).center();
    QTest::mouseClick(cal, Qt::LeftButton, {}, punto);
    QTest::mouseDClick(cal, Qt::LeftButton, {}, punto);
    QCOMPARE(aceptado.count(), cierra ? 1 : 0);
    QCOMPARE(dlg.date(), esperada);
}

void TstCalendario::fechaHoyEnCadaActivacion()
{
    const QString esperado = QStringLiteral("Fecha de Hoy: ") + Formatos::Formatear_Fecha(QDate::currentDate());
    TFmCalendario dlg;
    auto *btn = dlg.findChild<QToolButton *>(QStringLiteral("BtnFechaHoy"));
    QVERIFY(mostrar(dlg));
    QCOMPARE(btn->text(), esperado);

    btn->setText(QString());
    QWidget otra;
    otra.show();
    otra.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&otra));
    QCOMPARE(btn->text(), QString());
    dlg.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    QCOMPARE(btn->text(), esperado);
}

QTEST_MAIN(TstCalendario)
#include "tst_calendario.moc"
