// The vehicle list window.
#include "Matriculas.h"

#include "DBGrid.h"
#include "EdMatricula.h"

TFormMatriculas::TFormMatriculas(QWidget *parent) : TFormListaBase(TTipoRegistro::Vehiculos, parent)
{
    DBGrid = Crear_Rejilla_Catalogo({
        {QStringLiteral("MATRICULA"), QString(), 130, {}, Qt::AlignCenter},
        {QStringLiteral("sMarca"), QStringLiteral("MARCA"), 175, {}, Qt::AlignCenter},
        {QStringLiteral("sModelo"), QStringLiteral("MODELO"), 175, {}, Qt::AlignCenter},
    });
    setFixedSize(520, 420);
}

QDialog *TFormMatriculas::Crear_Editor()
{
    return new TFormEdMatricula(this);
}
