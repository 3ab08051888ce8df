// The table of the thirteen maintenance tasks.
#include "Tareas.h"

namespace {
tTarea T(const char *campo, const char *nombre, const char *etiqueta, const char *panel, const char *casilla,
         const char *textoCasilla, const char *columna, const char *informe, const char *intervalo)
{
    return tTarea{QString::fromUtf8(campo),    QString::fromUtf8(nombre),       QString::fromUtf8(etiqueta),
                  QString::fromUtf8(panel),    QString::fromUtf8(casilla),      QString::fromUtf8(textoCasilla),
                  QString::fromUtf8(columna),  QString::fromUtf8(informe),      QString::fromUtf8(intervalo)};
}
} // namespace

const std::array<tTarea, Num_Tareas> &Tareas()
{
    static const std::array<tTarea, Num_Tareas> tareas = {
        T("C_ACEITE", "Cambio de Aceite:", "Aceite", "PAceite", "CBCAceite", "C. Aceite", "C. Aceite", "C/ACEITE", "C. Aceite"),
        T("F_ACEITE", "Filtro de Aceite:", "F. Aceite", "PF_Aceite", "CBFAceite", "F. Aceite", "F. Aceite", "F/ACEITE", "F. Aceite"),
        T("F_AIRE", "Filtro de Aire", "F. Aire", "PF_Aire", "CBFAire", "F.Aire", "F. Aire", "F/AIRE", "F. Aire"),
        T("F_COMBUSTIBLE", "Filtro de Combustible", "F.Combus.", "PF_Combus", "CBFCombustible", "F. Combustible", "F. Combus", "F/COMBUS", "F.Combus."),
        T("L_REFRIGERANTE", "Refrigerante", "Refrigerante", "PF_Refri", "CBLRefrigerante", "L. Refrigerante", "L. Refrig.", "L/REFRIG", "L. Refrig."),
        T("L_FRENOS", "Liquido Frenos", "L. Frenos", "PL_Frenos", "CBLFrenos", "L. Frenos", "L. Frenos", "L/FRENOS", "L. Frenos"),
        T("P_DELANTERAS", "Pastillas Delanteras", "P. Delanteras", "PP_Delanteras", "CBPDelanteras", "P. Delanteras", "P. Ddelant.", "P/DELANT.", "P. Delanteras"),
        T("P_TRASERAS", "Pastillas Traseras", "P. Trasers", "PP_traseras", "CBPTraseras", "P. Traseras", "P. Tras.", "P/TRAS.", "P. Traseras"),
        T("ATF_CAJA", "Aceite Caja", "Caja", "PCaja", "CBAtfCaja", "ATF. Caja", "Atf. Caja", "ATF/CAJA", "ATF Caja"),
        T("ATF_CONVERTIDOR", "Aceite Convertidor", "Convertidor", "PConver", "CBAtfConvertidor", "ATF. Convertidor", "Atf.Conver", "ATF/CONV.", "ATF Conv."),
        T("ATF_DIFERENCIAL", "Aceite Diferencial", "Diferencial", "PDif", "CBAtfDiferencial", "ATF. Diferencial", "Atf. Difer", "ATF/DIF.", "ATF Dif."),
        T("BUJIAS", "Bujias", "Bujias", "PBujias", "CBBujias", "Bujias", "Bujías", "BUJIAS", "Bujias"),
        T("ENGRASE", "Engrase", "Engrase", "PEngrase", "CBEngrase", "Engrase", "Engrase", "ENGRASE", "Engrase"),
    };
    return tareas;
}

const std::array<int, Num_Tareas> &Orden_Rejilla_Tareas()
{
    static const std::array<int, Num_Tareas> orden = {11, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12};
    return orden;
}

int Indice_Tarea(const QString &campo)
{
    const auto &t = Tareas();
    for (int i = 0; i < Num_Tareas; ++i)
        if (t[static_cast<std::size_t>(i)].Campo.compare(campo, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
