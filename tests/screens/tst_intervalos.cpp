// The maintenance interval windows driven headless: the values shown per brand,
// the one-interval-per-brand rule, the empty notices, the editor's OK button,
// what is stored, and the values never keeping the focus.
#include "Avisos.h"
#include "DBControles.h"
#include "DBGrid.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "DialogosPrueba.h"
#include "EdIntervalos.h"
#include "Excepciones.h"
#include "Intervalos.h"
#include "Table.h"
#include "Teclado.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// Three brands: the first with a full interval, the second with the oil change
// only, the third with none; the module over them and the list window.
struct Marcas
{
    DatosPrueba datos;
    int seat = 0, fiat = 0, opel = 0;
    std::unique_ptr<TModuloDatos> modulo;
    std::unique_ptr<TFormIntervalos> ventana;

    Marcas()
    {
        seat = datos.addBrand(QStringLiteral("SEAT"));
        fiat = datos.addBrand(QStringLiteral("FIAT"));
        opel = datos.addBrand(QStringLiteral("OPEL"));
        QMap<QString, int> todos;
        for (int i = 0; i < Num_Tareas; ++i)
            todos.insert(Tareas()[std::size_t(i)].Campo, 1000 * (i + 1));
        datos.addInterval(seat, todos);
        datos.addInterval(fiat, {{QStringLiteral("C_ACEITE"), 15000}});
    }

    bool abrir()
    {
        modulo = std::make_unique<TModuloDatos>(datos.carpeta());
        ventana = std::make_unique<TFormIntervalos>();
        ventana->show();
        return QTest::qWaitForWindowExposed(ventana.get());
    }

    // Moves the brand grid to the brand named `nombre`.
    void ir(const QString &nombre)
    {
        TTable *t = modulo->TableMarcas;
        for (int fila = 0; fila < t->recordCount(); ++fila) {
            if (t->valueAt(fila, t->fieldByName(QStringLiteral("MARCA"))).toString() == nombre) {
                ventana->DBGrid->selectRow(fila);
                return;
            }
        }
        QFAIL("no such brand");
    }

    QStringList valores() const
    {
        QStringList v;
        for (const TDBEdit *e : ventana->Campos)
            v << e->text();
        return v;
    }

    // Interval records stored in the file, as brand -> (field -> value).
    QMap<int, QMap<QString, QVariant>> guardados() const
    {
        QMap<int, QMap<QString, QVariant>> todos;
        for (const auto &r : datos.registros(QStringLiteral("KmCambios.DAT")))
            todos.insert(r.value(QStringLiteral("MARCA")).toInt(), r);
        return todos;
    }

    bool usarEditor(QToolButton *boton, std::function<void(TFormEdIntervalos *)> accion)
    {
        return Usar_Editor<TFormEdIntervalos>(boton, accion);
    }
};


} // namespace

class TstIntervalos : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void ventana();
    void valoresPorMarca();
    void sinIntervalo_data();
    void sinIntervalo();
    void anadir();
    void segundoIntervalo();
    void editarYEliminar();
    void focoVuelveALaRejilla();
};

void TstIntervalos::initTestCase()
{
    Excepcion.Configurar_Excepciones(false);
}

void TstIntervalos::init()
{
    Avisos_Prueba::Reiniciar();
    Avisos_Prueba::Sin_Ventanas(true);
}

void TstIntervalos::cleanup()
{
    DialogosPrueba::cerrarModales();
    Avisos_Prueba::Reiniciar();
}

