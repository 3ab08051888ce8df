// Drives modal windows from a test without timers of fixed length: the helper
// polls the active modal widget, acts on each expected window in turn, counts
// what it handled and gives up (closing whatever is modal) after a time-out,
// so a test fails instead of hanging in exec().
#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>


class DialogosPrueba : public QObject
{
    Q_OBJECT
public:
    using Accion = std::function<void(QWidget *)>;

    // `espera_ms` is how long each expected window may take to come up.
    explicit DialogosPrueba(int espera_ms = 5000, QObject *parent = nullptr);
    ~DialogosPrueba() override;

    // Queues an expected modal window and what to do with it. `nombre` is its
    // objectName or class name (empty: any modal window). The actions run in
    // the order the windows appear; polling starts with the first call.
    DialogosPrueba &alAparecer(const QString &nombre, Accion accion);
    // Shorthands: press the button whose caption is `caption` (see pulsarBoton),
    // or send one key to the window's focus widget.
    DialogosPrueba &pulsarAlAparecer(const QString &nombre, const QString &caption);
    DialogosPrueba &teclaAlAparecer(const QString &nombre, int tecla);

    // Windows handled so far and the failures seen (an expected window that did
    // not come up in time, a button that was not there).
    int atendidos() const { return m_atendidos; }
    int pendientes() const { return int(m_cola.size()); }
    QStringList errores() const { return m_errores; }
    bool correcto() const { return m_errores.isEmpty() && m_cola.isEmpty(); }
    // Caption and text of every window handled, in order.
    QStringList titulos() const { return m_titulos; }
    QStringList textos() const { return m_textos; }

    // Processes events until the queue is empty or a time-out struck; for
    // windows opened without blocking the test (show(), open()).
    bool esperar();

    // Waits (processing events) for a modal window named `nombre`; nullptr after
    // the time-out. For tests that open the window without exec().
    static QWidget *esperarModal(const QString &nombre = QString(), int espera_ms = 5000);

    // What a window shows: its caption, and its message (a QMessageBox's text,
    // the property "Texto" a window publishes its message in, the label
    // "LblMensaje", or else the visible labels joined by newlines).
    static QString titulo(const QWidget *ventana);
    static QString texto(const QWidget *ventana);
    // Finds a button by caption: exact first, then ignoring '&' and outer blanks.
    static QAbstractButton *boton(const QWidget *ventana, const QString &caption);
    // Clicks it; false when there is no such enabled button.
    static bool pulsarBoton(QWidget *ventana, const QString &caption);
    // Sends a key press to the window's focus widget (or the window itself).
    static void pulsarTecla(QWidget *ventana, int tecla, Qt::KeyboardModifiers mod = Qt::NoModifier);
    // Closes every modal window still open (rejecting dialogs); for cleanup().
    static int cerrarModales();

private slots:
    void sondear();

private:
    struct Esperado
    {
        QString nombre;
        Accion accion;
    };
    static bool coincide(const QWidget *w, const QString &nombre);
    void rendirse(const QString &motivo);

    QList<Esperado> m_cola;
    QList<QPointer<QWidget>> m_vistos;
    QStringList m_errores, m_titulos, m_textos;
    QTimer m_reloj;
    QElapsedTimer m_desde; // since the last window was handled
    int m_espera_ms;
    int m_atendidos = 0;
};

// Clicks `boton` where no editor dialog (a window whose class starts with "TFormEd")
// may open; one that opens all the same is closed at once and reported, so the
// test fails instead of waiting forever.
bool Abre_Editor(QAbstractButton *boton);

// Clicks `boton` and lets `accion` work on the editor of class `Editor` while it
// is open. An editor a failed check left open is closed, so the test goes on
// instead of hanging; false when no such editor came up.
template <class Editor>
bool Usar_Editor(QAbstractButton *boton, const std::function<void(Editor *)> &accion)
{
    DialogosPrueba dialogos;
    dialogos.alAparecer(QString::fromLatin1(Editor::staticMetaObject.className()), [&](QWidget *w) {
        QPointer<QDialog> d = qobject_cast<QDialog *>(w);
        accion(qobject_cast<Editor *>(w));
        if (d && d->isVisible())
            d->reject();
    });
    boton->click();
    return dialogos.esperar();
}
