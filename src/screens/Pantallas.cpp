// Entry points of the record windows.
#include "Pantallas.h"

#include "Intervalos.h"
#include "Mantenimiento.h"
#include "Marcas.h"
#include "Matriculas.h"
#include "Modelos.h"

namespace {
template <class TForm>
void Abrir(QWidget *parent)
{
    TForm Forma(parent);
    Forma.exec();
}
} // namespace

void Abrir_Matriculas(QWidget *parent)
{
    Abrir<TFormMatriculas>(parent);
}

void Abrir_Marcas(QWidget *parent)
{
    Abrir<TFormMarcas>(parent);
}

void Abrir_Modelos(QWidget *parent)
{
    Abrir<TFormModelos>(parent);
}

void Abrir_Mantenimiento(QWidget *parent)
{
    Abrir<TFormMantenimiento>(parent);
}

void Abrir_Intervalos(QWidget *parent)
{
    Abrir<TFormIntervalos>(parent);
}
