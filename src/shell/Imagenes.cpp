// The shell's pictures.
#include "Imagenes.h"

#include <QPainter>

static void Iniciar_Recursos()
{
    // The pictures are compiled into a static library: make sure they are linked and registered.
    static const bool Iniciados = [] {
        Q_INIT_RESOURCE(Quelvaro);
        return true;
    }();
    Q_UNUSED(Iniciados);
}

QPixmap Imagen_Shell(const QString &Nombre)
{
    Iniciar_Recursos();
    return QPixmap(QStringLiteral(":/imagenes/") + Nombre + QStringLiteral(".png"));
}

QIcon Icono_Shell(const QString &Nombre)
{
    QIcon Icono;
    Icono.addPixmap(Imagen_Shell(Nombre + QStringLiteral("48")));
    Icono.addPixmap(Imagen_Shell(Nombre + QStringLiteral("20")));
    return Icono;
}

tImagenPrograma::tImagenPrograma(QWidget *parent)
    : QFrame(parent), fImagen(Imagen_Shell(QStringLiteral("quelvaro")))
{
}

void tImagenPrograma::paintEvent(QPaintEvent *Evento)
{
    {
        QPainter p(this);
        const QRect Area = contentsRect();
        if (!fImagen.isNull() && !Area.isEmpty()) {
            const QSize Tam = fImagen.size().scaled(Area.size(), Qt::KeepAspectRatioByExpanding);
            QRect Origen(QPoint(0, 0), fImagen.size());
            // The part of the picture that shows, centred, so scaling keeps its proportions.
            const qreal Factor = qreal(fImagen.width()) / Tam.width();
            const QSize Visible(qRound(Area.width() * Factor), qRound(Area.height() * Factor));
            Origen = QRect(QPoint((fImagen.width() - Visible.width()) / 2, (fImagen.height() - Visible.height()) / 2), Visible);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawPixmap(Area, fImagen, Origen);
        }
    }
    QFrame::paintEvent(Evento); // the frame over the picture
}
