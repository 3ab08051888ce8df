// Tests that only a real X display shows: a private Xvfb server for the whole test
// program, real key events through the XTest extension (they reach whichever window
// holds the X input focus, as a keyboard's do), and what the window system holds of
// a window (its title).
#pragma once

#include <QString>
#include <QtGlobal>

class QWidget;

namespace X11Prueba {

// Starts Xvfb on a display it picks itself and points Qt's xcb platform at it. Call
// it in main() before the application object. Returns why there is no display
// (Xvfb missing or failing), or an empty text; without one, Qt runs offscreen and
// the tests skip with that reason.
QString Arrancar_Xvfb();
void Parar_Xvfb();
QString Motivo_Sin_X();

// Presses and releases the key of `keysym` (X11 keysym: '0'..'9', 'a'..'z', '/',
// 0xff09 Tab, 0xff50 Home...) with the modifiers held; waits until the server
// has taken it. False when the keyboard has no such key.
bool Pulsar(quint32 keysym, Qt::KeyboardModifiers modificadores = Qt::NoModifier);
// Types `texto` (digits, lower-case letters, '/', blanks) key by key.
bool Teclear(const QString &texto);

// The title the window system holds for the top-level window of `w`
// (_NET_WM_NAME, or WM_NAME when that is missing).
QString Titulo_Ventana(const QWidget *w);

} // namespace X11Prueba

// Declares main() for a test class that needs the X display.
#define X11PRUEBA_MAIN(Clase, Aplicacion)                                                                    \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        X11Prueba::Arrancar_Xvfb();                                                                          \
        int r;                                                                                               \
        {                                                                                                    \
            Aplicacion app(argc, argv);                                                                      \
            Clase t;                                                                                         \
            r = QTest::qExec(&t, argc, argv);                                                                \
        }                                                                                                    \
        X11Prueba::Parar_Xvfb();                                                                             \
        return r;                                                                                            \
    }
