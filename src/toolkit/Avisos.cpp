// The message dialog, its style, its icons and its layout.
#include "Avisos.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>

#include <cmath>
#include <memory>

namespace {

const QColor Azul_Icono(0, 0, 255);

TEstiloAvisos crearEstilo()
{
    TEstiloAvisos e;
    QFont aviso(QStringLiteral("Arial"));
    aviso.setPointSize(9);
    aviso.setBold(true);
    e.Fuentes_Aviso.fill(aviso);
    e.Color_Fuente_Aviso = QColor(0, 0, 128);
    QFont botones(QStringLiteral("Arial"));
    botones.setPointSize(8);
    e.Fuente_Botones_Aviso = botones;
    e.Color_Panel_Aviso = QColor(192, 192, 192);
    e.Pitido_Aviso = {true, false, true, false};
    return e;
}

// ---- seam state ----
QList<bool> g_respuestas;
bool g_sinVentanas = false;
QList<TAvisoMostrado> g_mostrados;
std::function<void(TTipoAviso)> g_pitido;
constexpr int Maximo_Registro = 1000;

quint64 g_numero = 0;

// Recorded when shown, so a nested question comes after the one that opened it.
quint64 registrar(TAvisoMostrado m)
{
    m.Numero = ++g_numero;
    g_mostrados.append(m);
    if (g_mostrados.size() > Maximo_Registro)
        g_mostrados.removeFirst();
    return m.Numero;
}

void anotarRespuesta(quint64 numero, bool respuesta)
{
    for (auto it = g_mostrados.rbegin(); it != g_mostrados.rend(); ++it)
        if (it->Numero == numero) {
            it->Respuesta = respuesta;
            return;
        }
}

void pitar(TTipoAviso tipo)
{
    if (g_pitido)
        g_pitido(tipo);
    else
        QApplication::beep();
}

bool tipoValido(int tipo)
{
    return tipo >= avError && tipo <= avConfirmacion;
}

// A carriage return breaks the line, alone or before a line feed.
QString lineasDe(QString texto)
{
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texto.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return texto;
}

QPixmap lienzo(int lado)
{
    QPixmap p(lado, lado);
    p.fill(Qt::transparent);
    return p;
}

void bocadillo(QPainter &p, const QString &signo)
{
    QPainterPath globo;
    globo.addRoundedRect(QRectF(2.5, 2.5, 33, 25), 9, 9);
    QPainterPath cola;
    cola.moveTo(9, 24);
    cola.lineTo(6, 35.5);
    cola.lineTo(19, 26);
    cola.closeSubpath();
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::white);
    p.drawPath(globo.united(cola));
    QFont f(QStringLiteral("Times New Roman"));
    f.setPixelSize(22);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Azul_Icono);
    p.drawText(QRectF(2.5, 2.5, 33, 25), Qt::AlignCenter, signo);
}

} // namespace

const TEstiloAvisos &Estilo_Avisos()
{
    // Made on first use, which is before any window exists, and kept to the end.
    static const TEstiloAvisos estilo = crearEstilo();
    return estilo;
}

QString Titulo_Aviso(const QString &Titulo, TTipoAviso Tipo)
{
    if (!Titulo.isEmpty())
        return Titulo;
    switch (Tipo) {
    case avInformacion: return QStringLiteral("Información");
    case avAtencion: return QStringLiteral("Atención");
    case avConfirmacion: return QStringLiteral("Confirmación");
    case avError:
    default: return QStringLiteral("Error");
    }
}

QPixmap Icono_Aviso(TTipoAviso Tipo)
{
    const int lado = DisenoAviso::Lado_Icono;
    QPixmap pm = lienzo(lado);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (Tipo) {
    case avInformacion:
        bocadillo(p, QStringLiteral("i"));
        break;
    case avConfirmacion:
        bocadillo(p, QStringLiteral("?"));
        break;
    case avAtencion: {
        QPolygonF tri;
        tri << QPointF(19, 2) << QPointF(36, 35) << QPointF(2, 35);
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(QColor(255, 255, 0));
        p.drawPolygon(tri);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRoundedRect(QRectF(17, 11, 4, 15), 1.5, 1.5);
        p.drawEllipse(QRectF(16.8, 28, 4.4, 4.4));
        break;
    }
    case avError:
    default: {
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(QColor(255, 0, 0));
        p.drawEllipse(QRectF(2, 2, 34, 34));
        p.setPen(QPen(Qt::black, 4.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 12), QPointF(26, 26));
        p.drawLine(QPointF(26, 12), QPointF(12, 26));
        break;
    }
    }
    return pm;
}

