// The per-kind texts of the record windows, kept in one table.
#include "TiposRegistro.h"

#include "DataModulo.h"

namespace {

using T = TTipoRegistro;
using F = TFormaTitulo;
using M = TModoPar;

// Per row: kind, list and editor classes, table and navigator's table, caption,
// Pantalla_Activa, help topics, editor's name, focus fields, notice names, mode holder.
const TRegistro Registros[] = {
    {T::Vehiculos, "TFormMatriculas", "TFormEdMatricula", "TableMatriculas", "TableMatriculas", "Vehículos (",
     F::Cuenta, Pantalla_Ninguna, 410, 420, "Matricula", "EditMatricula", "EditMatricula", "Vehículo", "Vehículos",
     M::General},
    {T::Marcas, "TFormMarcas", "TFormEdMarcas", "TableMarcas", "TableMarcas", "Marcas (", F::Cuenta,
     Pantalla_Sin_Cambio, 0, 0, "Marca", "EditMarca", "EditMarca", "Marca", "Marcas", M::Marca},
    {T::Modelos, "TFormModelos", "TFormEdModelos", "TableModelos", "TableModelos", "Modelos (", F::Cuenta,
     Pantalla_Sin_Cambio, 0, 0, "Modelo", "EditModelo", "EditModelo", "Modelo", "Modelos", M::Modelo},
    {T::Intervalos, "TFormIntervalos", "TFormEdIntervalos", "TableKmCambios", "TableMarcas",
     "Intervalos de mantenimiento", F::Fijo, Pantalla_Ninguna, 710, 0, "Intervalo de mantenimiento", "EditC_Aceite",
     "EditC_Aceite", "Intervalo de mantenimiento", "Intervalos de mantenimiento", M::General},
    {T::Mantenimiento, "TFormMantenimiento", "TFormEdMantenimiento", "TableMantto", "TableMatriculas",
     " - Mantenimiento (", F::Cabecera_Cuenta, Pantalla_Mantenimiento, 210, 220, "Mantenimiento", "DBEditFecha",
     "DBEditFecha", "Mantenimiento", "Mantenimiento", M::General},
    {T::Averias, "TFormAverias", "TFormEdAverias", "TableAverias", "TableAverias", " - Averias (", F::Cabecera_Cuenta,
     Pantalla_Averias, 310, 320, "Averia", "DbEFeAveria", "DbEFeAveria", "Averia", "Averias", M::General},
    {T::Ruedas, "TFormRuedas", "TFormEdRuedas", "TableRuedas", "TableMatriculas", " - Neumáticos (",
     F::Cabecera_Cuenta, Pantalla_Ruedas, 510, 0, "Neumático", "DBEditFecha", "DBEditFecha", "Neumático",
     "Neumáticos", M::General},
    {T::FichaTec, "TFormFichaTec", "TFormEdFichaTec", "TableFichaTec", "TableMatriculas", " - Ficha Técnica",
     F::Cabecera, Pantalla_FichaTec, 610, 0, "Ficha Técnica", "DbEditClase", "DBEditMarca", "Ficha Técnica",
     "Fichas Técnicas", M::General},
};

QString u(const char *s)
{
    return QString::fromUtf8(s);
}

const char *const Verbos[] = {"AÑADIR", "EDITAR", "ELIMINAR"};

} // namespace

const TRegistro &Registro(TTipoRegistro Tipo)
{
    for (const TRegistro &r : Registros)
        if (r.Tipo == Tipo)
            return r;
    return Registros[0];
}

bool Sigue_Al_Vehiculo(TTipoRegistro Tipo)
{
    const int p = Registro(Tipo).Pantalla;
    return p >= Pantalla_Mantenimiento && p < Pantalla_Ninguna;
}

QString Titulo_Editor(TTipoRegistro Tipo, quint8 Modo)
{
    const char *const Acciones[] = {"Añadir ", "Editar ", "Eliminar "};
    return u(Acciones[qMin<int>(Modo, 2)]) + u(Registro(Tipo).Nombre_Editor);
}

QString Titulo_Tabla_Vacia(TTipoRegistro Tipo, bool Eliminar)
{
    return (Eliminar ? QStringLiteral("Error al eliminar ") : QStringLiteral("Error al editar "))
        + u(Registro(Tipo).Nombre_Error) + QLatin1Char('.');
}

QString Texto_Tabla_Vacia(TTipoRegistro Tipo)
{
    return QStringLiteral("La base de datos de ") + u(Registro(Tipo).Nombre_Base) + QStringLiteral(" está vacía.");
}

QString Titulo_Sin_Vehiculo(TTipoRegistro Tipo)
{
    return QStringLiteral("Error al añadir ") + u(Registro(Tipo).Nombre_Error) + QLatin1Char('.');
}

QString Texto_Sin_Vehiculo()
{
    return QStringLiteral("No hay ningún vehículo al que añadir el registro.\rDé de alta antes el vehículo.");
}

QString Titulo_Lista(TTipoRegistro Tipo, int n, const QString &Cabecera)
{
    const TRegistro &r = Registro(Tipo);
    const QString Cuenta = QString::number(n) + (n == 1 ? QStringLiteral(" registro)") : QStringLiteral(" registros)"));
    switch (r.Forma_Titulo) {
    case TFormaTitulo::Cuenta: return u(r.Titulo) + Cuenta;
    case TFormaTitulo::Cabecera_Cuenta: return Cabecera + u(r.Titulo) + Cuenta;
    case TFormaTitulo::Cabecera: return Cabecera + u(r.Titulo);
    case TFormaTitulo::Fijo: break;
    }
    return u(r.Titulo);
}

QString Contexto_Preparar(quint8 Modo)
{
    return QStringLiteral("Error al intentar ") + u(Verbos[qMin<int>(Modo, 2)]) + QStringLiteral(" registro.");
}

QString Contexto_Grabar(quint8 Modo)
{
    return QStringLiteral("Error al ") + u(Verbos[qMin<int>(Modo, 2)]) + QStringLiteral(" registro.");
}
