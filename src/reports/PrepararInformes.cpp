#include "PrepararInformes.h"

#include "DataModulo.h"
#include "Protegido.h"
#include "Table.h"

namespace {

bool Tiene_Registros(const TTable *Tabla)
{
    return Tabla && Tabla->active() && Tabla->recordCount() > 0;
}

} // namespace

QString Mensaje_Sin_Datos(quint8 Tipo)
{
    switch (Tipo) {
    case Informe_Mantenimiento:
        return QStringLiteral("No hay datos de mantenimiento");
    case Informe_Averias:
        return QStringLiteral("No existen averías para listar");
    case Informe_Ruedas:
        return QStringLiteral("No hay neumáticos para listar");
    default:
        return QStringLiteral("No hay datos para listar");
    }
}

void Filtrar_Vehiculo_Informe(TModuloDatos &Modulo)
{
    const QString Matricula = Modulo.TableMatriculas->fieldByName(QStringLiteral("MATRICULA"))->asString();
    TTable *t = Modulo.TablaMatriculas;
    // Filtered while closed, so that only the one record is ever read.
    t->close();
    t->setFilter(Filtro_Matricula(Matricula));
    t->setFiltered(true);
    t->open();
}

void Liberar_Vehiculo_Informe(TModuloDatos &Modulo)
{
    // Closed first: switching the filter off on an open table would read it whole.
    Modulo.TablaMatriculas->close();
    Modulo.TablaMatriculas->setFiltered(false);
}

void Filtrar_Averias_Informe(TModuloDatos &Modulo, bool Historial)
{
    TTable *t = Modulo.TableAverias;
    if (Historial) {
        t->setFiltered(false);
    } else {
        t->setFilter(QStringLiteral("Estado = 'P'"));
        t->setFiltered(true);
    }
}

bool Preparar_Informe_Mantto(TModuloDatos &Modulo)
{
    if (!Tiene_Registros(Modulo.TableMantto))
        return false;
    Filtrar_Vehiculo_Informe(Modulo);
    try {
        Modulo.Calcular_Proximo_Mantenimiento();
    } catch (...) {
        Proteger([&Modulo] { Liberar_Vehiculo_Informe(Modulo); });
        throw;
    }
    return true;
}

bool Preparar_Informe_Averias(TModuloDatos &Modulo, bool Historial)
{
    Filtrar_Averias_Informe(Modulo, Historial);
    if (!Tiene_Registros(Modulo.TableAverias))
        return false;
    Filtrar_Vehiculo_Informe(Modulo);
    return true;
}

tVehiculoInforme::~tVehiculoInforme()
{
    // A failure here must not replace the one that may be unwinding: it is reported on its own.
    Proteger([this] { Liberar_Vehiculo_Informe(m_modulo); });
}
