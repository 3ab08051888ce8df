// The master-detail link: who follows whom, and when a range must be read again.
#include "EnlaceMaestro.h"

#include "Table.h"

namespace store {

void EnlaceMaestro::anadirDetalle(TTable *t)
{
    if (!m_detalles.contains(t))
        m_detalles.append(t);
}

void EnlaceMaestro::quitarDetalle(TTable *t)
{
    m_detalles.removeAll(t);
}

void EnlaceMaestro::fijar(const QVariant &clave, qint64 idMaestro)
{
    m_clave = clave;
    m_idMaestro = idMaestro;
}

bool EnlaceMaestro::vigente(const QVariant &clave, qint64 idMaestro, bool porRegistro) const
{
    return clave == m_clave && clave.isNull() == m_clave.isNull() && (!porRegistro || idMaestro == m_idMaestro);
}

} // namespace store
