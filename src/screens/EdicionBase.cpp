// The editor-dialog half of the record pattern.
#include "EdicionBase.h"

#include "Avisos.h"
#include "BotonFecha.h"
#include "ClaseAux.h"
#include "DataModulo.h"
#include "Excepciones.h"
#include "FechaEntrada.h"
#include "ListaBase.h"
#include "Protegido.h"
#include "Table.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TFormEdicionBase::TFormEdicionBase(TTipoRegistro Tipo, QWidget *parent) : tFormBase(parent), fTipo(Tipo)
{
    const TRegistro &r = Registro(Tipo);
    setObjectName(QString::fromLatin1(r.Editor));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (r.Ayuda_Editor)
        setProperty(Propiedad_Ayuda, r.Ayuda_Editor);

    auto *todo = new QVBoxLayout(this);
    todo->setContentsMargins(0, 0, 0, 0);
    todo->setSpacing(0);

    PnlDatos = new QFrame(this);
    PnlDatos->setObjectName(QStringLiteral("PnlDatos"));
    PnlDatos->setFrameShape(QFrame::Panel);
    PnlDatos->setFrameShadow(QFrame::Raised);
    PnlDatos->setAutoFillBackground(true);
    QPalette pal = PnlDatos->palette();
    pal.setColor(QPalette::Window, Color_Datos);
    // Greyed when deleting, but still legible on the silver panel.
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(96, 96, 96));
    PnlDatos->setPalette(pal);
    fRejilla = new QGridLayout(PnlDatos);
    fRejilla->setContentsMargins(12, 12, 12, 12);
    fRejilla->setHorizontalSpacing(8);
    fRejilla->setVerticalSpacing(8);
    fRejilla->setColumnMinimumWidth(0, 70);
    fRejilla->setColumnStretch(1, 1);
    todo->addWidget(PnlDatos, 1);

    PnlBotones = new QFrame(this);
    PnlBotones->setObjectName(QStringLiteral("PnlBotones"));
    PnlBotones->setFrameShape(QFrame::Panel);
    PnlBotones->setFrameShadow(QFrame::Raised);
    PnlBotones->setFixedHeight(44);
    auto *botones = new QHBoxLayout(PnlBotones);
    botones->setContentsMargins(8, 6, 8, 6);
    botones->addStretch(1);
    BtnAceptar = new QPushButton(QStringLiteral("&Aceptar"), PnlBotones);
    BtnAceptar->setObjectName(QStringLiteral("BtnAceptar"));
    BtnAceptar->setIcon(Icono_Estandar(QStyle::SP_DialogApplyButton));
    BtnAceptar->setDefault(true);
    BtnAceptar->setMinimumWidth(96);
    BtnCancelar = new QPushButton(QStringLiteral("&Cancelar"), PnlBotones);
    BtnCancelar->setObjectName(QStringLiteral("BtnCancelar"));
    BtnCancelar->setIcon(Icono_Estandar(QStyle::SP_DialogCancelButton));
    BtnCancelar->setAutoDefault(false);
    BtnCancelar->setMinimumWidth(96);
    botones->addWidget(BtnAceptar);
    botones->addSpacing(12);
    botones->addWidget(BtnCancelar);
    botones->addStretch(1);
    todo->addWidget(PnlBotones);

    if (ModuloDatos)
        fTabla = ModuloDatos->Tabla(QString::fromLatin1(r.Tabla));

    // The table steps report their own failures with their context; whatever
    // else fails in a button's handler goes to the central handler from here.
    connect(BtnAceptar, &QPushButton::clicked, this, Protegido([this] { BtnAceptarClick(); }));
    connect(BtnCancelar, &QPushButton::clicked, this, Protegido([this] { BtnCancelarClick(); }));
    Cerrar_Con_Escape(this);
}

TFormEdicionBase::~TFormEdicionBase() = default;

QLabel *TFormEdicionBase::Anadir_Fila(const QString &NombreEtiqueta, const QString &Texto, QWidget *Campo, QWidget *Extra,
                                      int Columna)
{
    while (fFilas.size() <= Columna)
        fFilas << 0;
    const int fila = fFilas[Columna]++;
    const int col = 3 * Columna;
    auto *l = new QLabel(Texto, PnlDatos);
    l->setObjectName(NombreEtiqueta);
    l->setBuddy(Campo);
    fRejilla->addWidget(l, fila, col);
    // A field of fixed width keeps to the left of its column; the rest fill it.
    if (Campo->minimumWidth() == Campo->maximumWidth())
        fRejilla->addWidget(Campo, fila, col + 1, Qt::AlignLeft);
    else
        fRejilla->addWidget(Campo, fila, col + 1);
    if (Extra)
        fRejilla->addWidget(Extra, fila, col + 2);
    return l;
}

