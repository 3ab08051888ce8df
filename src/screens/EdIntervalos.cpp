// The maintenance interval editor.
#include "EdIntervalos.h"

#include "Protegido.h"
#include "Validadores.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

QString Sufijo_Tarea(int tarea)
{
    // "C_ACEITE" -> "C_Aceite", "ATF_CAJA" -> "Atf_Caja".
    const QStringList partes = Tareas()[std::size_t(tarea)].Campo.split(QLatin1Char('_'));
    QStringList nombre;
    for (const QString &p : partes)
        nombre << p.left(1).toUpper() + p.mid(1).toLower();
    return nombre.join(QLatin1Char('_'));
}

QString TFormEdIntervalos::Nombre_Campo(int tarea)
{
    return QStringLiteral("Edit") + Sufijo_Tarea(tarea);
}

TFormEdIntervalos::TFormEdIntervalos(QWidget *parent) : TFormEdicionBase(TTipoRegistro::Intervalos, parent)
{
    // Three columns of four, four and five: label, distance, "Km".
    constexpr int Filas_Columna[] = {4, 4, 5};
    QGridLayout *g = Rejilla();
    g->setColumnMinimumWidth(0, 0);
    g->setHorizontalSpacing(6);
    int tarea = 0;
    for (int col = 0; col < 3; ++col) {
        for (int fila = 0; fila < Filas_Columna[col]; ++fila, ++tarea) {
            const tTarea &t = Tareas()[std::size_t(tarea)];
            TDBEdit *e = Crear_Campo(Nombre_Campo(tarea), t.Campo, 80);
            e->setValidator(new TValidadorKmAgrupados(e));
            Campos[std::size_t(tarea)] = e;

            auto *l = new QLabel(t.Etiqueta_Intervalo, PnlDatos);
            l->setObjectName(QStringLiteral("Lbl") + Sufijo_Tarea(tarea));
            l->setBuddy(e);
            auto *km = new QLabel(QStringLiteral("Km"), PnlDatos);
            g->addWidget(l, fila, col * 4);
            g->addWidget(e, fila, col * 4 + 1);
            g->addWidget(km, fila, col * 4 + 2);
            if (col < 2)
                g->setColumnMinimumWidth(col * 4 + 3, 18);
        }
    }
    g->setRowStretch(5, 1);
    EditC_Aceite = Campos[0];
    connect(EditC_Aceite, &QLineEdit::textChanged, this, Protegido([this] { Actualizar_Boton_Aceptar(); }));
    setFixedSize(600, 230);
}

void TFormEdIntervalos::Actualizar_Boton_Aceptar()
{
    BtnAceptar->setEnabled(!EditC_Aceite->text().isEmpty());
}
