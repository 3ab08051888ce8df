// The program's own message dialog: questions (yes/no) and notices, with an
// icon by kind, a fixed font, and a size worked out from the text. Every
// question and notice of the program goes through Mostrar_Aviso.
#pragma once

#include "FormBase.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPixmap>
#include <QRect>
#include <QString>

#include <array>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;

// The order is fixed: it indexes the per-kind tables and the icon list.
enum TTipoAviso { avError = 0, avInformacion = 1, avAtencion = 2, avConfirmacion = 3 };
enum TBotonesAviso { baSiNo = 0, baAceptarCancelar = 1, baAceptar = 2 };

// The look shared by every message dialog, made once at start-up.
struct TEstiloAvisos
{
    std::array<QFont, 4> Fuentes_Aviso;   // by kind: Arial 9 bold
    QColor Color_Fuente_Aviso;            // navy
    QFont Fuente_Botones_Aviso;           // Arial 8
    QColor Color_Panel_Aviso;             // silver
    std::array<bool, 4> Pitido_Aviso;     // errors and warnings beep
};
const TEstiloAvisos &Estilo_Avisos();

// `Titulo` when given, else the kind's default title ("Error" for an unknown kind).
QString Titulo_Aviso(const QString &Titulo, TTipoAviso Tipo);
// Shows the dialog modally; true when it closed through the first button
// (" &Sí" / "&Aceptar"). `Defecto_Segundo` makes the second button the one Enter presses.
bool Mostrar_Aviso(const QString &Titulo, const QString &Texto, bool Defecto_Segundo, TTipoAviso Tipo,
                   TBotonesAviso Botones);
// The call for questions: the same arguments, the same answer.
bool Pregunta(const QString &Titulo, const QString &Texto, bool Defecto_Segundo, TTipoAviso Tipo,
              TBotonesAviso Botones);
// A notice with the single button "&Aceptar".
void Aviso(const QString &Titulo, const QString &Texto, TTipoAviso Tipo);
// "¿Desea imprimir <Nombre>?" ("el informe" when empty) under "Imprimir".
bool Confirmar_Impresion(const QString &Nombre);

// The four icons (38 x 38) and the glyphs of the two buttons.
QPixmap Icono_Aviso(TTipoAviso Tipo);
QPixmap Glifo_Aceptar();
QPixmap Glifo_Cancelar();

// ---- Layout arithmetic, free of windows ------------------------------------

// Half of `v` rounded to the nearest integer, halves to the even neighbour.
int Mitad_Aviso(int v);

// How the message label is set for a text whose natural (unwrapped) width is `ancho`.
struct TEtiquetaAviso
{
    Qt::Alignment alineacion;
    bool ajustar;      // word wrap at a fixed width
    int ancho_fijo;    // that width (0: the label takes its natural width)
};
TEtiquetaAviso Disposicion_Etiqueta_Aviso(int ancho);

// Fixed sizes of the dialog's design.
namespace DisenoAviso {
constexpr int Ancho_Minimo_Etiqueta = 200;
constexpr int Ancho_Ajuste = 450;
constexpr int Alto_Minimo = 150;
constexpr int Lado_Icono = 38;
constexpr int Alto_Botones = 48;
constexpr int Ancho_Boton = 100;
constexpr int Alto_Boton = 30;
constexpr int Separacion_Botones = 40;
constexpr int Ancho_Cliente = 352;
constexpr int Alto_Cliente = 123;
}

// Where everything goes, given the label's size once its text is in (`etiqueta`),
// the height of one line of the message font (`alto_linea`) and the buttons shown.
struct TMedidasAviso
{
    QSize forma;
    QRect etiqueta, icono;       // inside the message panel
    QRect panel_mensaje, panel_botones;
    int boton1_izq = 0, boton2_izq = 0; // inside the button panel
    bool boton2_visible = true;
};
TMedidasAviso Medir_Aviso(QSize etiqueta, int alto_linea, TBotonesAviso botones);

// ---- The dialog ---------------------------------------------------------------

class TFormAvisos : public tFormBase
{
    Q_OBJECT
public:
    explicit TFormAvisos(QWidget *parent = nullptr);
    ~TFormAvisos() override;

    QFrame *PnlMensaje;
    QLabel *LblMensaje;
    QLabel *ImgIcono;
    QFrame *PnlBotones;
    QPushButton *BtnAceptar;
    QPushButton *BtnCancelar;
    QList<QPixmap> ilIconos;

    // The button that Esc presses (BtnCancelar unless a notice makes it BtnAceptar).
    void Fijar_Boton_Cancelar(QPushButton *boton) { m_botonCancelar = boton; }
    QPushButton *Boton_Cancelar() const { return m_botonCancelar; }
    // Centres the window, frame included, on the primary screen.
    void Centrar_En_Pantalla();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void FormShow();

private:
    QPushButton *m_botonCancelar = nullptr;
};

// ---- Seam for tests ---------------------------------------------------------------

// One call of Mostrar_Aviso as it was asked.
struct TAvisoMostrado
{
    QString Titulo;   // the caption shown (after Titulo_Aviso)
    QString Texto;
    TTipoAviso Tipo;
    TBotonesAviso Botones;
    bool Defecto_Segundo;
    bool Respuesta;   // known once the dialog closed
    bool Guionizado;  // answered from the script, without a window
    quint64 Numero = 0;
};

namespace Avisos_Prueba {
// The next Mostrar_Aviso answers `respuesta` without opening a window. Answers are used in order.
void Programar_Respuesta(bool respuesta);
int Respuestas_Pendientes();
// With no scripted answer left: false (default) opens the real dialog; true
// answers what Enter would (the default button) without a window.
void Sin_Ventanas(bool activo);
// Every call since the last Reiniciar, in the order they were shown (the most recent 1000).
const QList<TAvisoMostrado> &Mostrados();
// Forgets answers, record and the no-window mode, and restores the platform's beep.
void Reiniciar();
// Replaces the platform's beep (nullptr restores it).
void Fijar_Pitido(std::function<void(TTipoAviso)> pitido);
}
