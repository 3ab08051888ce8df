// Quelvaro: maintenance records of a fleet of vehicles.
#include "Arranque.h"

int main(int argc, char **argv)
{
    return Ejecutar_Quelvaro(argc, argv);
}
