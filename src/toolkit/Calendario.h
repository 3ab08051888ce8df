// TFmCalendario: the modal dialog in which a date is picked from a month grid,
// moved by month or year, chosen from month and year lists, or set to today.
#pragma once

#include <QDate>
#include <QDialog>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;
class tCalendario2000;
class tRepButton;

class TFmCalendario : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(QDate date READ date WRITE setDate)

public:
    explicit TFmCalendario(QWidget *parent = nullptr);
    ~TFmCalendario() override;

    QDate date() const;
    void setDate(const QDate &fecha);
    // Kept for the date button, which hands its own setting on; Qt scales by itself.
    bool scaled() const { return m_scaled; }
    void setScaled(bool on) { m_scaled = on; }

protected:
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *obj, QEvent *e) override;

private slots:
    void FormShow();
    void FormActivate();
    void CalendarioChange();
    void BtnMesAntClick();
    void BtnMesSigClick();
    void BtnAnoAntClick();
    void BtnAnoSigClick();
    void BtnFechaHoyClick();
    void BtnMesClick();
    void BtnAnioClick();
    void lbMesesClick();
    void lbAniosClick();
    void lbMesesKeyDown();
    void lbMesesExit();
    void lbAniosExit();
    void Cal2000DblClick(const QPoint &pos);
    void BtnAceptarClick();

private:
    void FormCreate();
    void FormKeyUp(int key, Qt::KeyboardModifiers mods);
    void cerrarListaMeses();
    void cerrarListaAnios();
    void cerrarListas();

    QFrame *PnlFondo = nullptr;
    QFrame *Bevel1 = nullptr;
    QToolButton *BtnMes = nullptr;
    QToolButton *BtnAnio = nullptr;
    tRepButton *BtnMesAnt = nullptr;
    tRepButton *BtnMesSig = nullptr;
    tRepButton *BtnAnoAnt = nullptr;
    tRepButton *BtnAnoSig = nullptr;
    QFrame *PnlFecha = nullptr;
    QLabel *LblFecha = nullptr;
    tCalendario2000 *Cal2000 = nullptr;
    QToolButton *BtnFechaHoy = nullptr;
    QPushButton *BtnAceptar = nullptr;
    QPushButton *BtnCancelar = nullptr;
    QListWidget *lbMeses = nullptr;
    QListWidget *lbAnios = nullptr;

    bool m_listClick = true; // false right after a key in a list: its next "click" is a keyboard move
    bool m_scaled = false;
};
