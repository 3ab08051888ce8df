// The backup dialog: saves the data folder into a folder the user chooses, or
// restores it from one. The data module's tables stay closed while it is open.
#pragma once

#include <QDialog>

class QPushButton;
class QWidget;

class TFormCopiaSeg : public QDialog
{
    Q_OBJECT
public:
    explicit TFormCopiaSeg(QWidget *parent = nullptr);

    QWidget *Panel1; // holds the two buttons side by side
    QPushButton *BtnGuardar;
    QPushButton *BtnRestaurar;
    QPushButton *BtnSalir;

    // The folder backed up and restored: the data module's.
    static QString Carpeta_Datos();

public slots:
    // "&Cerrar" is the only way out: it reopens the tables.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void FormShow();
    void BtnGuardarClick();
    void BtnRestaurarClick();
    void BtnSalirClick();
};
