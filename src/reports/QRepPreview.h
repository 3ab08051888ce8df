// The report preview window: every report of the program is shown here first,
// page by page as the engine produces it, and from here it is printed, saved,
// exported or a saved one loaded. Previsualizar_Informe is the one way in.
#pragma once

#include "FormBase.h"

#include <QPoint>

#include <memory>

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QPushButton;
class QToolButton;
class TCSVFilter;
class THTMLFilter;
class TPageStore;
class TPreviewArea;
class TTextFilter;
struct TReport;

// Shows `Informe` in a new preview window and returns once the window has
// closed. Every caller passes true for both permissions.
void Previsualizar_Informe(TReport &Informe, bool Permitir_Imprimir, bool Permitir_Guardar);

class TFormQRepPreview : public tFormBase
{
    Q_OBJECT
public:
    explicit TFormQRepPreview(QWidget *parent = nullptr);
    ~TFormQRepPreview() override;

    QFrame *ToolBar;
    QLabel *Label1;
    QLineEdit *sePage;
    QToolButton *sbFirstPage;
    QToolButton *sbPreviousPage;
    QToolButton *sbNextPage;
    QToolButton *sbLastPage;
    QToolButton *ZoomToFit;
    QToolButton *ZoomTo100;
    QToolButton *ZoomToWidth;
    QToolButton *BtnZoomOut;
    QToolButton *BtnZoomIn;
    QToolButton *BtnPrintSetup;
    QToolButton *BtnPrint;
    QToolButton *BtnSave;
    QToolButton *BtnLoad;
    QLabel *PanelNumPag;
    QPushButton *BtnCerrar;
    TPreviewArea *QRPreview;
    QMenu *ppMenu;
    QAction *opVerHojaEntera;
    QAction *opVerTamanoCompleto;
    QAction *opAjustarAnchoPagina;
    QAction *N2;
    QAction *opImprimir;
    QAction *N1;
    QAction *opCerrar;
    TTextFilter *QRTextFilter;
    TCSVFilter *QRCSVFilter;
    THTMLFilter *QRHTMLFilter;

    TReport *Informe = nullptr; // not owned
    bool Permitir_Imprimir = true;
    bool Permitir_Guardar = false;
    bool Iniciar_Vista = false;
    bool Imprimiendo = false;
    bool Pedir_Pagina = false;
    bool Arrastrando = false;
    qint32 Origen_Arrastre_X = 0;
    qint32 Origen_Arrastre_Y = 0;
    // The application's cursor when the window was shown (none: the default).
    Qt::CursorShape Cursor_Previo = Qt::ArrowCursor;

    // The engine's preview handler: attaches the store and shows the window.
    void Mostrar_Vista_Previa(const std::shared_ptr<TPageStore> &Almacen);

    // The printer the window prints on; created for the report on first use.
    QPrinter &Impresora();

    // The smaller of a and round(a * b / c), halves to even; a / 2 (the middle)
    // when c is zero or less, as there was nothing to scroll before.
    static int Posicion_Proporcional(int a, int b, int c);
    // The caption's beginning: " <title>" or " Informe sin título", and 15 spaces.
    QString Titulo_Informe() const;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private slots:
    void FormShow();
    void FormResize();
    void FormDeactivate();
    void QRPreviewPageAvailable(int PageNum);
    void sbFirstPageClick();
    void sbPreviousPageClick();
    void sbNextPageClick();
    void sbLastPageClick();
    void sePageChange();
    void sePageClick();
    void sePageEnter();
    void sePageExit();
    void Label1Click();
    void ZoomToFitClick();
    void ZoomTo100Click();
    void ZoomToWidthClick();
    void BtnZoomOutClick();
    void BtnZoomInClick();
    void opVerHojaEnteraClick();
    void opVerTamanoCompletoClick();
    void opAjustarAnchoPaginaClick();
    void ppMenuPopup();
    void BtnCerrarExit(QWidget *Nuevo);
    void QRPreviewClick();
    void QRPreviewMouseDown(QPoint Pos);
    void QRPreviewMouseMove(QPoint Pos);
    void QRPreviewMouseUp(QPoint Pos);
    void BtnPrintClick();
    void BtnPrintSetupClick();
    void BtnSaveClick();
    void BtnLoadClick();
    void BtnCerrarClick();
    void Generacion_Fallida();

private:
    bool FormShortCut(QKeyEvent *event);
    bool FormCloseQuery() const;
    void FormClose();
    void BtnCerrarKeyUp(QKeyEvent *event);
    void Inicializar_Vista();
    void Actualizar_Num_Pagina();
    void Dar_Foco(QWidget *Control);
    void Soltar_Botones_Zoom();
    void Imprimir_Informe();
    void Paso_Zoom(bool Ampliar);
    void Boton_Modo(QToolButton *Boton);
    void Habilitar_Impresion(bool Activo);
    void Habilitar_Guardado(bool Activo);
    int Pagina_Campo() const;
    int Numero_Paginas() const;

    std::shared_ptr<TPageStore> m_almacen;
    std::unique_ptr<QPrinter> m_impresora;
    QActionGroup *m_grupoZoom = nullptr;
    bool m_mostrada = false;
    bool m_cerrando = false;
    // Application-wide hooks: released in the destructor, since the base
    // dialog's destructor still moves the focus after this object is gone.
    QMetaObject::Connection m_focoCerrar;
    bool m_cursorArrastre = false;
    bool m_cargado = false;          // the pages shown come from a file
    bool m_tituloDeFichero = false;  // the title was taken from the file loaded
    bool m_ajustando = false;
    QSize m_ultimaRespuesta;
};
