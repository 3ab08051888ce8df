// The copy dialog: copies the files of one folder into another as soon as it is
// first activated, with a progress bar, and cannot be closed until it has ended.
#pragma once

#include <QDate>
#include <QDialog>
#include <QElapsedTimer>
#include <QString>

class QGroupBox;
class QProgressBar;
class QPushButton;

// What a run does: a backup of the data folder, or a restore into it.
enum class tModoCopia { Guardar, Restaurar };

class TFormRealizarCopia : public QDialog
{
    Q_OBJECT
public:
    explicit TFormRealizarCopia(QWidget *parent = nullptr);

    // Set by the caller before the dialog is shown.
    QString Carpeta_Origen;  // without a final separator
    QString Carpeta_Destino; // likewise
    qint32 Total_Ficheros = 0; // files the caller counted, for the bar
    tModoCopia Modo = tModoCopia::Guardar;
    QDate Fecha; // the date a backup's stamp holds; today when not set

    QGroupBox *GroupBox1;
    QProgressBar *BarraProgreso;
    QPushButton *BtnAceptar;

    bool Copia_Iniciada() const { return m_iniciada; }
    bool Copia_En_Curso() const { return m_enCurso; }
    // After the run: whether everything was copied (and, for a backup, stamped).
    bool Copia_Correcta() const { return m_correcta; }

public slots:
    // Refused while the copy runs: the dialog closes only once it has ended.
    void reject() override;

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private slots:
    void FormActivate();

private:
    void Progreso(int fichero, double parte);

    bool m_iniciada = false;
    bool m_enCurso = false;
    bool m_correcta = false;
    QElapsedTimer m_refresco;
};
