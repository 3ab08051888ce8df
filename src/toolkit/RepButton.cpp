// Auto-repeating flat button: a first pause, then a shorter one between clicks.
#include "RepButton.h"

#include "Protegido.h"

#include <QMouseEvent>
#include <QTimer>

tRepButton::tRepButton(QWidget *parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
}

void tRepButton::mousePressEvent(QMouseEvent *e)
{
    QToolButton::mousePressEvent(e);
    if (e->button() != Qt::LeftButton || !isDown())
        return;
    m_sujeto = true;
    if (m_repeticion) {
        m_hint = toolTip(); // no tooltip while repeating
        setToolTip(QString());
        if (!m_timer) {
            m_timer = new QTimer(this);
            m_timer->setObjectName(QStringLiteral("RepeatTimer"));
            connect(m_timer, &QTimer::timeout, this, &tRepButton::TimerExpired);
        }
        m_timer->setInterval(m_pausaInicial);
        m_timer->start();
    }
}

void tRepButton::TimerExpired()
{
    m_timer->setInterval(m_pausa);
    if (!isDown() || !m_sujeto)
        return;
    try {
        emit clicked(isChecked());
    } catch (...) {
        // A click that failed must not go on repeating behind the error message,
        // and its failure must not travel on through the timer's dispatch.
        m_timer->stop();
        Informar_Fallo(std::current_exception());
    }
}

void tRepButton::mouseReleaseEvent(QMouseEvent *e)
{
    const bool eraNuestro = e->button() == Qt::LeftButton && m_sujeto;
    if (eraNuestro) {
        // Done before the last click, which may open a window or fail.
        m_sujeto = false;
        if (m_timer)
            m_timer->stop();
        if (m_repeticion)
            setToolTip(m_hint);
    }
    QToolButton::mouseReleaseEvent(e); // one more click when still over the button
}
