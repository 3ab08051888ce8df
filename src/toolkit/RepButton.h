// tRepButton: a flat button that repeats its click while it is held down.
#pragma once

#include <QString>
#include <QToolButton>

class QTimer;

class tRepButton : public QToolButton
{
    Q_OBJECT
    Q_PROPERTY(bool fRepeticion READ fRepeticion WRITE setFRepeticion)
    Q_PROPERTY(quint16 InitRepeatPause READ initRepeatPause WRITE setInitRepeatPause)
    Q_PROPERTY(quint16 RepeatPause READ repeatPause WRITE setRepeatPause)

public:
    explicit tRepButton(QWidget *parent = nullptr);

    bool fRepeticion() const { return m_repeticion; }
    void setFRepeticion(bool on) { m_repeticion = on; }
    quint16 initRepeatPause() const { return m_pausaInicial; }
    void setInitRepeatPause(quint16 ms) { m_pausaInicial = ms; }
    quint16 repeatPause() const { return m_pausa; }
    void setRepeatPause(quint16 ms) { m_pausa = ms; }

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private slots:
    void TimerExpired();

private:
    bool m_repeticion = false;
    quint16 m_pausaInicial = 400;
    quint16 m_pausa = 50;
    bool m_sujeto = false; // the mouse button that pressed us is still down
    QTimer *m_timer = nullptr;
    QString m_hint;
};
