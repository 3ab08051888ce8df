// What every list window shares: the tool bar with its navigator and the add,
// edit, delete and close buttons, the caption with the record count, the
// empty-table notices, the opening of the editor in the pair's mode, Escape,
// following the current vehicle, and the grids and read-only detail that the
// kinds place in their bodies.
#pragma once

#include "TiposRegistro.h"

#include "DataModulo.h"
#include "FormBase.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QStyle>

class QBoxLayout;
class QDialog;
class QFrame;
class QHBoxLayout;
class QToolButton;
class QVBoxLayout;
class TDBGrid;
class TDBNavigator;
class TDataSource;
class TTable;
struct TDBGridColumn;

// The value of the dynamic property through which the help key finds a window's topic.
inline constexpr const char *Propiedad_Ayuda = "HelpContext";

// The tooltip of the grids and panels on which a double click edits the record.
QString Texto_Doble_Click();

// The shared value that holds the mode of the kind's editor.
quint8 &Modo_Del_Par(TTipoRegistro Tipo);

// A standard icon of the application's style, made once and kept until the
// application ends (windows open often; building icons is not free).
QIcon Icono_Estandar(QStyle::StandardPixmap Icono);

// Whether there is a current vehicle (the vehicle table is open and not empty).
bool Hay_Vehiculo_Actual();

// The record windows see every key before their controls do: Escape pressed
// anywhere inside `Ventana`, while it is the active window, closes it. The
// watcher is owned by the window.
void Cerrar_Con_Escape(QWidget *Ventana);

// A list window is made of its kind's row (TiposRegistro): the row names the
// table it lists and the one its navigator moves, its caption, its help topic
// and whether it follows the current vehicle. A window that follows it is
// refreshed by the data module (Actualizar_Titulo, and for the maintenance
// window Mostrar_Proximo_Mantenimiento) from its first showing to its end.
class TFormListaBase : public tFormBase, public tVentanaVehiculo
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
    void Actualizar_Titulo() override;

public slots:
    void BtnAnadirClick();
    void BtnEditarClick();
    void BtnEliminarClick();
    void BtnCerrarClick();

protected:
    // The table whose records the caption counts and whose emptiness the edit
    // and delete buttons look at, and the data source that presents it.
    TTable *Tabla_Lista() const { return fTabla; }
    TDataSource *Fuente_Lista() const;
    // A new editor of the kind, parented to this window; run modally and destroyed here.
    virtual QDialog *Crear_Editor() = 0;
    // Refusal of an add before the mode is set (kinds with one record per owner).
    virtual bool Permitir_Anadir() { return true; }
    // Between Pantalla_Activa and the caption when the window is shown, and
    // after the caption; a failure of either is told once with the showing's.
    virtual void Al_Mostrar() {}
    virtual void Despues_De_Mostrar() {}
    // After an editor closed, or after the empty-table notice.
    virtual void Despues_Del_Editor() { Actualizar_Titulo(); }

    // A button of the kind's own in the tool bar, after the others and before BtnCerrar.
    QToolButton *Anadir_Boton_Barra(const QString &Nombre, const QString &Texto, QStyle::StandardPixmap Icono);
    // Below the tool bar: where the window puts its grids and panels.
    QVBoxLayout *Cuerpo() const { return fCuerpo; }
    // A row that fills the body, for a side grid and what the window shows beside it.
    QHBoxLayout *Anadir_Fila_Cuerpo(int Espacio = 4);

    // A read-only grid named `Nombre` on `Fuente`, with `Ayuda` as its tooltip;
    // a double click on it edits the current record. The caller places it.
    TDBGrid *Crear_Rejilla(const QString &Nombre, TDataSource *Fuente, const QList<TDBGridColumn> &Columnas,
                           const QString &Ayuda = QString());
    // The one grid of the catalogue windows (vehicles, brands, models): "DBGrid"
    // on the list's table, filling the body, its last column stretched.
    TDBGrid *Crear_Rejilla_Catalogo(const QList<TDBGridColumn> &Columnas);
    // The narrow grid of one centred column at the left of `Fila`, whose current
    // record the rest of the window follows; a double click edits only when asked.
    TDBGrid *Crear_Rejilla_Lateral(QBoxLayout *Fila, const QString &Nombre, TDataSource *Fuente, const QString &Campo,
                                   int AnchoColumna, bool DobleClickEdita);
    // The vehicle grid "DBGridMatriculas" (the plates) of the windows that follow the vehicle.
    TDBGrid *Crear_Rejilla_Vehiculos(QBoxLayout *Fila, bool DobleClickEdita);

    // Read-only detail of the current record: a double click on `Control`
    // edits the record; with `Rejilla`, the focus that a click gives the control
    // goes back to that grid (Controlar_Foco), so the detail never keeps it.
    void Detalle_Del_Registro(QWidget *Control, QWidget *Rejilla = nullptr);

    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void Abrir_Editor(quint8 Modo);
    void Controlar_Foco(QWidget *Rejilla);

    TTipoRegistro fTipo;
    TTable *fTabla = nullptr;
    QHBoxLayout *fBarra;
    QVBoxLayout *fCuerpo;
    bool fMostrada = false;
    QHash<QObject *, QPointer<QWidget>> fDetalle; // read-only control -> grid that takes its focus
};
