#include "DialogosPrueba.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {
constexpr int Intervalo_ms = 10;

QString sinAceleradores(QString s)
{
    s.remove(QLatin1Char('&'));
    return s.trimmed();
}
}

DialogosPrueba::DialogosPrueba(int espera_ms, QObject *parent)
    : QObject(parent), m_espera_ms(espera_ms)
{
    m_reloj.setInterval(Intervalo_ms);
    connect(&m_reloj, &QTimer::timeout, this, &DialogosPrueba::sondear);
}

DialogosPrueba::~DialogosPrueba() = default;

DialogosPrueba &DialogosPrueba::alAparecer(const QString &nombre, Accion accion)
{
    m_cola.append({nombre, std::move(accion)});
    if (!m_reloj.isActive()) {
        m_desde.start();
        m_reloj.start();
    }
    return *this;
}

DialogosPrueba &DialogosPrueba::pulsarAlAparecer(const QString &nombre, const QString &caption)
{
    return alAparecer(nombre, [this, caption](QWidget *w) {
        if (!pulsarBoton(w, caption)) {
            m_errores << QStringLiteral("no hay botón \"%1\" en %2").arg(caption, w->objectName());
            cerrarModales();
        }
    });
}

DialogosPrueba &DialogosPrueba::teclaAlAparecer(const QString &nombre, int tecla)
{
    return alAparecer(nombre, [tecla](QWidget *w) { pulsarTecla(w, tecla); });
}

bool DialogosPrueba::coincide(const QWidget *w, const QString &nombre)
{
    return nombre.isEmpty() || w->objectName() == nombre
        || QLatin1String(w->metaObject()->className()) == nombre;
}

void DialogosPrueba::sondear()
{
    if (m_cola.isEmpty()) {
        m_reloj.stop();
        return;
    }
    QWidget *w = QApplication::activeModalWidget();
    const bool nuevo = w && w->isVisible()
        && std::none_of(m_vistos.cbegin(), m_vistos.cend(), [w](const QPointer<QWidget> &p) { return p == w; });
    if (nuevo && coincide(w, m_cola.first().nombre)) {
        // Taken off the queue before acting: the action may open a nested modal
        // window, and polling must go on inside it for the next one. Qt does not
        // fire a timer again while its own slot runs, so the action runs from a
        // posted call rather than from here.
        const Esperado e = m_cola.takeFirst();
        m_vistos.append(w);
        m_titulos << titulo(w);
        m_textos << texto(w);
        ++m_atendidos;
        m_desde.start();
        if (m_cola.isEmpty())
            m_reloj.stop();
        QPointer<QWidget> ventana = w;
        QMetaObject::invokeMethod(
            this,
            [this, ventana, e] {
                if (ventana)
                    e.accion(ventana);
                else
                    m_errores << QStringLiteral("la ventana \"%1\" se cerró antes de atenderla").arg(e.nombre);
            },
            Qt::QueuedConnection);
        return;
    }
    if (m_desde.elapsed() > m_espera_ms) {
        const QString visto = w ? QStringLiteral("%1 (%2)").arg(w->objectName(), titulo(w))
                                : QStringLiteral("ninguna");
        rendirse(QStringLiteral("no apareció la ventana \"%1\"; ventana modal activa: %2")
                     .arg(m_cola.first().nombre, visto));
    }
}

void DialogosPrueba::rendirse(const QString &motivo)
{
    m_errores << motivo;
    m_cola.clear();
    m_reloj.stop();
    cerrarModales();
}

bool DialogosPrueba::esperar()
{
    while (!m_cola.isEmpty()) {
        QTest::qWait(Intervalo_ms);
        if (m_desde.elapsed() > m_espera_ms + 10 * Intervalo_ms && !m_cola.isEmpty())
            rendirse(QStringLiteral("no apareció la ventana \"%1\"").arg(m_cola.first().nombre));
    }
    return correcto();
}

QWidget *DialogosPrueba::esperarModal(const QString &nombre, int espera_ms)
{
    QElapsedTimer desde;
    desde.start();
    do {
        QWidget *w = QApplication::activeModalWidget();
        if (w && w->isVisible() && coincide(w, nombre))
            return w;
        QTest::qWait(Intervalo_ms);
    } while (desde.elapsed() <= espera_ms);
    return nullptr;
}

QString DialogosPrueba::titulo(const QWidget *ventana)
{
    return ventana ? ventana->windowTitle() : QString();
}

QString DialogosPrueba::texto(const QWidget *ventana)
{
    if (!ventana)
        return QString();
    if (auto mb = qobject_cast<const QMessageBox *>(ventana))
        return mb->text();
    const QVariant publicado = ventana->property("Texto");
    if (publicado.isValid())
        return publicado.toString();
    if (auto lbl = ventana->findChild<QLabel *>(QStringLiteral("LblMensaje")))
        return lbl->text();
    QStringList partes;
    for (QLabel *l : ventana->findChildren<QLabel *>())
        if (l->isVisible() && !l->text().isEmpty())
            partes << l->text();
    return partes.join(QLatin1Char('\n'));
}

QAbstractButton *DialogosPrueba::boton(const QWidget *ventana, const QString &caption)
{
    if (!ventana)
        return nullptr;
    const auto botones = ventana->findChildren<QAbstractButton *>();
    for (QAbstractButton *b : botones)
        if (b->isVisible() && b->text() == caption)
            return b;
    const QString buscado = sinAceleradores(caption);
    for (QAbstractButton *b : botones)
        if (b->isVisible() && sinAceleradores(b->text()).compare(buscado, Qt::CaseInsensitive) == 0)
            return b;
    return nullptr;
}

bool DialogosPrueba::pulsarBoton(QWidget *ventana, const QString &caption)
{
    QAbstractButton *b = boton(ventana, caption);
    if (!b || !b->isEnabled())
        return false;
    b->click();
    return true;
}

void DialogosPrueba::pulsarTecla(QWidget *ventana, int tecla, Qt::KeyboardModifiers mod)
{
    if (!ventana)
        return;
    QWidget *destino = ventana->focusWidget() ? ventana->focusWidget() : ventana;
    QTest::keyClick(destino, Qt::Key(tecla), mod);
}

int DialogosPrueba::cerrarModales()
{
    int cerrados = 0;
    // Bounded: a window that refuses to close must not keep the test here.
    for (int i = 0; i < 20; ++i) {
        QWidget *w = QApplication::activeModalWidget();
        if (!w)
            break;
        if (auto d = qobject_cast<QDialog *>(w))
            d->reject();
        else
            w->close();
        ++cerrados;
        QCoreApplication::processEvents();
    }
    return cerrados;
}

bool Abre_Editor(QAbstractButton *boton)
{
    bool abierto = false;
    QTimer vigia;
    vigia.setInterval(20);
    QObject::connect(&vigia, &QTimer::timeout, [&] {
        auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (d && QByteArray(d->metaObject()->className()).startsWith("TFormEd")) {
            abierto = true;
            d->reject();
        }
    });
    vigia.start();
    boton->click();
    return abierto;
}