void TstIntervalos::ventana()
{
    Marcas m;
    m.modulo = std::make_unique<TModuloDatos>(m.datos.carpeta());
    m.modulo->Pantalla_Activa = Pantalla_Mantenimiento;
    m.ventana = std::make_unique<TFormIntervalos>();
    m.ventana->show();
    QVERIFY(QTest::qWaitForWindowExposed(m.ventana.get()));
    QCOMPARE(m.ventana->windowTitle(), QStringLiteral("Intervalos de mantenimiento"));
    QCOMPARE(m.modulo->Pantalla_Activa, quint8(Pantalla_Ninguna));
    QCOMPARE(m.ventana->DBGrid->gridModel()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("MARCA"));
    QCOMPARE(m.ventana->PnlIntervalos->toolTip(), QStringLiteral("Doble Click para editar"));

    const QStringList etiquetas{"C. Aceite", "F. Aceite",     "F. Aire",     "F.Combus.", "L. Refrig.",
                                "L. Frenos", "P. Delanteras", "P. Traseras", "ATF Caja",  "ATF Conv.",
                                "ATF Dif.",  "Bujias",        "Engrase"};
    int y = -1;
    for (int i = 0; i < Num_Tareas; ++i) {
        const TDBEdit *e = m.ventana->Campos[std::size_t(i)];
        QVERIFY(e->isReadOnly());
        QVERIFY(e->y() > y); // one under the other
        y = e->y();
        auto *l = m.ventana->findChild<QLabel *>(QStringLiteral("Lbl") + Sufijo_Tarea(i));
        QVERIFY(l);
        QCOMPARE(l->text(), etiquetas[i]);
    }
}

void TstIntervalos::valoresPorMarca()
{
    Marcas m;
    QVERIFY(m.abrir());
    const QStringList vacios(Num_Tareas, QString());
    QCOMPARE(m.valores()[0], QStringLiteral("1.000"));
    QCOMPARE(m.valores()[12], QStringLiteral("13.000"));

    QStringList soloAceite = vacios;
    soloAceite[0] = QStringLiteral("15.000");
    m.ir(QStringLiteral("FIAT"));
    QCOMPARE(m.valores(), soloAceite);
    m.ir(QStringLiteral("OPEL"));
    QCOMPARE(m.valores(), vacios);
    m.ir(QStringLiteral("SEAT"));
    QCOMPARE(m.valores()[4], QStringLiteral("5.000"));
}

void TstIntervalos::sinIntervalo_data()
{
    QTest::addColumn<bool>("eliminar");
    QTest::addColumn<QString>("titulo");

    QTest::newRow("editar") << false << "Error al editar Intervalo de mantenimiento.";
    QTest::newRow("eliminar") << true << "Error al eliminar Intervalo de mantenimiento.";
}

void TstIntervalos::sinIntervalo()
{
    QFETCH(bool, eliminar);
    QFETCH(QString, titulo);

    Marcas m;
    QVERIFY(m.abrir());
    m.ir(QStringLiteral("OPEL"));
    QVERIFY(!Abre_Editor(eliminar ? m.ventana->BtnEliminar : m.ventana->BtnEditar));
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
    QCOMPARE(Avisos_Prueba::Mostrados()[0].Titulo, titulo);
    QCOMPARE(Avisos_Prueba::Mostrados()[0].Texto,
             QStringLiteral("La base de datos de Intervalos de mantenimiento está vacía."));
    QCOMPARE(m.ventana->windowTitle(), QStringLiteral("Intervalos de mantenimiento"));
    QCOMPARE(m.guardados().size(), 2);
}

// The editor waits for the oil change distance; the other tasks may stay empty.
void TstIntervalos::anadir()
{
    Marcas m;
    QVERIFY(m.abrir());
    m.ir(QStringLiteral("OPEL"));
    QVERIFY(m.usarEditor(m.ventana->BtnAnadir, [](TFormEdIntervalos *e) {
        QCOMPARE(e->windowTitle(), QStringLiteral("Añadir Intervalo de mantenimiento"));
        QVERIFY(!e->BtnAceptar->isEnabled());
        QVERIFY(e->EditC_Aceite->hasFocus());
        Escribir(e->findChild<QLineEdit *>("EditBujias"), QStringLiteral("60000"));
        QVERIFY(!e->BtnAceptar->isEnabled());
        Escribir(e->EditC_Aceite, QStringLiteral("10000"));
        QVERIFY(e->BtnAceptar->isEnabled());
        Escribir(e->EditC_Aceite, QString());
        QVERIFY(!e->BtnAceptar->isEnabled());
        Escribir(e->EditC_Aceite, QStringLiteral("12000"));
        e->BtnAceptar->click();
    }));
    const auto g = m.guardados();
    QCOMPARE(g.size(), 3);
    QVERIFY(g.contains(m.opel));
    QCOMPARE(g[m.opel].value("C_ACEITE").toInt(), 12000);
    QCOMPARE(g[m.opel].value("BUJIAS").toInt(), 60000);
    QVERIFY(g[m.opel].value("F_AIRE").isNull());
    QCOMPARE(m.valores()[0], QStringLiteral("12.000"));
    QCOMPARE(m.valores()[11], QStringLiteral("60.000"));
    // The other brands' intervals are untouched.
    QCOMPARE(g[m.fiat].value("C_ACEITE").toInt(), 15000);
}

