// What every list window shares: the tool bar with its navigator and the add,
// edit, delete and close buttons, the caption with the record count, the
// empty-table notices, the opening of the editor in the pair's mode, Escape.
#pragma once

#include "TiposRegistro.h"

#include "FormBase.h"

#include <QIcon>
#include <QStyle>

class QDialog;
class QFrame;
class QHBoxLayout;
class QToolButton;
class QVBoxLayout;
class TDBNavigator;
class TDataSource;
class TTable;

// The value of the dynamic property through which the help key finds a window's topic.
inline constexpr const char *Propiedad_Ayuda = "HelpContext";

// The shared value that holds the mode of the kind's editor.
quint8 &Modo_Del_Par(TTipoRegistro Tipo);

// A standard icon of the application's style, made once and kept until the
// application ends (windows open often; building icons is not free).
QIcon Icono_Estandar(QStyle::StandardPixmap Icono);

// The record windows see every key before their controls do: Escape pressed
// anywhere inside `Ventana`, while it is the active window, closes it. The
// watcher is owned by the window.
void Cerrar_Con_Escape(QWidget *Ventana);

class TFormListaBase : public tFormBase
{
    Q_OBJECT
public:
    TFormListaBase(TTipoRegistro Tipo, QWidget *parent = nullptr);
    ~TFormListaBase() override;

    TTipoRegistro Tipo() const { return fTipo; }

    QFrame *PnlHerramientas;
    TDBNavigator *DBNavigator;
    QToolButton *BtnAnadir;
    QToolButton *BtnEditar;
    QToolButton *BtnEliminar;
    QToolButton *BtnCerrar;

    // Rebuilds the caption from the records the list's table shows now.
    virtual void Actualizar_Titulo();

public slots:
    void BtnAnadirClick();
    void BtnEditarClick();
    void BtnEliminarClick();
    void BtnCerrarClick();

protected:
    // The table whose records the caption counts and whose emptiness the edit
    // and delete buttons look at.
    virtual TTable *Tabla_Lista() const = 0;
    // A new editor of the kind, parented to this window; run modally and destroyed here.
    virtual QDialog *Crear_Editor() = 0;
    // Refusal of an add before the mode is set (kinds with one record per owner).
    virtual bool Permitir_Anadir() { return true; }
    // Between Pantalla_Activa and the caption when the window is shown.
    virtual void Al_Mostrar() {}
    // After an editor closed, or after the empty-table notice.
    virtual void Despues_Del_Editor() { Actualizar_Titulo(); }

    // The navigator moves this source's table.
    void Fijar_Navegador(TDataSource *Fuente);
    // Below the tool bar: where the window puts its grids and panels.
    QVBoxLayout *Cuerpo() const { return fCuerpo; }

    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void Abrir_Editor(quint8 Modo);

    TTipoRegistro fTipo;
    QVBoxLayout *fCuerpo;
    bool fMostrada = false;
};
