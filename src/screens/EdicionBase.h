// What every editor dialog shares: the data and button panels, entering the
// mode its list window set, the deferred report of a failed preparation, the
// protected post or delete, and dropping whatever is left pending on close.
#pragma once

#include "TiposRegistro.h"

#include "FormBase.h"

#include <QValidator>

class QFrame;
class QGridLayout;
class QLabel;
class QPushButton;
class TDBEdit;
class TTable;

class TFormEdicionBase : public tFormBase
{
    Q_OBJECT
public:
    TFormEdicionBase(TTipoRegistro Tipo, QWidget *parent = nullptr);
    ~TFormEdicionBase() override;

    TTipoRegistro Tipo() const { return fTipo; }
    // The mode read when the dialog was shown (the pair's holder at that moment).
    quint8 Modo() const { return fModo; }

    QFrame *PnlDatos;
    QFrame *PnlBotones;
    QPushButton *BtnAceptar;
    QPushButton *BtnCancelar;

public slots:
    virtual void Actualizar_Boton_Aceptar() = 0;
    void BtnAceptarClick();
    virtual void BtnCancelarClick();

protected:
    virtual TTable *Tabla() const = 0;

    // The kind's preparation around entering each mode; may raise.
    virtual void Antes_De_Anadir() {}
    virtual void Despues_De_Anadir() {}
    virtual void Antes_De_Editar() {}
    virtual void Despues_De_Editar() {}
    virtual void Preparar_Eliminar() {}
    // Whether BtnAceptar starts disabled when adding (one kind leaves it to its rule).
    virtual bool Aceptar_Desactivado_Al_Anadir() const { return true; }
    // The kind's step before posting (modes add and edit); may raise.
    virtual void Antes_De_Grabar() {}
    // The deletion question's text, and the deletion itself.
    virtual QString Texto_Eliminar() const;
    virtual void Eliminar();
    // However the dialog closes, after the table was cancelled.
    virtual void Al_Cerrar() {}

    // PnlDatos's grid: labels, fields, and a column for buttons beside them.
    QGridLayout *Rejilla() const { return fRejilla; }
    // Adds a row of label and field (and what goes beside it); a field of fixed
    // width keeps to the left, the others fill the column.
    QLabel *Anadir_Fila(const char *NombreEtiqueta, const QString &Texto, QWidget *Campo, QWidget *Extra = nullptr);

    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

public:
    void done(int r) override;

private:
    void FormShow();
    void FormClose();
    void Mostrar_Fallo_Preparacion();
    TDBEdit *Fecha_Sin_Corregir() const;

    TTipoRegistro fTipo;
    quint8 fModo = 0;
    QGridLayout *fRejilla;
    bool fMostrado = false;
    bool fFalloPreparacion = false;
    bool fCerrado = false;
};

// Kilometre fields hold a signed 32-bit number: only digits may be typed, and a
// value beyond the largest one is refused with a notice instead of reaching the table.
constexpr qint64 Maximo_Kilometros = 2147483647;
QString Texto_Kilometros_Fuera_De_Rango();

class TValidadorKilometros : public QValidator
{
    Q_OBJECT
public:
    explicit TValidadorKilometros(QObject *parent = nullptr);
    State validate(QString &input, int &pos) const override;
};
