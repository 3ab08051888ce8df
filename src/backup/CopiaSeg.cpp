// The backup dialog.
#include "CopiaSeg.h"

#include "CajasMensaje.h"
#include "CopiaDatos.h"
#include "DataModulo.h"
#include "Excepciones.h"
#include "Protegido.h"
#include "RealizarCopia.h"
#include "SeleccionarDir.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

const QColor Color_Panel(194, 192, 152);

QPushButton *Boton(QWidget *Padre, const char *Nombre, const QString &Texto)
{
    auto *b = new QPushButton(Texto, Padre);
    b->setObjectName(QString::fromLatin1(Nombre));
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    b->setMinimumSize(110, 34);
    b->setAutoDefault(false);
    return b;
}

// Refusals before anything is copied; empty when the run may go on.
QString Motivo_Rechazo(const QString &Datos, const QString &Otra, bool Guardar)
{
    if (Misma_Carpeta(Datos, Otra))
        return Guardar ? QStringLiteral("No se puede guardar la copia de seguridad en la propia carpeta de datos.")
                       : QStringLiteral("No se puede restaurar la copia de seguridad desde la propia carpeta de datos.");
    const QStringList Abiertas = Tablas_Abiertas(Datos);
    if (!Abiertas.isEmpty())
        return QStringLiteral("Estas tablas de la carpeta de datos siguen abiertas: %1. No se ha copiado nada.")
            .arg(Abiertas.join(QStringLiteral(", ")));
    return QString();
}

} // namespace

TFormCopiaSeg::TFormCopiaSeg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FormCopiaSeg"));
    setWindowTitle(QStringLiteral("Copia de Seguridad"));

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    QPalette p = Panel1->palette();
    p.setColor(QPalette::Window, Color_Panel);
    Panel1->setPalette(p);
    BtnGuardar = Boton(Panel1, "BtnGuardar", QStringLiteral("&Guardar"));
    BtnRestaurar = Boton(Panel1, "BtnRestaurar", QStringLiteral("&Restaurar"));
    auto *h = new QHBoxLayout(Panel1);
    h->addWidget(BtnGuardar);
    h->addWidget(BtnRestaurar);

    BtnSalir = Boton(this, "BtnSalir", QStringLiteral("&Cerrar"));
    auto *v = new QVBoxLayout(this);
    v->addWidget(Panel1);
    v->addWidget(BtnSalir, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint().expandedTo(QSize(280, 120)));

    // The copy's own failures are told with their context; anything else that
    // fails in a button's handler goes to the central handler from here.
    connect(BtnGuardar, &QPushButton::clicked, this, Protegido([this] { BtnGuardarClick(); }));
    connect(BtnRestaurar, &QPushButton::clicked, this, Protegido([this] { BtnRestaurarClick(); }));
    connect(BtnSalir, &QPushButton::clicked, this, Protegido([this] { BtnSalirClick(); }));
}

QString TFormCopiaSeg::Carpeta_Datos()
{
    return ModuloDatos ? ModuloDatos->Carpeta_Datos() : TModuloDatos::Carpeta_Datos_Predeterminada();
}

void TFormCopiaSeg::reject()
{
}

void TFormCopiaSeg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormCopiaSeg::FormShow()
{
    if (!ModuloDatos)
        return;
    ModuloDatos->Pantalla_Activa = Pantalla_Ninguna;
    // Every table object, the work tables too: no table file may be open while it is copied.
    try {
        ModuloDatos->Cerrar_Carpeta_Datos();
    } catch (...) {
        Excepcion.Tratar_Error(std::current_exception(), QStringLiteral("Error al cerrar las tablas."));
    }
}

void TFormCopiaSeg::BtnSalirClick()
{
    if (ModuloDatos) {
        try {
            ModuloDatos->Abrir_Tablas();
        } catch (...) {
            Excepcion.Tratar_Error(std::current_exception(), QStringLiteral("Error al abrir las tablas."));
        }
    }
    accept();
}