QPixmap Glifo_Aceptar()
{
    QPixmap pm = lienzo(16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 128, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF() << QPointF(2.5, 8.5) << QPointF(6.5, 12.5) << QPointF(13.5, 3.5));
    return pm;
}

QPixmap Glifo_Cancelar()
{
    QPixmap pm = lienzo(16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 0, 0), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    return pm;
}

// ---- layout -----------------------------------------------------------------

int Mitad_Aviso(int v)
{
    // The default rounding mode rounds halves to the even neighbour.
    return int(std::lrint(v / 2.0));
}

TEtiquetaAviso Disposicion_Etiqueta_Aviso(int ancho)
{
    using namespace DisenoAviso;
    if (ancho < Ancho_Minimo_Etiqueta)
        return {Qt::AlignHCenter | Qt::AlignTop, false, 0};
    if (ancho == Ancho_Minimo_Etiqueta)
        return {Qt::AlignLeft | Qt::AlignTop, false, 0};
    return {Qt::AlignLeft | Qt::AlignTop, true, Ancho_Ajuste};
}

TMedidasAviso Medir_Aviso(QSize etiqueta, int alto_linea, TBotonesAviso botones)
{
    using namespace DisenoAviso;
    TMedidasAviso m;
    const int alto = std::max(Alto_Botones + etiqueta.height() + 80, Alto_Minimo);
    const int ancho = std::max(etiqueta.width(), Ancho_Minimo_Etiqueta) + Lado_Icono + 60;
    m.forma = QSize(ancho, alto);
    m.panel_mensaje = QRect(0, 0, ancho, alto - Alto_Botones);
    m.panel_botones = QRect(0, alto - Alto_Botones, ancho, Alto_Botones);

    const int alto_panel = m.panel_mensaje.height();
    const int eti_arriba = Mitad_Aviso(alto_panel - etiqueta.height());
    const int eti_izq = Mitad_Aviso(ancho - etiqueta.width()) + 20;
    m.etiqueta = QRect(QPoint(eti_izq, eti_arriba), etiqueta);

    const int ico_arriba = etiqueta.height() > alto_linea ? eti_arriba : Mitad_Aviso(alto_panel - Lado_Icono);
    m.icono = QRect(eti_izq - Lado_Icono - 10, ico_arriba, Lado_Icono, Lado_Icono);

    switch (botones) {
    case baSiNo:
    case baAceptarCancelar:
        m.boton1_izq = Mitad_Aviso(ancho - (2 * Ancho_Boton + Separacion_Botones));
        m.boton2_izq = m.boton1_izq + Ancho_Boton + Separacion_Botones;
        break;
    case baAceptar:
        m.boton1_izq = Mitad_Aviso(ancho - Ancho_Boton);
        m.boton2_visible = false;
        break;
    default:
        m.boton1_izq = 46;
        m.boton2_izq = 206;
        break;
    }
    return m;
}

// ---- the dialog -------------------------------------------------------------------

TFormAvisos::TFormAvisos(QWidget *parent)
    : tFormBase(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                            | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    using namespace DisenoAviso;
    setObjectName(QStringLiteral("FormAvisos"));
    setWindowTitle(QStringLiteral("Mensaje"));
    setModal(true);

    PnlMensaje = new QFrame(this);
    PnlMensaje->setObjectName(QStringLiteral("PnlMensaje"));
    PnlMensaje->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PnlMensaje->setLineWidth(1);
    PnlMensaje->setContentsMargins(4, 4, 4, 4);
    PnlMensaje->setAutoFillBackground(true);
    // Takes the focus in a notice, so that no button looks pressed.
    PnlMensaje->setFocusPolicy(Qt::ClickFocus);

    LblMensaje = new QLabel(QStringLiteral("LblMensaje"), PnlMensaje);
    LblMensaje->setObjectName(QStringLiteral("LblMensaje"));
    LblMensaje->setTextFormat(Qt::PlainText);
    LblMensaje->move(72, 24);
    LblMensaje->adjustSize();

    ImgIcono = new QLabel(PnlMensaje);
    ImgIcono->setObjectName(QStringLiteral("ImgIcono"));
    ImgIcono->setScaledContents(true);
    ImgIcono->setGeometry(20, 15, Lado_Icono, Lado_Icono);

    PnlBotones = new QFrame(this);
    PnlBotones->setObjectName(QStringLiteral("PnlBotones"));

    BtnAceptar = new QPushButton(QIcon(Glifo_Aceptar()), QStringLiteral("&Aceptar"), PnlBotones);
    BtnAceptar->setObjectName(QStringLiteral("BtnAceptar"));
    BtnAceptar->setGeometry(46, 9, Ancho_Boton, Alto_Boton);
    BtnCancelar = new QPushButton(QIcon(Glifo_Cancelar()), QStringLiteral("&Cancelar"), PnlBotones);
    BtnCancelar->setObjectName(QStringLiteral("BtnCancelar"));
    BtnCancelar->setGeometry(206, 9, Ancho_Boton, Alto_Boton);
    m_botonCancelar = BtnCancelar;
    connect(BtnAceptar, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancelar, &QPushButton::clicked, this, &QDialog::reject);

    for (int i = avError; i <= avConfirmacion; ++i)
        ilIconos.append(Icono_Aviso(TTipoAviso(i)));

    setFixedSize(Ancho_Cliente, Alto_Cliente);
}

