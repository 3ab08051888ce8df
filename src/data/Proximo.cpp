// The display rule of a due reading.
#include "Proximo.h"

#include "Formatos.h"

tVistaProximo Vista_Proximo(qint32 kmProximo, qint32 kmActuales)
{
    tVistaProximo v;
    if (kmProximo <= 0)
        return v;
    v.Color = kmProximo < kmActuales ? tColorProximo::Granate : tColorProximo::AzulMarino;
    v.Texto = Formatos::Formatear_N(kmProximo, 0);
    return v;
}

unsigned Rgb_Color_Proximo(tColorProximo color)
{
    switch (color) {
    case tColorProximo::Granate:
        return Rgb_Granate;
    case tColorProximo::AzulMarino:
        return Rgb_Azul_Marino;
    case tColorProximo::SinCambio:
        break;
    }
    return 0;
}
