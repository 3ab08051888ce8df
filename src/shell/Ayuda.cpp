// Help file, viewer and F1 key.
#include "Ayuda.h"

#include "Avisos.h"
#include "Ubicaciones.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
QString gFicheroAyuda;
QPointer<TFormAyuda> gVentanaAyuda;
const QString Esquema_Tema = QStringLiteral("tema");
} // namespace

void Fijar_Contexto_Ayuda(QWidget *Ventana, int Contexto)
{
    Ventana->setProperty(Propiedad_Contexto_Ayuda, Contexto);
}

int Contexto_Ayuda(const QWidget *w)
{
    for (; w; w = w->parentWidget()) {
        const int Contexto = w->property(Propiedad_Contexto_Ayuda).toInt();
        if (Contexto > 0)
            return Contexto;
        if (w->isWindow())
            break; // a window without a topic does not borrow its owner's
    }
    return 0;
}

TFicheroAyuda TFicheroAyuda::Analizar(const QString &Texto)
{
    static const QRegularExpression Bloque(
        QStringLiteral(R"re(<section\s+data-contexto="(\d+)"\s+data-titulo="([^"]*)"\s*>(.*?)</section>)re"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    TFicheroAyuda Fichero;
    for (auto it = Bloque.globalMatch(Texto); it.hasNext();) {
        const auto m = it.next();
        Fichero.fTemas.append({m.captured(1).toInt(), m.captured(2).trimmed(), m.captured(3)});
    }
    return Fichero;
}

bool TFicheroAyuda::Cargar(const QString &Camino, QString *Error)
{
    QFile f(Camino);
    if (!f.open(QIODevice::ReadOnly)) {
        if (Error)
            *Error = QStringLiteral("No se puede abrir el fichero de ayuda %1.").arg(Camino);
        return false;
    }
    *this = Analizar(QString::fromUtf8(f.readAll()));
    if (fTemas.isEmpty()) {
        if (Error)
            *Error = QStringLiteral("El fichero de ayuda %1 no contiene ningún tema.").arg(Camino);
        return false;
    }
    return true;
}

const TTemaAyuda *TFicheroAyuda::Tema(int Contexto) const
{
    for (const TTemaAyuda &t : fTemas)
        if (t.Contexto == Contexto)
            return &t;
    return nullptr;
}

QString TFicheroAyuda::Html_Contenido() const
{
    QString Html;
    if (const TTemaAyuda *Portada = Tema(0))
        Html = Portada->Html;
    Html += QStringLiteral("<h2>Temas de la ayuda</h2><ul>");
    for (const TTemaAyuda &t : fTemas)
        if (t.Contexto != 0)
            Html += QStringLiteral("<li><a href=\"tema:%1\">%2</a></li>").arg(t.Contexto).arg(t.Titulo.toHtmlEscaped());
    return Html + QStringLiteral("</ul>");
}

void Fijar_Fichero_Ayuda(const QString &Camino)
{
    gFicheroAyuda = Camino;
}

QString Fichero_Ayuda()
{
    if (gFicheroAyuda.isEmpty())
        return Ubicaciones().Fichero_Ayuda;
    return gFicheroAyuda;
}

TFormAyuda::TFormAyuda(const TFicheroAyuda &Fichero, QWidget *parent)
    : QWidget(parent, Qt::Window), fFichero(Fichero)
{
    setObjectName(QStringLiteral("TFormAyuda"));
    setWindowTitle(QStringLiteral("Ayuda de Quelvaro"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(720, 520);

    LstTemas = new QListWidget(this);
    LstTemas->setObjectName(QStringLiteral("LstTemas"));
    LstTemas->setMaximumWidth(230);
    auto *Portada = new QListWidgetItem(QStringLiteral("Contenido"), LstTemas);
    Portada->setData(Qt::UserRole, 0);
    for (const TTemaAyuda &t : fFichero.Temas()) {
        if (t.Contexto == 0)
            continue;
        auto *Elemento = new QListWidgetItem(t.Titulo, LstTemas);
        Elemento->setData(Qt::UserRole, t.Contexto);
    }

    TxtAyuda = new QTextBrowser(this);
    TxtAyuda->setObjectName(QStringLiteral("TxtAyuda"));
    TxtAyuda->setOpenLinks(false);
    TxtAyuda->document()->setDefaultStyleSheet(
        QStringLiteral("h1 { color: #006064; } h2 { color: #37474f; } body { font-size: 10pt; }"));

    BtnContenido = new QPushButton(QStringLiteral("C&ontenido"), this);
    BtnContenido->setObjectName(QStringLiteral("BtnContenido"));
    BtnCerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    BtnCerrar->setObjectName(QStringLiteral("BtnCerrar"));

    auto *Cuerpo = new QHBoxLayout;
    Cuerpo->addWidget(LstTemas);
    Cuerpo->addWidget(TxtAyuda, 1);
    auto *Botones = new QHBoxLayout;
    Botones->addWidget(BtnContenido);
    Botones->addStretch(1);
    Botones->addWidget(BtnCerrar);
    auto *Todo = new QVBoxLayout(this);
    Todo->addLayout(Cuerpo, 1);
    Todo->addLayout(Botones);

    connect(TxtAyuda, &QTextBrowser::anchorClicked, this, &TFormAyuda::TxtAyudaAnchorClicked);
    connect(LstTemas, &QListWidget::currentRowChanged, this, &TFormAyuda::LstTemasCurrentRowChanged);
    connect(BtnContenido, &QPushButton::clicked, this, &TFormAyuda::Mostrar_Contenido);
    connect(BtnCerrar, &QPushButton::clicked, this, &QWidget::close);
    // Escape closes the help as it closes the program's other windows.
    auto *Escape = new QAction(this);
    Escape->setShortcut(Qt::Key_Escape);
    Escape->setShortcutContext(Qt::WindowShortcut);
    addAction(Escape);
    connect(Escape, &QAction::triggered, this, &QWidget::close);
}

void TFormAyuda::Mostrar_Contenido()
{
    Mostrar_Tema(0);
}

void TFormAyuda::Mostrar_Tema(int Contexto)
{
    const TTemaAyuda *Tema = Contexto != 0 ? fFichero.Tema(Contexto) : nullptr;
    fContexto = Tema ? Contexto : 0;
    TxtAyuda->setHtml(Tema ? Tema->Html : fFichero.Html_Contenido());
    for (int i = 0; i < LstTemas->count(); ++i) {
        if (LstTemas->item(i)->data(Qt::UserRole).toInt() == fContexto) {
            const QSignalBlocker Bloqueo(LstTemas);
            LstTemas->setCurrentRow(i);
            break;
        }
    }
}

void TFormAyuda::TxtAyudaAnchorClicked(const QUrl &Enlace)
{
    if (Enlace.scheme() == Esquema_Tema)
        Mostrar_Tema(Enlace.path().toInt());
}

void TFormAyuda::LstTemasCurrentRowChanged(int Fila)
{
    if (QListWidgetItem *Elemento = LstTemas->item(Fila))
        Mostrar_Tema(Elemento->data(Qt::UserRole).toInt());
}

TFormAyuda *Mostrar_Ayuda(int Contexto)
{
    // Over a modal window the viewer must be its child, or the modality would block it.
    QWidget *Dueno = QApplication::activeModalWidget();
    if (gVentanaAyuda && gVentanaAyuda->parentWidget() != Dueno) {
        gVentanaAyuda->close();
        gVentanaAyuda = nullptr;
    }
    if (!gVentanaAyuda) {
        TFicheroAyuda Fichero;
        QString Error;
        if (!Fichero.Cargar(Fichero_Ayuda(), &Error)) {
            Aviso(QStringLiteral("Ayuda"), Error, avError);
            return nullptr;
        }
        gVentanaAyuda = new TFormAyuda(Fichero, Dueno);
    }
    gVentanaAyuda->Mostrar_Tema(Contexto);
    gVentanaAyuda->show();
    gVentanaAyuda->raise();
    gVentanaAyuda->activateWindow();
    return gVentanaAyuda;
}

TFormAyuda *Ventana_Ayuda()
{
    return gVentanaAyuda;
}

bool TTeclaAyuda::eventFilter(QObject *Objeto, QEvent *Evento)
{
    if (Evento->type() == QEvent::KeyPress && Objeto->isWidgetType()) {
        auto *Tecla = static_cast<QKeyEvent *>(Evento);
        if (Tecla->key() == Qt::Key_F1 && Tecla->modifiers() == Qt::NoModifier) {
            auto *w = static_cast<QWidget *>(Objeto);
            // The viewer itself has no topic: F1 there leaves it as it is.
            if (w->window() != gVentanaAyuda)
                Mostrar_Ayuda(Contexto_Ayuda(w));
            return true;
        }
    }
    return QObject::eventFilter(Objeto, Evento);
}

void Instalar_Tecla_Ayuda()
{
    static TTeclaAyuda *Tecla = nullptr;
    if (!Tecla) {
        Tecla = new TTeclaAyuda(qApp);
        qApp->installEventFilter(Tecla);
    }
}