void TstIntervalos::segundoIntervalo()
{
    Marcas m;
    QVERIFY(m.abrir());
    m.ir(QStringLiteral("FIAT"));
    QVERIFY(!Abre_Editor(m.ventana->BtnAnadir));
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
    QCOMPARE(Avisos_Prueba::Mostrados()[0].Titulo, QStringLiteral("Error"));
    QCOMPARE(Avisos_Prueba::Mostrados()[0].Texto, QStringLiteral("Sólo se permite un Intervalo de mantenimiento"));
    QCOMPARE(Avisos_Prueba::Mostrados()[0].Tipo, avError);
    QCOMPARE(m.guardados().size(), 2);
}

// Editing changes the one value; deleting removes the interval and not the brand.
void TstIntervalos::editarYEliminar()
{
    Marcas m;
    QVERIFY(m.abrir());
    m.ir(QStringLiteral("FIAT"));
    QVERIFY(m.usarEditor(m.ventana->BtnEditar, [](TFormEdIntervalos *e) {
        QCOMPARE(e->windowTitle(), QStringLiteral("Editar Intervalo de mantenimiento"));
        QVERIFY(e->BtnAceptar->isEnabled());
        Escribir(e->findChild<QLineEdit *>("EditF_Aire"), QStringLiteral("30000"));
        // A digit added to a distance shown with its thousands grouped.
        e->EditC_Aceite->setFocus(Qt::OtherFocusReason);
        e->EditC_Aceite->end(false);
        QTest::keyClick(e->EditC_Aceite, Qt::Key_0);
        e->BtnAceptar->click();
    }));
    QCOMPARE(m.guardados()[m.fiat].value("F_AIRE").toInt(), 30000);
    QCOMPARE(m.guardados()[m.fiat].value("C_ACEITE").toInt(), 150000);
    QCOMPARE(m.valores()[2], QStringLiteral("30.000"));

    Avisos_Prueba::Programar_Respuesta(true);
    QVERIFY(m.usarEditor(m.ventana->BtnEliminar, [](TFormEdIntervalos *e) {
        QVERIFY(!e->PnlDatos->isEnabled());
        e->BtnAceptar->click();
    }));
    QVERIFY(!m.guardados().contains(m.fiat));
    QCOMPARE(m.guardados().size(), 1);
    QCOMPARE(m.valores(), QStringList(Num_Tareas, QString()));
    QCOMPARE(m.modulo->TableMarcas->recordCount(), 3);
    QCOMPARE(m.modulo->TableMarcas->fieldByName("MARCA")->asString(), QStringLiteral("FIAT"));
}

void TstIntervalos::focoVuelveALaRejilla()
{
    Marcas m;
    QVERIFY(m.abrir());
    m.ventana->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m.ventana.get()));
    m.ventana->BtnCerrar->setFocus();
    TDBEdit *valor = m.ventana->Campos[5];
    QTest::mouseClick(valor, Qt::LeftButton);
    QTRY_VERIFY(m.ventana->DBGrid->hasFocus());

    // A double click on a value edits the interval.
    DialogosPrueba dialogos;
    dialogos.alAparecer(QStringLiteral("TFormEdIntervalos"), [](QWidget *w) {
        QCOMPARE(w->windowTitle(), QStringLiteral("Editar Intervalo de mantenimiento"));
        qobject_cast<TFormEdIntervalos *>(w)->BtnCancelar->click();
    });
    QTest::mouseDClick(valor, Qt::LeftButton);
    QVERIFY(dialogos.esperar());
}

QTEST_MAIN(TstIntervalos)
#include "tst_intervalos.moc"
