// The main window: the button bar and the menu that open every window of the program, and
// the question asked before the program ends.
#pragma once

#include <QMainWindow>

class QAction;
class QFrame;
class QMenu;
class QToolButton;
class tImagenPrograma;

class TFormPrincipal : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFormPrincipal(QWidget *parent = nullptr);
    ~TFormPrincipal() override;

    // The exit question; true lets the window close.
    bool FormCloseQuery();
    // The desktop session is ending: true when the user agreed to end the program too.
    bool Cierre_De_Sesion();
    // Brings the window to the front, restoring it first when it is minimised.
    void Traer_Al_Frente();

    QFrame *PnlBotones;
    QToolButton *SBMantto;
    QToolButton *SBAverias;
    QToolButton *SBRuedas;
    QToolButton *SbVehiculos;
    QToolButton *SBFichaTecnica;
    QToolButton *SbIntervalos;
    QToolButton *SBListados;
    QToolButton *SBCopiaSeg;
    QToolButton *SBSalir;
    tImagenPrograma *ImgFondo;

    QMenuBar *MainMenu1;
    QMenu *MenuMantenimiento;
    QMenu *MenuVehiculos;
    QMenu *MenuListados;
    QMenu *MenuHerramientas;
    QAction *Tareasdemantenimiento1;
    QAction *Intervalosdemantenimiento1;
    QAction *Averas1;
    QAction *Neumticos2;
    QAction *Vencimientosdelaflota1;
    QAction *Nuevamatrcula1;
    QAction *Marcas1;
    QAction *Modelos1;
    QAction *Fichatcnica2;
    QAction *Mantenimiento2;
    QAction *Averias2;
    QAction *Neumticos1;
    QAction *Vehculos2;
    QAction *FichaTcnica1;
    QAction *Copiadeseguridad1;
    QAction *Ayuda1;
    QAction *Acercade1;
    QAction *Salir1;

    QMenu *PMListados;
    QAction *Mantenimiento1;
    QAction *Averias1;
    QAction *Ruedas1;
    QAction *Vehculos1;
    QAction *FichaTecnica1;

    // Where PMListados opens: the bottom-left corner of SBListados, on the screen.
    QPoint Posicion_PMListados() const;

signals:
    // The window has closed for good: the program ends.
    void Cerrada();

protected:
    void showEvent(QShowEvent *Evento) override;
    void closeEvent(QCloseEvent *Evento) override;

private slots:
    void FormCreate();
    void FormShow();
    void SBManttoClick();
    void SBAveriasClick();
    void SBRuedasClick();
    void SbVehiculosClick();
    void SBFichaTecnicaClick();
    void SbIntervalosClick();
    void Vencimientosdelaflota1Click();
    void SBListadosClick();
    void SBCopiaSegClick();
    void SBSalirClick();
    void Marcas1Click();
    void Modelos1Click();
    void Mantenimiento1Click();
    void Averias1Click();
    void Ruedas1Click();
    void FichaTecnica1Click();
    void Vehculos1Click();
    void Ayuda1Click();
    void Acercade1Click();

private:
    void Crear_Botonera();
    void Crear_Menus();
    // Opens the report dialog for the report that Tipo_Informe names.
    void Informes();

    bool fCierreConfirmado = false;
};
