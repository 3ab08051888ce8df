// tBotonFecha: the small button beside a date field that opens the calendar,
// or puts in today's date when released with the right mouse button.
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QToolButton>

class QDate;

class tBotonFecha : public QToolButton
{
    Q_OBJECT
    Q_PROPERTY(QLineEdit *EditComp READ editComp WRITE setEditComp)
    Q_PROPERTY(bool fVacia READ fVacia WRITE setFVacia)
    Q_PROPERTY(bool fScaled READ fScaled WRITE setFScaled)
    Q_PROPERTY(QString Titulo READ titulo WRITE setTitulo)

public:
    explicit tBotonFecha(QWidget *parent = nullptr);

    // The date field served; a data-bound one is reached through IDBControl.
    QLineEdit *editComp() const { return m_edit; }
    void setEditComp(QLineEdit *edit) { m_edit = edit; }
    bool fVacia() const { return m_vacia; }
    void setFVacia(bool on) { m_vacia = on; }
    bool fScaled() const { return m_scaled; }
    void setFScaled(bool on) { m_scaled = on; }
    QString titulo() const { return m_titulo; }
    void setTitulo(const QString &t) { m_titulo = t; }

    // True for a date from 1900 to 2099, and for a blank text when fVacia is set.
    bool Fecha_Correcta(const QString &Texto) const;
    void Mostrar_Fecha_Incorrecta(const QString &Texto) const;

protected:
    void paintEvent(QPaintEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private slots:
    void Click();

private:
    void Fecha_De_Hoy();
    bool Debe_Habilitarse() const;
    // Moves the focus into the field; false when the field did not take it.
    bool Enfocar_Campo() const;
    // Puts `fecha` into the field; a data-bound field only while its record can be changed.
    void Poner_Fecha(const QDate &fecha);

    QPointer<QLineEdit> m_edit;
    bool m_vacia = false;
    bool m_scaled = false;
    QString m_titulo;
    bool m_colocado = false; // placed beside its field at the first painting
};
