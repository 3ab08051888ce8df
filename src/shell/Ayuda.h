// The program's help: the file Quelvaro.Hlp (HTML topics keyed by help context number), the
// viewer that shows its contents or one topic, and the F1 key of every window.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QWidget>

class QListWidget;
class QPushButton;
class QTextBrowser;
class QUrl;

// The dynamic property through which a window names its help topic (an int; none or 0: no topic).
inline constexpr char Propiedad_Contexto_Ayuda[] = "HelpContext";
void Fijar_Contexto_Ayuda(QWidget *Ventana, int Contexto);
// The help context of the window that holds `w`: the nearest one set on it or a parent; 0 if none.
int Contexto_Ayuda(const QWidget *w);

struct TTemaAyuda
{
    int Contexto = 0;
    QString Titulo;
    QString Html;
};

// The topics of a help file: blocks <section data-contexto="N" data-titulo="T">…</section>;
// context 0 is the contents page.
class TFicheroAyuda
{
public:
    static TFicheroAyuda Analizar(const QString &Texto);
    // Reads the file; false (and a Spanish reason in `Error`) when it cannot be read or holds no topic.
    bool Cargar(const QString &Camino, QString *Error = nullptr);

    const QList<TTemaAyuda> &Temas() const { return fTemas; }
    const TTemaAyuda *Tema(int Contexto) const;
    // The contents page followed by the list of every topic.
    QString Html_Contenido() const;

private:
    QList<TTemaAyuda> fTemas;
};

// The application's help file; by default the program's "Quelvaro.Hlp" (Ubicaciones()).
void Fijar_Fichero_Ayuda(const QString &Camino);
QString Fichero_Ayuda();

class TFormAyuda : public QWidget
{
    Q_OBJECT
public:
    explicit TFormAyuda(const TFicheroAyuda &Fichero, QWidget *parent = nullptr);

    void Mostrar_Contenido();
    // A context without a topic of its own shows the contents.
    void Mostrar_Tema(int Contexto);
    // What is on show: 0 for the contents.
    int Contexto_Mostrado() const { return fContexto; }

    QListWidget *LstTemas;
    QTextBrowser *TxtAyuda;
    QPushButton *BtnContenido;
    QPushButton *BtnCerrar;

private slots:
    void TxtAyudaAnchorClicked(const QUrl &Enlace);
    void LstTemasCurrentRowChanged(int Fila);

private:
    TFicheroAyuda fFichero;
    int fContexto = -1;
};

// Opens the viewer on the topic of `Contexto` (0: the contents) over whatever window is active.
// A help file that cannot be read is reported with the error dialog; the result is then nullptr.
TFormAyuda *Mostrar_Ayuda(int Contexto);
// The viewer open at the moment, if any.
TFormAyuda *Ventana_Ayuda();

// F1 anywhere in the application opens the topic of the window that has the focus.
class TTeclaAyuda : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *Objeto, QEvent *Evento) override;
};
void Instalar_Tecla_Ayuda();
