// The auto-repeating button: timing of the repeated clicks (counted by timer
// ticks, never by sleeping), the hint while repeating, and a failing click.
#include "Protegido.h"
#include "RepButton.h"

#include <QScopeGuard>

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <stdexcept>

class TstRepButton : public QObject
{
    Q_OBJECT

private slots:
    void repeticion_data();
    void repeticion();
    void sinRepeticion();
    void fueraDelBoton();
    void clicQueFalla();

private:
    // Fires the repeat timer as often as it would fire within `ms`, returning the
    // instants of the clicks it raised.
    static QList<int> mantener(tRepButton &b, int ms);
};

QList<int> TstRepButton::mantener(tRepButton &b, int ms)
{
    QList<int> instantes;
    auto *timer = b.findChild<QTimer *>(QStringLiteral("RepeatTimer"));
    if (!timer)
        return instantes;
    int clics = 0;
    const auto c = connect(&b, &QAbstractButton::clicked, [&] { ++clics; });
    int t = 0;
    while (timer->isActive() && t + timer->interval() <= ms) {
        t += timer->interval();
        const int antes = clics;
        QMetaObject::invokeMethod(timer, "timeout");
        if (clics > antes)
            instantes << t;
    }
    disconnect(c);
    return instantes;
}

void TstRepButton::repeticion_data()
{
    QTest::addColumn<int>("pausaInicial");
    QTest::addColumn<int>("pausa");
    QTest::addColumn<int>("sujeto_ms");
    QTest::addColumn<QList<int>>("instantes");

    QTest::newRow("calendar arrow held 950 ms") << 400 << 100 << 950 << QList<int>{400, 500, 600, 700, 800, 900};
    QTest::newRow("default pause") << 400 << 50 << 520 << QList<int>{400, 450, 500};
    QTest::newRow("released before the first pause") << 400 << 100 << 399 << QList<int>{};
}

void TstRepButton::repeticion()
{
    QFETCH(int, pausaInicial);
    QFETCH(int, pausa);
    QFETCH(int, sujeto_ms);
    QFETCH(QList<int>, instantes);

    tRepButton b;
    b.setFRepeticion(true);
    b.setInitRepeatPause(quint16(pausaInicial));
    b.setRepeatPause(quint16(pausa));
    b.setToolTip(QStringLiteral("Mes siguiente"));
    b.resize(25, 25);
    b.show();
    QSignalSpy clics(&b, &QAbstractButton::clicked);

    QTest::mousePress(&b, Qt::LeftButton);
    QCOMPARE(b.toolTip(), QString()); // no hint while repeating
    QCOMPARE(mantener(b, sujeto_ms), instantes);
    QCOMPARE(clics.count(), instantes.size());

    QTest::mouseRelease(&b, Qt::LeftButton);
    QCOMPARE(clics.count(), instantes.size() + 1); // one more on release
    QCOMPARE(b.toolTip(), QStringLiteral("Mes siguiente"));
    QVERIFY(!b.findChild<QTimer *>(QStringLiteral("RepeatTimer"))->isActive());
}

void TstRepButton::sinRepeticion()
{
    tRepButton b;
    b.setToolTip(QStringLiteral("x"));
    b.resize(25, 25);
    b.show();
    QSignalSpy clics(&b, &QAbstractButton::clicked);
    QTest::mousePress(&b, Qt::LeftButton);
    QCOMPARE(b.toolTip(), QStringLiteral("x"));
    QCOMPARE(mantener(b, 2000), QList<int>{});
    QTest::mouseRelease(&b, Qt::LeftButton);
    QCOMPARE(clics.count(), 1);
}

void TstRepButton::fueraDelBoton()
{
    // Dragged off while held: the button no longer shows pressed, so the ticks
    // raise nothing, and releasing outside raises nothing either.
    QWidget ventana;
    ventana.resize(200, 100);
    auto *b = new tRepButton(&ventana);
    b->setFRepeticion(true);
    b->setGeometry(10, 10, 25, 25);
    ventana.show();
    QSignalSpy clics(b, &QAbstractButton::clicked);
    QTest::mousePress(b, Qt::LeftButton);
    QCOMPARE(mantener(*b, 450), (QList<int>{400, 450}));
    QTest::mouseMove(b, QPoint(150, 60));
    QVERIFY(!b->isDown());
    QCOMPARE(mantener(*b, 300), QList<int>{});
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(150, 60));
    QCOMPARE(clics.count(), 2); // the two repeated before leaving, none on release
}

void TstRepButton::clicQueFalla()
{
    QList<std::exception_ptr> informados;
    Establecer_Manejador_Fallos([&](std::exception_ptr e) { informados << e; });
    const auto restaurar = qScopeGuard([] { Establecer_Manejador_Fallos({}); });
    tRepButton b;
    b.setFRepeticion(true);
    b.resize(25, 25);
    b.show();
    int clics = 0;
    connect(&b, &QAbstractButton::clicked, [&] {
        if (++clics == 2)
            throw std::runtime_error("fallo");
    });
    QTest::mousePress(&b, Qt::LeftButton);
    auto *timer = b.findChild<QTimer *>(QStringLiteral("RepeatTimer"));
    QVERIFY(timer);
    QMetaObject::invokeMethod(timer, "timeout");
    QVERIFY(timer->isActive());
    bool propagado = false;
    try {
        QMetaObject::invokeMethod(timer, "timeout");
    } catch (...) {
        propagado = true;
    }
    // Handed to the central handler where the timer fired, not through Qt's dispatch.
    QVERIFY(!propagado);
    QCOMPARE(informados.size(), 1);
    QVERIFY(!timer->isActive()); // no further clicks behind the error message
    QCOMPARE(clics, 2);
}

QTEST_MAIN(TstRepButton)
#include "tst_repbutton.moc"
