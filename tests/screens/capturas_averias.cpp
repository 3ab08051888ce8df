// Renders the breakdowns window and its editor, with a few breakdowns, to PNG
// files, to look at their layout. Not a test: run by hand.
#include "Averias.h"
#include "Capturas.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "EdAverias.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QToolButton>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString salida = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/capturas");
    QDir().mkpath(salida);
    DatosPrueba datos;
    const int seat = datos.addBrand(QStringLiteral("SEAT"));
    const int ibiza = datos.addModel(QStringLiteral("IBIZA"), seat);
    datos.addVehicle(QStringLiteral("1234ABC"), seat, ibiza, 125000);
    datos.addVehicle(QStringLiteral("5678DEF"), seat, ibiza, 48200);
    const QString largo = QStringLiteral("El motor se calienta en subidas largas y el testigo de temperatura se "
                                         "enciende a los veinte minutos de marcha; pierde algo de líquido por la "
                                         "parte baja del radiador y huele a anticongelante al parar.");
    datos.addBreakdown(QStringLiteral("1234ABC"), QDate(2024, 2, 1), 118500, largo);
    datos.addBreakdown(QStringLiteral("1234ABC"), QDate(2024, 3, 12), 121300, QStringLiteral("No arranca en frío."));
    datos.addRecord(QStringLiteral("Averias.DAT"),
                    {{"MATRICULA", "1234ABC"}, {"FECHAINICIO", QDate(2023, 11, 3)}, {"KILOMETROS", 110250},
                     {"ESTADO", "C"}, {"AVERIA", "Ruido al frenar"}, {"FECHAFIN", QDate(2023, 11, 6)},
                     {"REPARACION", "Sustitución de discos y pastillas del eje delantero."},
                     {"MATERIALES", "2 discos\n1 juego de pastillas"}, {"IMPORTE", 345.6}});
    TModuloDatos modulo(datos.carpeta());

    {
        TFormAverias w;
        Guardar_Captura(&w, salida, QStringLiteral("averias"));
        w.SpeedButton3->click();
        Guardar_Captura(&w, salida, QStringLiteral("averias_todas"));
        modulo.Modo_Edicion = Modo_Editar;
        { TFormEdAverias e; Guardar_Captura(&e, salida, QStringLiteral("edaverias")); e.reject(); }
        modulo.Modo_Edicion = Modo_Anadir;
        { TFormEdAverias e; Guardar_Captura(&e, salida, QStringLiteral("edaverias_anadir")); e.reject(); }
    }
    return 0;
}
