// The top-level windows of other programs on the test's X display: which are on
// screen, their titles and window classes, and giving one the keyboard focus (with no
// window manager on Xvfb, nobody else does).
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

namespace VentanasX {

struct tVentana
{
    quint32 Id = 0;
    QString Titulo;      // _NET_WM_NAME, or WM_NAME
    QByteArray Clase;    // the class half of WM_CLASS ("Quelvaro")
};

// The windows mapped on the screen, children of the root window.
QList<tVentana> Visibles();
// Gives `Id` the keyboard focus; the next key presses go to it.
bool Enfocar(quint32 Id);
// Whether `Id` is still mapped.
bool Visible(quint32 Id);

} // namespace VentanasX
