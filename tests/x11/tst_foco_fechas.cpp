// Typing a date as soon as a field gets the focus, on a real X display with real
// key presses: every date field of every editor, reached by each route (the
// dialog opening, Tab, the focus sent back after a refused date), takes the
// digits typed at once.
#include "X11Prueba.h"

#include "Aplicacion.h"
#include "Avisos.h"
#include "DBControles.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "DialogosPrueba.h"
#include "Excepciones.h"
#include "Averias.h"
#include "Mantenimiento.h"
#include "Ruedas.h"

#include <QApplication>
#include <QDialog>
#include <QScopeGuard>
#include <QPointer>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>

namespace {

const QString Placa = QStringLiteral("1234ABC");
constexpr quint32 Tecla_Tab = 0xff09;

// An editor with dates: the records its list window needs (one of its kind, for
// editing), the window that opens it with Alt+A and Alt+E, and its date fields.
struct tEditorFechas
{
    const char *nombre;
    std::function<void(DatosPrueba &)> preparar;
    std::function<std::unique_ptr<QWidget>()> ventana;
    const char *editor;
    QStringList campos;
};

const QList<tEditorFechas> &Editores()
{
    static const QList<tEditorFechas> editores{
        {"mantenimiento", [](DatosPrueba &d) { d.addMaintenance(Placa, QDate(2024, 2, 1), 10000); },
         [] { return std::make_unique<TFormMantenimiento>(); }, "TFormEdMantenimiento",
         {QStringLiteral("DBEditFecha")}},
        // A pending breakdown: the window lists those when it opens.
        {"averias", [](DatosPrueba &d) { d.addBreakdown(Placa, QDate(2024, 2, 1), 10000); },
         [] { return std::make_unique<TFormAverias>(); }, "TFormEdAverias",
         {QStringLiteral("DbEFeAveria"), QStringLiteral("DbEFeRep")}},
        {"neumaticos", [](DatosPrueba &d) { d.addTyres(Placa, QDate(2024, 2, 1), 10000); },
         [] { return std::make_unique<TFormRuedas>(); }, "TFormEdRuedas", {QStringLiteral("DBEditFecha")}},
    };
    return editores;
}

enum class Ruta { Al_Abrir, Tabulador, Fecha_Rechazada };

} // namespace

Q_DECLARE_METATYPE(Ruta)

class TstFocoFechas : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!X11Prueba::Motivo_Sin_X().isEmpty())
            QSKIP(qPrintable(QStringLiteral("sin pantalla X: ") + X11Prueba::Motivo_Sin_X()));
        Excepcion.Configurar_Excepciones(false);
    }

    void init()
    {
        Avisos_Prueba::Reiniciar();
        Avisos_Prueba::Sin_Ventanas(true);
    }

    void cleanup()
    {
        DialogosPrueba::cerrarModales();
        Avisos_Prueba::Reiniciar();
    }

    void teclearFecha_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<bool>("editar");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<Ruta>("ruta");
        const QList<QPair<const char *, Ruta>> rutas{
            {"al abrir", Ruta::Al_Abrir}, {"con el tabulador", Ruta::Tabulador},
            {"tras una fecha rechazada", Ruta::Fecha_Rechazada}};
        for (int i = 0; i < Editores().size(); ++i)
            for (const bool editar : {false, true})
                for (const QString &campo : Editores()[i].campos)
                    for (const auto &ruta : rutas) {
                        // The dialog opens on its first field only.
                        if (ruta.second == Ruta::Al_Abrir && campo != Editores()[i].campos.constFirst())
                            continue;
                        QTest::addRow("%s, %s, %s, %s", Editores()[i].nombre, editar ? "editar" : "añadir",
                                      qPrintable(campo), ruta.first)
                            << i << editar << campo << ruta.second;
                    }
    }

    void teclearFecha()
    {
        QFETCH(int, editor);
        QFETCH(bool, editar);
        QFETCH(QString, campo);
        QFETCH(Ruta, ruta);
        const tEditorFechas &e = Editores()[editor];

        DatosPrueba datos;
        QVERIFY(datos.isValid());
        const int marca = datos.addBrand(QStringLiteral("SEAT"));
        datos.addVehicle(Placa, marca, datos.addModel(QStringLiteral("IBIZA"), marca), 30000);
        e.preparar(datos);
        const auto modulo = std::make_unique<TModuloDatos>(datos.carpeta());
        const std::unique_ptr<QWidget> lista = e.ventana();
        lista->show();
        lista->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(lista.get()));

        QString escrito;
        DialogosPrueba dialogos(10000);
        dialogos.alAparecer(QString::fromLatin1(e.editor), [&](QWidget *w) {
            QPointer<QDialog> dialogo = qobject_cast<QDialog *>(w);
            const auto cerrar = qScopeGuard([&] {
                if (dialogo && dialogo->isVisible())
                    dialogo->reject();
            });
            auto *fecha = w->findChild<TDBEdit *>(campo);
            QVERIFY(fecha);
            // The window system gives the new dialog the keyboard, as a window manager would.
            QVERIFY(QTest::qWaitForWindowActive(w));
            if (ruta == Ruta::Al_Abrir) {
                QTRY_VERIFY(fecha->hasFocus());
            } else {
                // Tab round the dialog until the field has the focus again.
                if (fecha->hasFocus()) {
                    QVERIFY(X11Prueba::Pulsar(Tecla_Tab));
                    QTRY_VERIFY(!fecha->hasFocus());
                }
                for (int i = 0; i < 40 && !fecha->hasFocus(); ++i) {
                    QWidget *antes = QApplication::focusWidget();
                    QVERIFY(X11Prueba::Pulsar(Tecla_Tab));
                    QTRY_VERIFY(QApplication::focusWidget() != antes);
                }
                QVERIFY(fecha->hasFocus());
            }
            if (ruta == Ruta::Fecha_Rechazada) {
                // Refused on leaving: the notice, and the focus back in the field.
                QVERIFY(X11Prueba::Teclear(QStringLiteral("31022024")));
                QTRY_COMPARE(fecha->displayText(), QStringLiteral("31/02/2024"));
                QVERIFY(X11Prueba::Pulsar(Tecla_Tab));
                QTRY_VERIFY(!Avisos_Prueba::Mostrados().isEmpty());
                QCOMPARE(Avisos_Prueba::Mostrados().constLast().Texto, QStringLiteral("La fecha \"31/02/2024\" no es correcta"));
                QTRY_VERIFY(fecha->hasFocus());
            }
            QVERIFY(X11Prueba::Teclear(QStringLiteral("10012024")));
            QTRY_COMPARE(fecha->displayText(), QStringLiteral("10/01/2024"));
            escrito = fecha->displayText();
        });
        QVERIFY(X11Prueba::Pulsar(editar ? 'e' : 'a', Qt::AltModifier));
        QVERIFY2(dialogos.esperar(), qPrintable(dialogos.errores().join(QLatin1Char('\n'))));
        QCOMPARE(escrito, QStringLiteral("10/01/2024"));
    }
};

X11PRUEBA_MAIN(TstFocoFechas, tAplicacion)

#include "tst_foco_fechas.moc"
