// The shell's pictures (resources/imagenes) and the widget that shows the program's picture.
#pragma once

#include <QFrame>
#include <QIcon>
#include <QPixmap>

// A picture of resources/imagenes by name, e.g. Imagen_Shell("vehiculos48").
QPixmap Imagen_Shell(const QString &Nombre);
// A button or menu picture: the 48- and 20-pixel drawings of `Nombre` in one icon.
QIcon Icono_Shell(const QString &Nombre);

// Fills its area with the program's picture: scaled to cover it, centred, never distorted.
class tImagenPrograma : public QFrame
{
    Q_OBJECT
public:
    explicit tImagenPrograma(QWidget *parent = nullptr);
    QPixmap Picture() const { return fImagen; }

protected:
    void paintEvent(QPaintEvent *Evento) override;

private:
    QPixmap fImagen;
};
