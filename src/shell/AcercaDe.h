// The About box: the program's name and version, the data folder in use, and the support
// address as a mail link.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// Where users write for help; the mail link of the About box opens a message to it.
inline constexpr char Direccion_Soporte[] = "soporte@quelvaro.es";

class TFormAcercaDe : public QDialog
{
    Q_OBJECT
public:
    explicit TFormAcercaDe(QWidget *parent = nullptr);

    QFrame *Panel1;
    QLabel *ImgLogo;
    QLabel *ImgPrograma;
    QLabel *LblPrograma;
    QLabel *LblDescripcion;
    QLabel *LblVersion;
    QLabel *LblSoporte;
    QLabel *LblEmail1;
    QLabel *LblCarpetaDatos; // "Datos: " and the folder, shortened in the middle when long
    QPushButton *SpeedButton1;

protected:
    bool eventFilter(QObject *Objeto, QEvent *Evento) override;

private slots:
    void LblEmail1Click();
};
