// The copy dialog.
#include "RealizarCopia.h"

#include "CopiaDatos.h"
#include "Excepciones.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// How often, at most, the window gets to answer while a copy runs.
constexpr int Refresco_ms = 30;
}

TFormRealizarCopia::TFormRealizarCopia(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FormRealizarCopia"));
    setWindowTitle(QStringLiteral("Guardar Copia de Seguridad"));

    GroupBox1 = new QGroupBox(QStringLiteral(" Realizando Copia de Seguridad "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    BarraProgreso = new QProgressBar(GroupBox1);
    BarraProgreso->setObjectName(QStringLiteral("BarraProgreso"));
    BarraProgreso->setRange(0, 100);
    BarraProgreso->setValue(0);
    auto *g = new QVBoxLayout(GroupBox1);
    g->addWidget(BarraProgreso);

    BtnAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    BtnAceptar->setObjectName(QStringLiteral("BtnAceptar"));
    BtnAceptar->setEnabled(false);
    auto *b = new QHBoxLayout;
    b->addStretch();
    b->addWidget(BtnAceptar);
    b->addStretch();

    auto *v = new QVBoxLayout(this);
    v->addWidget(GroupBox1);
    v->addLayout(b);
    resize(360, 130);

    connect(BtnAceptar, &QPushButton::clicked, this, &QDialog::accept);
}

void TFormRealizarCopia::reject()
{
    if (!m_enCurso && m_iniciada)
        QDialog::reject();
}

bool TFormRealizarCopia::event(QEvent *event)
{
    const bool r = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return r;
}

void TFormRealizarCopia::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Where the window system does not activate the dialog, the copy starts all the
    // same once it is shown.
    if (!event->spontaneous())
        QTimer::singleShot(0, this, &TFormRealizarCopia::FormActivate);
}

void TFormRealizarCopia::FormActivate()
{
    if (m_iniciada || !isVisible())
        return; // later activations copy nothing again
    m_iniciada = true;
    m_enCurso = true;
    repaint();
    m_refresco.start();

    const bool guardar = Modo == tModoCopia::Guardar;
    auto progreso = [this](int fichero, double parte) { Progreso(fichero, parte); };
    try {
        if (guardar)
            Guardar_Copia(Carpeta_Origen, Carpeta_Destino, Fecha.isValid() ? Fecha : QDate::currentDate(), progreso);
        else
            Restaurar_Copia(Carpeta_Origen, Carpeta_Destino, progreso);
        m_correcta = true;
        GroupBox1->setTitle(QStringLiteral("Proceso finalizado"));
    } catch (...) {
        GroupBox1->setTitle(guardar ? QStringLiteral("La copia de seguridad ha fallado")
                                    : QStringLiteral("La restauración ha fallado"));
        m_enCurso = false;
        BtnAceptar->setEnabled(true);
        Excepcion.Tratar_Error(std::current_exception(), guardar
                                                            ? QStringLiteral("Error al guardar la copia de seguridad.")
                                                            : QStringLiteral("Error al restaurar la copia de seguridad."));
        return;
    }
    m_enCurso = false;
    BtnAceptar->setEnabled(true);
    BtnAceptar->setFocus();
}

void TFormRealizarCopia::Progreso(int fichero, double parte)
{
    BarraProgreso->setValue(Porcentaje_Progreso(fichero + parte, Total_Ficheros));
    // Let the window paint and answer (it cannot be closed meanwhile), but not
    // for every small file.
    if (m_refresco.elapsed() >= Refresco_ms) {
        QCoreApplication::processEvents();
        m_refresco.restart();
    }
}