TDataSource *TFormEdicionBase::Fuente() const
{
    return ModuloDatos ? ModuloDatos->Fuente(Tabla()) : nullptr;
}

QString Nombre_Etiqueta(const QString &Control)
{
    // Longest first: "DbE" would leave "dit" of "DbEditClase".
    for (const char *prefijo : {"DBEdit", "DbEdit", "DBMemo", "DBLCB", "DbE", "DbM", "Edit"})
        if (Control.startsWith(QLatin1String(prefijo)) && Control.size() > int(qstrlen(prefijo)))
            return QStringLiteral("Lbl") + Control.mid(int(qstrlen(prefijo)));
    return QStringLiteral("Lbl") + Control;
}

TDBEdit *TFormEdicionBase::Anadir_Campo(const QString &Nombre, const QString &Etiqueta, const QString &Campo, int Ancho,
                                        QWidget *Extra, int Columna)
{
    TDBEdit *e = Crear_Campo(Nombre, Campo, Ancho);
    Anadir_Fila(Nombre_Etiqueta(Nombre), Etiqueta, e, Extra, Columna);
    return e;
}

TCampoFecha TFormEdicionBase::Crear_Campo_Fecha(const QString &Nombre, const QString &NombreBoton, const QString &Campo)
{
    TCampoFecha f;
    f.Edit = Crear_Campo(Nombre, Campo, 90);
    Preparar_Campo_Fecha(f.Edit, true);
    f.Boton = new tBotonFecha(PnlDatos);
    f.Boton->setObjectName(NombreBoton);
    f.Boton->setEditComp(f.Edit);
    f.Boton->setFVacia(true);
    f.Boton->setToolTip(QStringLiteral("Seleccionar una fecha"));
    f.Fila = new QWidget(PnlDatos);
    auto *h = new QHBoxLayout(f.Fila);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(2);
    h->addWidget(f.Edit);
    h->addWidget(f.Boton);
    h->addStretch(1);
    return f;
}

TCampoFecha TFormEdicionBase::Anadir_Campo_Fecha(const QString &Nombre, const QString &NombreBoton, const QString &Etiqueta,
                                                 const QString &Campo, int Columna)
{
    const TCampoFecha f = Crear_Campo_Fecha(Nombre, NombreBoton, Campo);
    QLabel *l = Anadir_Fila(Nombre_Etiqueta(Nombre), Etiqueta, f.Fila, nullptr, Columna);
    l->setBuddy(f.Edit);
    return f;
}

void TFormEdicionBase::showEvent(QShowEvent *event)
{
    tFormBase::showEvent(event);
    if (!fMostrado) {
        fMostrado = true;
        // Highlighting is attached once the kind has built its fields.
        Preparar_Campos(PnlDatos);
        // A failed preparation is shown over the dialog; anything else that
        // fails while it is shown is told here, never through Qt's delivery.
        Proteger([this] { FormShow(); });
    }
}

void TFormEdicionBase::FormShow()
{
    fModo = Modo_Del_Par(fTipo);
    TTable *t = Tabla();
    const TRegistro &r = Registro(fTipo);
    try {
        switch (fModo) {
        case Modo_Anadir:
            Antes_De_Anadir();
            t->append();
            Despues_De_Anadir();
            break;
        case Modo_Editar:
            Antes_De_Editar();
            t->edit();
            Despues_De_Editar();
            break;
        default:
            Preparar_Eliminar();
            break;
        }
        // The fields now show the record: the rule for BtnAceptar runs on what they show.
        Actualizar_Boton_Aceptar();
    } catch (...) {
        Excepcion.Registrar_Error(std::current_exception(), Contexto_Preparar(fModo));
        fFalloPreparacion = true;
        // Shown over the dialog once it has painted; the timer covers a dialog that never paints.
        QTimer::singleShot(0, this, &TFormEdicionBase::Mostrar_Fallo_Preparacion);
    }
    setWindowTitle(Titulo_Editor(fTipo, fModo));
    QWidget *Foco = nullptr;
    if (fModo == Modo_Eliminar) {
        PnlDatos->setEnabled(false);
        BtnAceptar->setEnabled(true);
        Foco = BtnCancelar;
    } else {
        PnlDatos->setEnabled(true);
        if (fModo == Modo_Anadir) {
            if (Aceptar_Desactivado_Al_Anadir())
                BtnAceptar->setEnabled(false);
        } else {
            BtnAceptar->setEnabled(true);
        }
        Foco = findChild<QWidget *>(QString::fromLatin1(fModo == Modo_Anadir ? r.Foco_Anadir : r.Foco_Editar));
    }
    if (Foco)
        Foco->setFocus(Qt::OtherFocusReason);
}