TFormAvisos::~TFormAvisos() = default;

void TFormAvisos::resizeEvent(QResizeEvent *event)
{
    PnlMensaje->setGeometry(0, 0, width(), height() - DisenoAviso::Alto_Botones);
    PnlBotones->setGeometry(0, height() - DisenoAviso::Alto_Botones, width(), DisenoAviso::Alto_Botones);
    tFormBase::resizeEvent(event);
}

void TFormAvisos::Centrar_En_Pantalla()
{
    QScreen *pantalla = QGuiApplication::primaryScreen();
    if (!pantalla)
        return;
    // The frame is the window manager's, known once the window exists.
    const QRect g = pantalla->geometry();
    const QSize exterior = frameGeometry().size();
    move(g.left() + (g.width() - exterior.width()) / 2, g.top() + (g.height() - exterior.height()) / 2);
}

void TFormAvisos::showEvent(QShowEvent *event)
{
    tFormBase::showEvent(event);
    if (!event->spontaneous()) {
        Centrar_En_Pantalla();
        FormShow();
    }
}

void TFormAvisos::FormShow()
{
    if (!BtnAceptar->isDefault())
        BtnCancelar->setFocus();
    else if (!BtnCancelar->isHidden())
        BtnAceptar->setFocus();
    else
        PnlMensaje->setFocus();
}

void TFormAvisos::keyPressEvent(QKeyEvent *event)
{
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        if (m_botonCancelar && m_botonCancelar->isVisible() && m_botonCancelar->isEnabled())
            m_botonCancelar->click();
        return;
    }
    // A button's underlined letter answers with or without Alt, as the
    // dialog holds no field that would take the letter as text.
    if (mods == Qt::NoModifier || mods == Qt::AltModifier) {
        for (QPushButton *b : {BtnAceptar, BtnCancelar}) {
            const QKeySequence nemo = QKeySequence::mnemonic(b->text());
            if (!nemo.isEmpty() && b->isVisible() && b->isEnabled()
                && nemo[0].key() == event->key()) {
                b->click();
                return;
            }
        }
    }
    tFormBase::keyPressEvent(event);
}

// ---- the operations -----------------------------------------------------------

