// Renders the tyre and technical sheet windows, with a few records, to PNG
// files, to look at their layout. Not a test: run by hand.
#include "Capturas.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "EdFichaTec.h"
#include "EdRuedas.h"
#include "FichaTec.h"
#include "Ruedas.h"

#include <QApplication>
#include <QDir>
#include <QTest>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString salida = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/capturas");
    QDir().mkpath(salida);
    DatosPrueba datos;
    const int renault = datos.addBrand(QStringLiteral("RENAULT TRUCKS"));
    const int t480 = datos.addModel(QStringLiteral("T 480"), renault);
    datos.addVehicle(QStringLiteral("M-9012-XZ"), renault, t480, 812345);
    datos.addVehicle(QStringLiteral("1234ABC"), renault, t480, 125000);
    datos.addTyres(QStringLiteral("M-9012-XZ"), QDate(2023, 3, 14), 702500, QStringLiteral("MICHELIN X MULTI"),
                   QStringLiteral("Eje delantero.\nPresión 8,5 bar."));
    datos.addTyres(QStringLiteral("M-9012-XZ"), QDate(2024, 9, 2), 790000, QStringLiteral("BRIDGESTONE"));
    datos.addSheet(QStringLiteral("M-9012-XZ"),
                   {{QStringLiteral("MARCAMODELO"), QStringLiteral("RENAULT TRUCKS T 480")},
                    {QStringLiteral("CLASE"), QStringLiteral("N3")},
                    {QStringLiteral("TIPO"), QStringLiteral("T4XA")},
                    {QStringLiteral("TARA"), 7850},
                    {QStringLiteral("NEUMATICOS"), QStringLiteral("315/70 R22.5")},
                    {QStringLiteral("LONGITUD"), 5980.5},
                    {QStringLiteral("POTENCIA_F_R"), QStringLiteral("52,3/353")},
                    {QStringLiteral("BATERIA"), QStringLiteral("2x225 Ah")}});
    TModuloDatos modulo(datos.carpeta());

    { TFormRuedas w; Guardar_Captura(&w, salida, QStringLiteral("ruedas")); }
    { TFormFichaTec w; Guardar_Captura(&w, salida, QStringLiteral("fichatec")); }
    modulo.Modo_Edicion = Modo_Editar;
    { TFormEdRuedas w; Guardar_Captura(&w, salida, QStringLiteral("edruedas")); w.reject(); }
    { TFormEdFichaTec w; Guardar_Captura(&w, salida, QStringLiteral("edfichatec")); w.reject(); }
    return 0;
}
