// The folder dialog of the backup and the restore: the volumes, the folders of the
// place chosen, and the folder that will be taken, which may also be typed.
#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class TFormSeleccionarDir : public QDialog
{
    Q_OBJECT
public:
    explicit TFormSeleccionarDir(QWidget *parent = nullptr);

    // The folder the user accepted, absolute; empty at creation.
    QString Carpeta_Elegida;

    QGroupBox *GroupBox1;
    QComboBox *DriveComboBox;        // volume roots
    QListWidget *DirectoryListBox;   // the way down to the folder, then its subfolders
    QGroupBox *GroupBox2;
    QLineEdit *EditDirectorio;       // the folder that will be taken
    QPushButton *BtnAceptar;
    QPushButton *BtnCancelar;

    // The folder the list shows, and a move of the list to another one.
    QString Carpeta_Lista() const { return m_carpeta; }
    void Ir_A(const QString &carpeta);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *objeto, QEvent *event) override;

private slots:
    void FormShow();
    void DriveComboBoxChange();
    void DirectoryListBoxChange();
    void BtnAceptarClick();
    void Abrir_Elemento(QListWidgetItem *elemento);

private:
    void Elegir_Unidad(const QString &carpeta);

    QString m_carpeta;
};