void TFormEdicionBase::paintEvent(QPaintEvent *event)
{
    tFormBase::paintEvent(event);
    if (fFalloPreparacion)
        QMetaObject::invokeMethod(this, &TFormEdicionBase::Mostrar_Fallo_Preparacion, Qt::QueuedConnection);
}

void TFormEdicionBase::Mostrar_Fallo_Preparacion()
{
    if (!fFalloPreparacion)
        return;
    fFalloPreparacion = false;
    if (Excepcion.Hay_Error()) {
        Excepcion.Mostrar_Error();
        Excepcion.Borrar_Error();
    }
    reject();
}

void TFormEdicionBase::BtnAceptarClick()
{
    if (!BtnAceptar->isEnabled())
        return;
    if (fModo == Modo_Eliminar) {
        if (!Pregunta(QStringLiteral("Eliminar Registro"), Texto_Eliminar(), true, avConfirmacion, baSiNo))
            return;
        try {
            Eliminar();
        } catch (...) {
            Excepcion.Tratar_Error(std::current_exception(), Contexto_Grabar(Modo_Eliminar));
        }
        accept();
        return;
    }
    // A date the check refused is still on show but not in the record: saving now
    // would store the former date and lose what the user typed.
    if (TDBEdit *e = Fecha_Sin_Corregir()) {
        if (e->hasFocus()) {
            try {
                e->updateRecord(); // the check has not run yet: let it tell the user
            } catch (...) {
                Excepcion.Tratar_Error(std::current_exception(), Contexto_Grabar(fModo));
            }
        }
        e->setFocus();
        return;
    }
    // A value its field cannot take (a number that is not one) is told and left
    // in the field to be mended: the post would fail and lose what was typed.
    if (!Tomar_Campos())
        return;
    try {
        // A value typed in the field that still has the focus is taken first.
        Grabar_Controles(PnlDatos);
        Antes_De_Grabar();
        Tabla()->post();
    } catch (...) {
        Excepcion.Tratar_Error(std::current_exception(), Contexto_Grabar(fModo));
    }
    accept();
}

bool TFormEdicionBase::Tomar_Campos()
{
    for (TDBEdit *e : PnlDatos->findChildren<TDBEdit *>()) {
        if (!e->modified())
            continue;
        try {
            e->updateRecord();
        } catch (const std::exception &) {
            Aviso(QStringLiteral("Atención"), Texto_Valor_No_Valido(e), avAtencion);
            e->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    return true;
}

QString Texto_Valor_No_Valido(const TDBEdit *Campo)
{
    QString Etiqueta;
    for (const QLabel *l : Campo->parentWidget()->findChildren<QLabel *>())
        if (l->buddy() == Campo)
            Etiqueta = l->text().remove(QLatin1Char('&')).trimmed();
    const TField *f = Campo->dbField();
    const bool Numero = f && (f->dataType() == TFieldType::Float || f->dataType() == TFieldType::Integer);
    QString Texto = QStringLiteral("«%1» no es un valor válido").arg(Campo->shownText());
    if (!Etiqueta.isEmpty())
        Texto += QStringLiteral(" para «%1»").arg(Etiqueta);
    Texto += QLatin1Char('.');
    if (Numero)
        Texto += QStringLiteral("\rEscriba sólo cifras, con la coma antes de los decimales (1234,5).");
    return Texto;
}

TDBEdit *TFormEdicionBase::Fecha_Sin_Corregir() const
{
    for (TDBEdit *e : PnlDatos->findChildren<TDBEdit *>()) {
        const TField *f = e->dbField();
        if (!f || f->dataType() != TFieldType::Date)
            continue;
        const QString texto = e->shownText();
        if (!Fecha_En_Blanco(texto) && !Convertir_Texto_Fecha(texto).isValid())
            return e;
    }
    return nullptr;
}

void TFormEdicionBase::BtnCancelarClick()
{
    reject();
}

QString TFormEdicionBase::Texto_Eliminar() const
{
    return QStringLiteral("¿Desea ELIMINAR el registro actual?");
}

void TFormEdicionBase::Eliminar()
{
    Tabla()->deleteRecord();
}

void TFormEdicionBase::done(int r)
{
    FormClose();
    tFormBase::done(r);
}

void TFormEdicionBase::FormClose()
{
    if (fCerrado)
        return;
    fCerrado = true;
    try {
        if (TTable *t = Tabla(); t && t->active())
            t->cancel();
        Al_Cerrar();
    } catch (...) {
        Excepcion.Tratar_Error(std::current_exception(), QString());
    }
}