void TFormCopiaSeg::BtnGuardarClick()
{
    const QString Atencion = QStringLiteral("Atención: Copia de Seguridad");
    TFormSeleccionarDir Dialogo(this);
    Dialogo.setWindowTitle(QStringLiteral("Guardar Copia de Seguridad"));
    Dialogo.GroupBox1->setTitle(QStringLiteral("Seleccione carpeta para guardar los datos"));
    if (Dialogo.exec() != QDialog::Accepted)
        return;
    const QString Destino = Normalizar_Carpeta(Dialogo.Carpeta_Elegida);
    if (!Pregunta_Plataforma(this, QStringLiteral("Confirmar destino de los datos"),
                             QStringLiteral("¿Desea realizar la copia de seguridad en la carpeta %1?").arg(Destino)))
        return;

    const QString Datos = Carpeta_Datos();
    const QString Rechazo = Motivo_Rechazo(Datos, Destino, true);
    if (!Rechazo.isEmpty()) {
        Aviso_Plataforma(this, Atencion, Rechazo);
        return;
    }
    // The free space of the destination's own volume, whatever the drive list shows.
    const qint64 Libres = Bytes_Libres(Destino);
    const QList<tFichero> Ficheros = Ficheros_Copia(Datos);
    if (Libres > Tamano_Total(Ficheros)) {
        TFormRealizarCopia Copia(this);
        Copia.setWindowTitle(QStringLiteral("Guardar Copia de Seguridad"));
        Copia.GroupBox1->setTitle(QStringLiteral("Realizando Copia de Seguridad"));
        Copia.Carpeta_Origen = Datos;
        Copia.Carpeta_Destino = Destino;
        Copia.Total_Ficheros = qint32(Ficheros.size());
        Copia.Modo = tModoCopia::Guardar;
        Copia.exec();
    } else {
        Aviso_Plataforma(this, Atencion, QStringLiteral("No hay espacio suficiente en la carpeta destino"));
    }
}

void TFormCopiaSeg::BtnRestaurarClick()
{
    const QString Titulo = QStringLiteral("Restaurar Copia de Seguridad");
    TFormSeleccionarDir Dialogo(this);
    Dialogo.setWindowTitle(Titulo);
    Dialogo.GroupBox1->setTitle(QStringLiteral("Seleccione carpeta para obtener los datos"));
    if (Dialogo.exec() != QDialog::Accepted)
        return;
    const QString Origen = Normalizar_Carpeta(Dialogo.Carpeta_Elegida);
    if (!Pregunta_Plataforma(this, QStringLiteral("Confirmar carpeta origen"),
                             QStringLiteral("¿Desea restaurar la copia de seguridad desde la carpeta %1?").arg(Origen)))
        return;

    const qint32 Total = qint32(Ficheros_Carpeta(Origen).size());
    if (!Existe_Sello(Origen)) {
        Aviso_Plataforma(this, Titulo, QStringLiteral("No se encuentra fichero de datos en el directorio origen"));
        return;
    }
    QString Fecha;
    try {
        Fecha = Leer_Sello(Origen);
    } catch (...) {
        Excepcion.Tratar_Error(std::current_exception(), QStringLiteral("Error al leer la fecha de la copia de seguridad."));
        return;
    }
    if (!Pregunta_Plataforma(this, QStringLiteral("Confirmar fecha de la copia a restaurar"),
                             QStringLiteral("La copia que va a restaurar es de fecha %1. ¿Desea continuar?").arg(Fecha)))
        return;

    const QString Datos = Carpeta_Datos();
    const QString Rechazo = Motivo_Rechazo(Datos, Origen, false);
    if (!Rechazo.isEmpty()) {
        Aviso_Plataforma(this, Titulo, Rechazo);
        return;
    }
    TFormRealizarCopia Copia(this);
    Copia.setWindowTitle(Titulo);
    Copia.GroupBox1->setTitle(QStringLiteral("Restaurando Copia de Seguridad"));
    Copia.Carpeta_Origen = Origen;
    Copia.Carpeta_Destino = Datos;
    Copia.Total_Ficheros = Total;
    Copia.Modo = tModoCopia::Restaurar;
    Copia.exec();
}