bool Mostrar_Aviso(const QString &Titulo, const QString &Texto, bool Defecto_Segundo, TTipoAviso Tipo,
                   TBotonesAviso Botones)
{
    using namespace DisenoAviso;
    const QString titulo = Titulo_Aviso(Titulo, Tipo);
    if (!g_respuestas.isEmpty() || g_sinVentanas) {
        // Without a window: the scripted answer, or what Enter would give.
        const bool r = !g_respuestas.isEmpty() ? g_respuestas.takeFirst()
                                               : (Botones == baAceptar ? true : !Defecto_Segundo);
        registrar({titulo, Texto, Tipo, Botones, Defecto_Segundo, r, true});
        return r;
    }

    const TEstiloAvisos &estilo = Estilo_Avisos();
    const int tipo = tipoValido(Tipo) ? int(Tipo) : int(avError);
    auto forma = std::make_unique<TFormAvisos>();

    QFont fuenteForma = forma->font();
    fuenteForma.setPointSize(estilo.Fuentes_Aviso[tipo].pointSize());
    forma->setFont(fuenteForma);
    forma->setWindowTitle(titulo);

    QLabel *lbl = forma->LblMensaje;
    lbl->setFont(estilo.Fuentes_Aviso[tipo]);
    QPalette pal = lbl->palette();
    pal.setColor(QPalette::WindowText, estilo.Color_Fuente_Aviso);
    lbl->setPalette(pal);
    lbl->adjustSize();
    const int alto_linea = lbl->height(); // one line of the message font

    lbl->setText(lineasDe(Texto));
    lbl->adjustSize();

    forma->BtnAceptar->setFont(estilo.Fuente_Botones_Aviso);
    forma->BtnCancelar->setFont(estilo.Fuente_Botones_Aviso);
    QPalette pp = forma->PnlMensaje->palette();
    pp.setColor(QPalette::Window, estilo.Color_Panel_Aviso);
    forma->PnlMensaje->setPalette(pp);

    const TEtiquetaAviso disp = Disposicion_Etiqueta_Aviso(lbl->width());
    lbl->setAlignment(disp.alineacion);
    lbl->setWordWrap(disp.ajustar);
    QSize tam_etiqueta = lbl->size();
    if (disp.ajustar)
        tam_etiqueta = QSize(disp.ancho_fijo, lbl->heightForWidth(disp.ancho_fijo));

    const TMedidasAviso m = Medir_Aviso(tam_etiqueta, alto_linea, Botones);
    forma->setFixedSize(m.forma);
    lbl->setGeometry(m.etiqueta);
    forma->ImgIcono->setGeometry(m.icono);
    forma->ImgIcono->setPixmap(forma->ilIconos.value(tipo));

    switch (Botones) {
    case baSiNo:
        forma->BtnAceptar->setText(QStringLiteral(" &Sí"));
        forma->BtnCancelar->setText(QStringLiteral(" &No"));
        break;
    case baAceptarCancelar:
        forma->BtnAceptar->setText(QStringLiteral("&Aceptar"));
        forma->BtnCancelar->setText(QStringLiteral("&Cancelar"));
        break;
    case baAceptar:
        forma->BtnAceptar->setText(QStringLiteral("&Aceptar"));
        forma->Fijar_Boton_Cancelar(forma->BtnAceptar);
        forma->BtnCancelar->hide();
        break;
    default:
        break;
    }
    forma->BtnAceptar->move(m.boton1_izq, forma->BtnAceptar->y());
    forma->BtnCancelar->move(m.boton2_izq, forma->BtnCancelar->y());

    // A notice's only button is always the default one.
    const bool segundo = Defecto_Segundo && Botones != baAceptar;
    forma->BtnCancelar->setDefault(segundo);
    forma->BtnAceptar->setDefault(!segundo);

    forma->Centrar_En_Pantalla();

    if (estilo.Pitido_Aviso[tipo])
        pitar(Tipo);

    // The text as given, carriage returns included, for whoever reads the window.
    forma->setProperty("Texto", Texto);
    const quint64 numero = registrar({titulo, Texto, Tipo, Botones, Defecto_Segundo, false, false});
    const bool r = forma->exec() == QDialog::Accepted;
    anotarRespuesta(numero, r);
    return r;
}

bool Pregunta(const QString &Titulo, const QString &Texto, bool Defecto_Segundo, TTipoAviso Tipo,
              TBotonesAviso Botones)
{
    return Mostrar_Aviso(Titulo, Texto, Defecto_Segundo, Tipo, Botones);
}

void Aviso(const QString &Titulo, const QString &Texto, TTipoAviso Tipo)
{
    Mostrar_Aviso(Titulo_Aviso(Titulo, Tipo), Texto, false, Tipo, baAceptar);
}

bool Confirmar_Impresion(const QString &Nombre)
{
    const QString texto = QStringLiteral("¿Desea imprimir %1?")
                              .arg(Nombre.isEmpty() ? QStringLiteral("el informe") : Nombre);
    return Pregunta(QStringLiteral("Imprimir"), texto, true, avConfirmacion, baSiNo);
}

// ---- seam -----------------------------------------------------------------------

namespace Avisos_Prueba {
void Programar_Respuesta(bool respuesta)
{
    g_respuestas.append(respuesta);
}

int Respuestas_Pendientes()
{
    return int(g_respuestas.size());
}

void Sin_Ventanas(bool activo)
{
    g_sinVentanas = activo;
}

const QList<TAvisoMostrado> &Mostrados()
{
    return g_mostrados;
}

void Reiniciar()
{
    g_respuestas.clear();
    g_mostrados.clear();
    g_sinVentanas = false;
    g_pitido = nullptr;
}

void Fijar_Pitido(std::function<void(TTipoAviso)> pitido)
{
    g_pitido = std::move(pitido);
}
}
