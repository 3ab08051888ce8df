// Base form and window placement.
#include "FormBase.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>
#include <cmath>

namespace {
QPointer<QWidget> g_ventanaPrincipal;

QScreen *pantallaDe(const QWidget *w)
{
    QScreen *s = w ? w->screen() : nullptr;
    return s ? s : QGuiApplication::primaryScreen();
}

void escalarFuente(QWidget *w, int porcentaje)
{
    QFont f = w->font();
    if (f.pointSizeF() > 0)
        f.setPointSizeF(f.pointSizeF() * porcentaje / 100.0);
    else if (f.pixelSize() > 0)
        f.setPixelSize(std::max(1, int(std::lround(f.pixelSize() * porcentaje / 100.0))));
    w->setFont(f);
}

int escalar(int v, int porcentaje)
{
    return int(std::lround(double(v) * porcentaje / 100.0));
}
}

double Exceso_Formulario(QSize forma, QSize pantalla)
{
    if (pantalla.width() <= 0 || pantalla.height() <= 0)
        return 0;
    double a = 0;
    if (forma.width() >= pantalla.width() - 1)
        a = (double(forma.width()) / pantalla.width() - 1) * 100 + 1;
    if (forma.height() >= pantalla.height() - 1) {
        const double b = (double(forma.height()) / pantalla.height() - 1) * 100 + 1;
        a = std::max(a, b);
    }
    return a;
}

int Porcentaje_Escala(QSize forma, QSize pantalla)
{
    const double a = Exceso_Formulario(forma, pantalla);
    if (a <= 0)
        return 100;
    // Rounded to the nearest, halves to the even neighbour.
    const int escala = 100 - int(std::nearbyint(a));
    if (escala >= 1)
        return escala;
    const double cabe = std::min(double(pantalla.width()) / forma.width(), double(pantalla.height()) / forma.height());
    return std::max(1, int(std::floor(cabe * 100)));
}

QRect Geometria_Ajustada(QSize forma, const QRect &monitor, int porcentaje)
{
    if (porcentaje >= 100)
        return monitor;
    QSize tam = forma;
    if (porcentaje > 0) {
        tam = QSize(monitor.width() * porcentaje / 100, monitor.height() * porcentaje / 100);
    } else if (forma.width() > monitor.width() || forma.height() > monitor.height()) {
        return monitor;
    }
    return QRect(monitor.left() + (monitor.width() - tam.width()) / 2,
                 monitor.top() + (monitor.height() - tam.height()) / 2, tam.width(), tam.height());
}

void Ajustar_Ventana(QWidget *Form, quint8 Porcentaje)
{
    if (!Form)
        return;
    if (Form->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
        Form->setWindowState(Form->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    // The sizes are outer sizes: the window manager's frame is part of them.
    const QSize marco = Form->frameGeometry().size() - Form->size();
    const QRect destino = Geometria_Ajustada(Form->frameGeometry().size(), pantallaDe(Form)->geometry(), Porcentaje);
    Form->resize(destino.size() - marco);
    Form->move(destino.topLeft());
}

void Escalar_Formulario(QWidget *Form, int porcentaje)
{
    if (!Form || porcentaje == 100 || porcentaje <= 0)
        return;
    escalarFuente(Form, porcentaje);
    const auto hijos = Form->findChildren<QWidget *>();
    for (QWidget *w : hijos) {
        if (w->isWindow())
            continue;
        const QRect g = w->geometry();
        w->setGeometry(escalar(g.x(), porcentaje), escalar(g.y(), porcentaje),
                       escalar(g.width(), porcentaje), escalar(g.height(), porcentaje));
        if (w->testAttribute(Qt::WA_SetFont))
            escalarFuente(w, porcentaje);
    }
    const QSize minimo = Form->minimumSize(), maximo = Form->maximumSize();
    const QSize nuevo(escalar(Form->width(), porcentaje), escalar(Form->height(), porcentaje));
    if (minimo == maximo && !minimo.isEmpty())
        Form->setFixedSize(nuevo);
    else
        Form->resize(nuevo);
}

void Fijar_Ventana_Principal(QWidget *ventana)
{
    g_ventanaPrincipal = ventana;
}

QWidget *Ventana_Principal()
{
    return g_ventanaPrincipal;
}

tFormBase::tFormBase(QWidget *parent, Qt::WindowFlags f) : QDialog(parent, f)
{
}

void tFormBase::Adaptar_A_Pantalla(QSize pantalla)
{
    if (m_adaptado)
        return;
    m_adaptado = true;
    if (pantalla.width() < Ancho_Pantalla_Pequena) {
        if (this == Ventana_Principal()) {
            Ajustar_Ventana(this, 95);
        } else {
            m_escala = Porcentaje_Escala(frameGeometry().size(), pantalla);
            Escalar_Formulario(this, m_escala);
        }
    }
    if (auto panel = findChild<QWidget *>(QStringLiteral("PanelDatos"))) {
        QPalette p = panel->palette();
        p.setColor(QPalette::Window, Color_Datos);
        panel->setPalette(p);
        panel->setAutoFillBackground(true);
    }
}

void tFormBase::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        Adaptar_A_Pantalla(pantallaDe(this)->geometry().size());
    QDialog::showEvent(event);
}
