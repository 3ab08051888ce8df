// About box.
#include "AcercaDe.h"

#include "DataModulo.h"
#include "Imagenes.h"
#include "UtilInternet.h"

#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

namespace {
const int Modo_Ventana_Normal = 1; // the desktop's "show normal" mode

QLabel *Etiqueta(QWidget *Padre, const char *Nombre, const QString &Texto, const QRect &Lugar, int Pixeles, bool Negrita,
                 const QColor &Color, Qt::Alignment Alineacion = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *l = new QLabel(Texto, Padre);
    l->setObjectName(QString::fromLatin1(Nombre));
    l->setGeometry(Lugar);
    l->setAlignment(Alineacion);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(Pixeles);
    f.setBold(Negrita);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, Color);
    l->setPalette(p);
    return l;
}
} // namespace

TFormAcercaDe::TFormAcercaDe(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FormAcercaDe"));
    setWindowTitle(QStringLiteral("Acerca de....."));
    setFixedSize(613, 470);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(rect());
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setAutoFillBackground(true);
    QPalette Paleta = Panel1->palette();
    Paleta.setColor(QPalette::Window, QColor(228, 224, 211));
    Panel1->setPalette(Paleta);

    const QColor Marino(0, 0, 128), Teal(0, 128, 128), Oscuro(40, 40, 40);

    ImgLogo = new QLabel(Panel1);
    ImgLogo->setObjectName(QStringLiteral("ImgLogo"));
    ImgLogo->setGeometry(32, 28, 96, 96);
    ImgLogo->setPixmap(Imagen_Shell(QStringLiteral("emblema96")));

    LblPrograma = Etiqueta(Panel1, "LblPrograma", QStringLiteral("Quelvaro"), QRect(150, 30, 420, 44), 36, true, Teal);
    LblDescripcion = Etiqueta(Panel1, "LblDescripcion", QStringLiteral("Mantenimiento de flotas de vehículos"),
                              QRect(150, 76, 420, 24), 17, false, Oscuro);
    LblVersion = Etiqueta(Panel1, "LblVersion", QStringLiteral("Versión %1").arg(QStringLiteral(QUELVARO_VERSION)),
                          QRect(150, 102, 420, 22), 14, false, Oscuro);

    ImgPrograma = new QLabel(Panel1);
    ImgPrograma->setObjectName(QStringLiteral("ImgPrograma"));
    ImgPrograma->setGeometry(32, 146, 549, 196);
    ImgPrograma->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    {
        // A strip of the program's picture: the road and the fleet.
        const QPixmap Imagen = Imagen_Shell(QStringLiteral("quelvaro"));
        const QRect Corte(0, Imagen.height() * 44 / 100, Imagen.width(), Imagen.width() * 192 / 545);
        ImgPrograma->setPixmap(Imagen.copy(Corte).scaled(545, 192, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }

    LblSoporte = Etiqueta(Panel1, "LblSoporte", QStringLiteral("Soporte técnico:"), QRect(32, 362, 150, 24), 15, false, Oscuro);
    LblEmail1 = Etiqueta(Panel1, "LblEmail1", QString::fromLatin1(Direccion_Soporte), QRect(182, 362, 300, 24), 15, true, Marino);
    QFont Subrayada = LblEmail1->font();
    Subrayada.setUnderline(true);
    LblEmail1->setFont(Subrayada);
    LblEmail1->setCursor(Qt::PointingHandCursor);
    LblEmail1->setToolTip(QStringLiteral("Escribir al soporte técnico"));
    LblEmail1->installEventFilter(this);

    // Where the tables are: beside the program, or in the user's folder once installed.
    const QString Carpeta = QDir::toNativeSeparators(ModuloDatos ? ModuloDatos->Carpeta_Datos()
                                                                 : TModuloDatos::Carpeta_Datos_Predeterminada());
    LblCarpetaDatos = Etiqueta(Panel1, "LblCarpetaDatos", QString(), QRect(32, 386, 430, 22), 13, false, Oscuro);
    LblCarpetaDatos->setText(QFontMetrics(LblCarpetaDatos->font())
                                 .elidedText(QStringLiteral("Datos: ") + Carpeta, Qt::ElideMiddle,
                                             LblCarpetaDatos->width()));
    LblCarpetaDatos->setToolTip(Carpeta);
    LblCarpetaDatos->setTextInteractionFlags(Qt::TextSelectableByMouse);

    SpeedButton1 = new QPushButton(Imagen_Shell(QStringLiteral("salir20")), QStringLiteral("&Cerrar"), Panel1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(469, 410, 112, 32);
    SpeedButton1->setDefault(true);
    connect(SpeedButton1, &QPushButton::clicked, this, &QDialog::accept);

    if (const QScreen *Pantalla = QGuiApplication::primaryScreen())
        move(Pantalla->availableGeometry().center() - rect().center());
}

bool TFormAcercaDe::eventFilter(QObject *Objeto, QEvent *Evento)
{
    if (Objeto == LblEmail1 && Evento->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(Evento)->button() == Qt::LeftButton) {
        LblEmail1Click();
        return true;
    }
    return QDialog::eventFilter(Objeto, Evento);
}

void TFormAcercaDe::LblEmail1Click()
{
    Abrir_Direccion(QStringLiteral("MailTo:") + QString::fromLatin1(Direccion_Soporte), QString(), QString(), Modo_Ventana_Normal);
}
