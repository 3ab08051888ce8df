// Renders each window of the brand, model and vehicle pairs with a few records
// to PNG files, to look at their layout. Not a test: run by hand.
#include "Capturas.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "EdMarcas.h"
#include "EdMatricula.h"
#include "EdModelos.h"
#include "Marcas.h"
#include "Matriculas.h"
#include "Modelos.h"

#include <QApplication>
#include <QDir>
#include <QTest>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString salida = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/capturas");
    QDir().mkpath(salida);
    DatosPrueba datos;
    const int seat = datos.addBrand(QStringLiteral("SEAT"));
    const int audi = datos.addBrand(QStringLiteral("AUDI"));
    const int renault = datos.addBrand(QStringLiteral("RENAULT TRUCKS"));
    const int ibiza = datos.addModel(QStringLiteral("IBIZA"), seat);
    datos.addModel(QStringLiteral("LEON"), seat);
    const int a4 = datos.addModel(QStringLiteral("A4 AVANT"), audi);
    const int t480 = datos.addModel(QStringLiteral("T 480"), renault);
    datos.addVehicle(QStringLiteral("1234ABC"), seat, ibiza, 125000);
    datos.addVehicle(QStringLiteral("5678DEF"), audi, a4, 48200);
    datos.addVehicle(QStringLiteral("M-9012-XZ"), renault, t480, 812345);
    TModuloDatos modulo(datos.carpeta());

    { TFormMatriculas w; Guardar_Captura(&w, salida, QStringLiteral("matriculas")); }
    { TFormMarcas w; Guardar_Captura(&w, salida, QStringLiteral("marcas")); }
    { TFormModelos w; Guardar_Captura(&w, salida, QStringLiteral("modelos")); }
    modulo.Modo_Edicion = Modo_Editar;
    { TFormEdMatricula w; Guardar_Captura(&w, salida, QStringLiteral("edmatricula")); w.reject(); }
    modulo.Modo_Edicion = Modo_Eliminar;
    { TFormEdMatricula w; Guardar_Captura(&w, salida, QStringLiteral("edmatricula_eliminar")); w.reject(); }
    modulo.Modo_Edicion_Marca = Modo_Editar;
    { TFormEdMarcas w; Guardar_Captura(&w, salida, QStringLiteral("edmarcas")); w.reject(); }
    modulo.Modo_Edicion_Modelo = Modo_Anadir;
    { TFormEdModelos w; Guardar_Captura(&w, salida, QStringLiteral("edmodelos")); w.reject(); }
    return 0;
}
