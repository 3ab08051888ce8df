// The maintenance list window.
#include "Mantenimiento.h"

#include "DBGrid.h"
#include "EdMantenimiento.h"
#include "Proximo.h"
#include "Table.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// The due panel's two rows, as task field names, left to right.
const char *const Fila_Superior[] = {"BUJIAS", "F_ACEITE", "F_COMBUSTIBLE", "L_FRENOS",
                                     "P_TRASERAS", "ATF_CONVERTIDOR", "ENGRASE"};
const char *const Fila_Inferior[] = {"C_ACEITE", "F_AIRE", "L_REFRIGERANTE", "P_DELANTERAS",
                                     "ATF_CAJA", "ATF_DIFERENCIAL"};

QColor Color(tColorProximo c)
{
    const unsigned rgb = Rgb_Color_Proximo(c);
    return QColor(int(rgb >> 16) & 0xff, int(rgb >> 8) & 0xff, int(rgb) & 0xff);
}

// Each box holds both colours in its palette and shows one by choosing the role
// its text is drawn with: a held-down arrow key changes colours many times a
// second, and choosing a role costs far less than setting a new palette.
constexpr QPalette::ColorRole Papel_Granate = QPalette::BrightText;
constexpr QPalette::ColorRole Papel_Azul_Marino = QPalette::WindowText;

} // namespace

TFormMantenimiento::TFormMantenimiento(QWidget *parent) : TFormListaBase(TTipoRegistro::Mantenimiento, parent)
{
    QHBoxLayout *rejillas = Anadir_Fila_Cuerpo();
    DBGridMatriculas = Crear_Rejilla_Vehiculos(rejillas, false);

    // Spark plugs lead the task columns here; everywhere else the task order rules.
    QList<TDBGridColumn> columnas{{QStringLiteral("FECHA"), QStringLiteral("Fecha"), 74, {}, Qt::AlignLeft},
                                  {QStringLiteral("KILOMETROS"), QStringLiteral("Kilómetros"), 72, {}, Qt::AlignLeft}};
    // Task columns as narrow as their titles allow, so all fit without scrolling.
    const QFontMetrics fm = fontMetrics();
    for (int i : Orden_Rejilla_Tareas()) {
        const tTarea &t = Tareas()[std::size_t(i)];
        const int w = qMax(40, fm.horizontalAdvance(t.Titulo_Columna) + 10);
        columnas.append({t.Campo, t.Titulo_Columna, w, Qt::AlignCenter, Qt::AlignCenter});
    }
    DBGrid1 = Crear_Rejilla("DBGrid1", Fuente_Lista(), columnas, Texto_Doble_Click());
    rejillas->addWidget(DBGrid1, 1);

    LblProximo = new QLabel(QStringLiteral("Kilómetros próximo mantenimiento"), this);
    LblProximo->setObjectName(QStringLiteral("LblProximo"));
    LblProximo->setAlignment(Qt::AlignCenter);
    LblProximo->setFrameShape(QFrame::Panel);
    LblProximo->setFrameShadow(QFrame::Raised);
    LblProximo->setAutoFillBackground(true);
    QFont negrita = LblProximo->font();
    negrita.setBold(true);
    LblProximo->setFont(negrita);
    LblProximo->setFixedHeight(22);
    Cuerpo()->addWidget(LblProximo);

    PnlProximo = new QFrame(this);
    PnlProximo->setObjectName(QStringLiteral("PnlProximo"));
    PnlProximo->setFrameShape(QFrame::Panel);
    PnlProximo->setFrameShadow(QFrame::Sunken);
    auto *g = new QGridLayout(PnlProximo);
    g->setContentsMargins(8, 4, 8, 6);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(1);
    auto fila = [&](const char *const *campos, int n, int filaRejilla) {
        for (int c = 0; c < n; ++c) {
            const int i = Indice_Tarea(QLatin1String(campos[c]));
            const tTarea &t = Tareas()[std::size_t(i)];
            auto *etiqueta = new QLabel(t.Etiqueta_Proximo, PnlProximo);
            etiqueta->setObjectName(QStringLiteral("Lbl") + t.Panel);
            auto *caja = new QLabel(PnlProximo);
            caja->setObjectName(t.Panel);
            caja->setFrameShape(QFrame::Panel);
            caja->setFrameShadow(QFrame::Sunken);
            caja->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            caja->setTextFormat(Qt::PlainText); // readings: never looked at as markup
            caja->setFont(negrita);
            caja->setMargin(2);
            caja->setAutoFillBackground(true);
            QPalette p = caja->palette();
            p.setColor(QPalette::Window, Qt::white);
            for (QPalette::ColorGroup grupo : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
                p.setColor(grupo, Papel_Granate, Color(tColorProximo::Granate));
                p.setColor(grupo, Papel_Azul_Marino, Color(tColorProximo::AzulMarino));
            }
            caja->setPalette(p);
            caja->setFixedHeight(22);
            Paneles[std::size_t(i)] = caja;
            g->addWidget(etiqueta, filaRejilla, c);
            g->addWidget(caja, filaRejilla + 1, c);
        }
    };
    fila(Fila_Superior, int(std::size(Fila_Superior)), 0);
    fila(Fila_Inferior, int(std::size(Fila_Inferior)), 2);
    g->setRowMinimumHeight(2, 20);
    for (int c = 0; c < 7; ++c)
        g->setColumnStretch(c, 1);
    Cuerpo()->addWidget(PnlProximo);

    // Wide enough for every column of the record grid (as the grid has set them
    // for this font) and its scroll bar.
    int ancho = 0;
    for (int c = 0; c < columnas.size(); ++c)
        ancho += DBGrid1->columnWidth(c);
    setFixedSize(qMax(900, 120 + ancho + 28), 520);
}

QDialog *TFormMantenimiento::Crear_Editor()
{
    return new TFormEdMantenimiento(this);
}

// The caption is set by the pattern; the due readings follow it.
void TFormMantenimiento::Despues_De_Mostrar()
{
    // The window's size is fixed, so the boxes keep the size the layout gave
    // them: a new reading then repaints its box without laying out the panel
    // again, at every move of a held-down arrow key.
    for (QLabel *caja : Paneles)
        caja->setFixedSize(caja->size());
    Refrescar_Proximo();
}

// After an editor, and after the empty-table notice, the readings reflect the
// records as they now stand.
void TFormMantenimiento::Despues_Del_Editor()
{
    Actualizar_Titulo();
    Refrescar_Proximo();
}

// Reads the tables: its callers tell a failure, once for the whole step.
void TFormMantenimiento::Refrescar_Proximo()
{
    ModuloDatos->Calcular_Proximo_Mantenimiento();
    Mostrar_Proximo_Mantenimiento();
}

void TFormMantenimiento::Mostrar_Proximo_Mantenimiento()
{
    for (std::size_t i = 0; i < Paneles.size(); ++i) {
        QLabel *caja = Paneles[i];
        const tVistaProximo v = Vista_Proximo(ModuloDatos->Km_Proximo[i], ModuloDatos->Km_Actuales);
        // Only what changed: a held-down arrow key moves many vehicles a second.
        if (v.Color != tColorProximo::SinCambio) {
            const QPalette::ColorRole papel = v.Color == tColorProximo::Granate ? Papel_Granate : Papel_Azul_Marino;
            if (caja->foregroundRole() != papel) {
                caja->setForegroundRole(papel);
                caja->update();
            }
        }
        if (caja->text() != v.Texto)
            caja->setText(v.Texto);
    }
}
