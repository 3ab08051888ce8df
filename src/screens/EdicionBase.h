// What every editor dialog shares: the data and button panels, entering the
// mode its list window set, the deferred report of a failed preparation, the
// protected post or delete, dropping whatever is left pending on close, and
// the making of the fields bound to the kind's table.
#pragma once

#include "TiposRegistro.h"

#include "DBControles.h"
#include "FormBase.h"

#include <QList>

class QFrame;
class QGridLayout;
class QLabel;
class QPushButton;
class TDataSource;
class TTable;
class tBotonFecha;

// A date field with its date button beside it, in a row of its own.
struct TCampoFecha
{
    TDBEdit *Edit;
    tBotonFecha *Boton;
    QWidget *Fila; // holds both; what a layout places
};

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
    // The table the kind's row names, and the data source the fields are bound through.
    TTable *Tabla() const { return fTabla; }
    TDataSource *Fuente() const;

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
    // Forms of several columns of fields give each three grid columns: column
    // `c` of fields has its labels in 3c, its fields in 3c + 1 and what goes
    // beside them in 3c + 2.
    QGridLayout *Rejilla() const { return fRejilla; }
    // Adds a row of label and field (and what goes beside it) under the last
    // one of that column of fields; a field of fixed width keeps to the left,
    // the others fill their column.
    QLabel *Anadir_Fila(const QString &NombreEtiqueta, const QString &Texto, QWidget *Campo, QWidget *Extra = nullptr,
                        int Columna = 0);

    // A control of class T in PnlDatos named `Nombre`, bound to `Campo` of the
    // editor's table; `Ancho`, when given, fixes its width. The caller places it.
    template <class T = TDBEdit>
    T *Crear_Campo(const QString &Nombre, const QString &Campo, int Ancho = 0)
    {
        T *c = Crear_Control_Enlazado<T>(PnlDatos, Nombre, Fuente(), Campo);
        if (Ancho > 0)
            c->setFixedWidth(Ancho);
        return c;
    }
    // The same single-line field in a new row under its label, whose name is
    // "Lbl" and the field's name without its role prefix ("EditMarca": "LblMarca").
    TDBEdit *Anadir_Campo(const QString &Nombre, const QString &Etiqueta, const QString &Campo, int Ancho = 0,
                          QWidget *Extra = nullptr, int Columna = 0);
    // A date field prepared for dates that may stay empty, with its date button.
    TCampoFecha Crear_Campo_Fecha(const QString &Nombre, const QString &NombreBoton, const QString &Campo);
    TCampoFecha Anadir_Campo_Fecha(const QString &Nombre, const QString &NombreBoton, const QString &Etiqueta,
                                   const QString &Campo, int Columna = 0);

    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

public:
    void done(int r) override;

private:
    void FormShow();
    void FormClose();
    void Mostrar_Fallo_Preparacion();
    TDBEdit *Fecha_Sin_Corregir() const;
    // Every field takes what was typed in it; false, with the user told and the
    // focus on the field, when one cannot.
    bool Tomar_Campos();

    TTipoRegistro fTipo;
    TTable *fTabla = nullptr;
    quint8 fModo = 0;
    QGridLayout *fRejilla;
    QList<int> fFilas; // rows taken, per column of fields
    bool fMostrado = false;
    bool fFalloPreparacion = false;
    bool fCerrado = false;
};

// What the user is told when `Campo` cannot take the text typed in it.
QString Texto_Valor_No_Valido(const TDBEdit *Campo);
// "Lbl" and the name of a control without its role prefix ("DBEditFecha": "LblFecha").
QString Nombre_Etiqueta(const QString &Control);
