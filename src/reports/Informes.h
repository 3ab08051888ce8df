// The report dialog: the list of vehicles, and for the one chosen the report
// that Tipo_Informe names, after checking that the vehicle has data for it.
// It stays open, so vehicle after vehicle can be reported.
#pragma once

#include "FormBase.h"

class QCheckBox;
class QFrame;
class QPushButton;
class TDBGrid;

class TFormInformes : public tFormBase
{
    Q_OBJECT
public:
    explicit TFormInformes(QWidget *parent = nullptr);
    ~TFormInformes() override;

    TDBGrid *GridMatricula;
    QFrame *PnlAverias;
    QCheckBox *CBAverias;
    QPushButton *BtnAceptar;
    QPushButton *BtnCancelar;

protected:
    void showEvent(QShowEvent *Evento) override;

private slots:
    void FormShow();
    void BtnAceptarClick();
    void CBAveriasClick();
    void BtnCancelarClick();

private:
    void Ejecutar_Mantenimiento();
    void Ejecutar_Averias();
    void Ejecutar_Ruedas();
    void Ejecutar_FichaTec();
    void Sin_Datos();
};

// The report dialog as the main window's report commands open it: created,
// shown modally and destroyed when it closes.
void Abrir_Informes(QWidget *parent = nullptr);
