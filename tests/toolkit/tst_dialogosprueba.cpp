// The helper that drives modal windows: it acts on windows in the order they
// come up, nested ones included, and gives up instead of hanging.
#include "DialogosPrueba.h"

#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

namespace {
QDialog *dialogo(const QString &nombre, const QString &titulo, QWidget *padre = nullptr)
{
    auto d = new QDialog(padre);
    d->setObjectName(nombre);
    d->setWindowTitle(titulo);
    auto capa = new QVBoxLayout(d);
    auto si = new QPushButton(QStringLiteral(" &Sí"), d);
    auto no = new QPushButton(QStringLiteral(" &No"), d);
    capa->addWidget(si);
    capa->addWidget(no);
    QObject::connect(si, &QPushButton::clicked, d, &QDialog::accept);
    QObject::connect(no, &QPushButton::clicked, d, &QDialog::reject);
    return d;
}
}

class TstDialogosPrueba : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { DialogosPrueba::cerrarModales(); }

    void botonPorCaption_data();
    void botonPorCaption();
    void ventanasAnidadas();
    void sinVentanaFallaSinColgarse();
    void ventanaInesperadaSeCierra();
    void esperarModalSinBloqueo();
};

void TstDialogosPrueba::botonPorCaption_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("resultado"); // -1: no such button
    QTest::newRow("exacto") << " &Sí" << int(QDialog::Accepted);
    QTest::newRow("sin & ni blancos") << "Sí" << int(QDialog::Accepted);
    QTest::newRow("otra caja") << "no" << int(QDialog::Rejected);
    QTest::newRow("no existe") << "Cancelar" << -1;
}

void TstDialogosPrueba::botonPorCaption()
{
    QFETCH(QString, caption);
    QFETCH(int, resultado);
    std::unique_ptr<QDialog> d(dialogo("Pregunta", "Confirmación"));
    DialogosPrueba ayudante;
    bool pulsado = false;
    ayudante.alAparecer("Pregunta", [&](QWidget *w) {
        pulsado = DialogosPrueba::pulsarBoton(w, caption);
        if (!pulsado)
            DialogosPrueba::cerrarModales();
    });
    const int r = d->exec();
    QCOMPARE(pulsado, resultado >= 0);
    if (resultado >= 0)
        QCOMPARE(r, resultado);
    QCOMPARE(ayudante.titulos(), QStringList{"Confirmación"});
    QVERIFY(ayudante.correcto());
}

void TstDialogosPrueba::ventanasAnidadas()
{
    std::unique_ptr<QDialog> editor(dialogo("Editor", "Editar"));
    DialogosPrueba ayudante;
    int interior = -1;
    ayudante.alAparecer("Editor", [&](QWidget *w) {
        std::unique_ptr<QDialog> calendario(dialogo("Calendario", "Seleccionar una fecha", w));
        interior = calendario->exec(); // handled by the next expectation, inside this one
        DialogosPrueba::pulsarBoton(w, "Sí");
    });
    ayudante.pulsarAlAparecer("QDialog", "No");
    QCOMPARE(editor->exec(), int(QDialog::Accepted));
    QCOMPARE(interior, int(QDialog::Rejected));
    QCOMPARE(ayudante.atendidos(), 2);
    QCOMPARE(ayudante.titulos(), (QStringList{"Editar", "Seleccionar una fecha"}));
    QVERIFY(ayudante.correcto());
}

void TstDialogosPrueba::sinVentanaFallaSinColgarse()
{
    DialogosPrueba ayudante(200);
    ayudante.alAparecer("Nunca", [](QWidget *) {});
    QVERIFY(!ayudante.esperar());
    QCOMPARE(ayudante.errores().size(), 1);
    QVERIFY(ayudante.errores().first().contains("Nunca"));
}

void TstDialogosPrueba::ventanaInesperadaSeCierra()
{
    std::unique_ptr<QDialog> otro(dialogo("Otro", "Aviso"));
    DialogosPrueba ayudante(200);
    ayudante.alAparecer("Editor", [](QWidget *) {});
    // Without the helper's give-up this exec() would never return.
    QCOMPARE(otro->exec(), int(QDialog::Rejected));
    QVERIFY(!ayudante.correcto());
    QVERIFY(ayudante.errores().first().contains("Otro"));
    QCOMPARE(ayudante.atendidos(), 0);
}

void TstDialogosPrueba::esperarModalSinBloqueo()
{
    std::unique_ptr<QDialog> d(dialogo("Calendario", "Seleccionar una fecha"));
    d->open();
    QCOMPARE(DialogosPrueba::esperarModal("Calendario"), d.get());
    DialogosPrueba::pulsarTecla(d.get(), Qt::Key_Escape);
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Rejected));
}

QTEST_MAIN(TstDialogosPrueba)
#include "tst_dialogosprueba.moc"
