// Splash window.
#include "CargaAplicacion.h"

#include "Imagenes.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>

namespace {
const int Ancho = 460, Alto = 401, Alto_Franja = 41;
}

TFormCargaAplicacion::TFormCargaAplicacion(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint)
{
    setObjectName(QStringLiteral("FormCargaAplicacion"));
    setWindowTitle(QStringLiteral("Inicio Aplicación"));
    setFixedSize(Ancho, Alto);

    ImgFondo = new tImagenPrograma(this);
    ImgFondo->setObjectName(QStringLiteral("ImgFondo"));
    ImgFondo->setGeometry(0, 0, Ancho, Alto - Alto_Franja);

    LblCargando = new QLabel(QStringLiteral("Cargando aplicación"), this);
    LblCargando->setObjectName(QStringLiteral("LblCargando"));
    LblCargando->setGeometry(0, Alto - Alto_Franja, Ancho, Alto_Franja);
    LblCargando->setAlignment(Qt::AlignCenter);
    LblCargando->setAutoFillBackground(true);
    QPalette Paleta = LblCargando->palette();
    Paleta.setColor(QPalette::Window, QColor(228, 224, 211));
    Paleta.setColor(QPalette::WindowText, QColor(0, 128, 128)); // teal
    LblCargando->setPalette(Paleta);
    QFont Fuente(QStringLiteral("Comic Sans MS"));
    Fuente.setPixelSize(27);
    Fuente.setBold(true);
    LblCargando->setFont(Fuente);

    if (const QScreen *Pantalla = QGuiApplication::primaryScreen())
        move(Pantalla->availableGeometry().center() - rect().center());
}

void TFormCargaAplicacion::Mostrar_Ya()
{
    show();
    raise();
    repaint();
    // Let the window system map and draw it before the long work starts.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
