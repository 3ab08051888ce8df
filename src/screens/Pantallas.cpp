// Entry points of the record windows.
#include "Pantallas.h"

#include "Averias.h"
#include "FichaTec.h"
#include "Intervalos.h"
#include "Mantenimiento.h"
#include "Marcas.h"
#include "Matriculas.h"
#include "Modelos.h"
#include "Protegido.h"
#include "Ruedas.h"

namespace {
// Called from the main window's buttons and menu: a window whose making fails
// (its controls read the tables) is told here, never through the command's signal.
template <class TForm>
void Abrir(QWidget *parent)
{
    Proteger([parent] {
        TForm Forma(parent);
        Forma.exec();
    });
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

void Abrir_Ruedas(QWidget *parent)
{
    Abrir<TFormRuedas>(parent);
}

void Abrir_FichaTec(QWidget *parent)
{
    Abrir<TFormFichaTec>(parent);
}

void Abrir_Averias(QWidget *parent)
{
    Abrir<TFormAverias>(parent);
}
