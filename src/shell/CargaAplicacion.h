// The splash window shown while the data folder is checked and the tables are opened.
#pragma once

#include <QWidget>

class QLabel;
class tImagenPrograma;

class TFormCargaAplicacion : public QWidget
{
    Q_OBJECT
public:
    explicit TFormCargaAplicacion(QWidget *parent = nullptr);

    // Shows the window and paints it at once: the event loop is not running yet.
    void Mostrar_Ya();

    tImagenPrograma *ImgFondo;
    QLabel *LblCargando;
};
