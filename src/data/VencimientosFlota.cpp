// The fleet's due readings in one pass, their states, and the margin setting.
#include "VencimientosFlota.h"

#include "Table.h"

#include <QDir>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>

#include <limits>
#include <memory>

namespace {

const QString kMatricula = QStringLiteral("MATRICULA");
const QString kMarca = QStringLiteral("MARCA");
const QString kModelo = QStringLiteral("MODELO");
const QString kKilometros = QStringLiteral("KILOMETROS");
const QString kClaveMargen = QStringLiteral("Vencimientos/Margen_Proximo");

using tIntervalos = std::array<qint32, Num_Tareas>;

qint32 Saturar(qint64 v)
{
    const qint64 menor = std::numeric_limits<qint32>::min(), mayor = std::numeric_limits<qint32>::max();
    return static_cast<qint32>(v < menor ? menor : (v > mayor ? mayor : v));
}

// A table object of the computation's own on one file, closed however the
// computation ends.
struct tLectura
{
    TTable Tabla;
    tLectura(TDatabase &db, const QString &fichero, const QStringList &campos)
    {
        Tabla.setDatabase(&db);
        Tabla.setTableName(fichero);
        for (const QString &c : campos)
            Tabla.addField(c);
    }
    ~tLectura()
    {
        try {
            Tabla.close();
        } catch (...) {
        }
    }
    const TField *Campo(const QString &nombre) const { return Tabla.fieldByName(nombre); }
};

QStringList Campos_Tareas()
{
    QStringList r;
    for (const tTarea &t : Tareas())
        r << t.Campo;
    return r;
}

} // namespace

std::vector<tVehiculoVencimientos> Calcular_Vencimientos_Flota(TDatabase &db)
{
    const QStringList tareas = Campos_Tareas();

    // The catalogues first: the vehicles look their names up in them, with the
    // store's own lookup, as every window does.
    tLectura marcas(db, QStringLiteral("Marcas.DAT"), {kMarca, QStringLiteral("ORDENMARCA")});
    tLectura modelos(db, QStringLiteral("Modelos.DAT"), {kModelo, QStringLiteral("ORDENMODELO")});
    marcas.Tabla.open();
    modelos.Tabla.open();
    tLectura vehiculos(db, QStringLiteral("Matriculas.DAT"), {kMatricula, kMarca, kModelo, kKilometros});
    const TField *sMarca = vehiculos.Tabla.addLookupField(QStringLiteral("sMarca"), 20, kMarca, &marcas.Tabla,
                                                          QStringLiteral("ORDENMARCA"), kMarca);
    const TField *sModelo = vehiculos.Tabla.addLookupField(QStringLiteral("sModelo"), 20, kModelo, &modelos.Tabla,
                                                           QStringLiteral("ORDENMODELO"), kModelo);
    vehiculos.Tabla.open();

    // A brand's intervals are those of its first record in storing order, as a
    // filter on the brand shows them first.
    tLectura kmCambios(db, QStringLiteral("KmCambios.DAT"), QStringList{kMarca} + tareas);
    kmCambios.Tabla.open();
    QHash<qint32, tIntervalos> intervalos;
    {
        const TTable &t = kmCambios.Tabla;
        const TField *marca = kmCambios.Campo(kMarca);
        std::array<const TField *, Num_Tareas> campos{};
        for (std::size_t i = 0; i < campos.size(); ++i)
            campos[i] = kmCambios.Campo(tareas[int(i)]);
        for (int fila = 0, n = t.recordCount(); fila < n; ++fila) {
            const QVariant clave = t.valueAt(fila, marca);
            if (clave.isNull() || intervalos.contains(clave.toInt()))
                continue;
            tIntervalos km{};
            for (std::size_t i = 0; i < campos.size(); ++i)
                km[i] = t.valueAt(fila, campos[i]).toInt();
            intervalos.insert(clave.toInt(), km);
        }
    }
    kmCambios.Tabla.close();

    const int numVehiculos = vehiculos.Tabla.recordCount();
    std::vector<tVehiculoVencimientos> flota(static_cast<std::size_t>(numVehiculos));
    std::vector<tIntervalos> intervaloDe(static_cast<std::size_t>(numVehiculos));
    QHash<QString, int> porMatricula;
    porMatricula.reserve(numVehiculos);
    {
        const TTable &t = vehiculos.Tabla;
        const TField *matricula = vehiculos.Campo(kMatricula), *marca = vehiculos.Campo(kMarca),
                     *km = vehiculos.Campo(kKilometros);
        for (int fila = 0; fila < numVehiculos; ++fila) {
            tVehiculoVencimientos &v = flota[std::size_t(fila)];
            const QVariant m = t.valueAt(fila, matricula);
            v.Matricula = m.toString();
            v.Marca = t.valueAt(fila, sMarca).toString();
            v.Modelo = t.valueAt(fila, sModelo).toString();
            v.Km_Actuales = t.valueAt(fila, km).toInt();
            // A vehicle without a brand is brand 0, as its filter "Marca = 0" would say.
            intervaloDe[std::size_t(fila)] = intervalos.value(t.valueAt(fila, marca).toInt());
            // Without a plate nothing can be filtered to it.
            if (!m.isNull())
                porMatricula.insert(v.Matricula, fila);
        }
    }
    vehiculos.Tabla.close();
    modelos.Tabla.close();
    marcas.Tabla.close();

    tLectura operaciones(db, QStringLiteral("Mantenimiento.DAT"), QStringList{kMatricula, kKilometros} + tareas);
    operaciones.Tabla.open();
    const TTable &t = operaciones.Tabla;
    const TField *matricula = operaciones.Campo(kMatricula), *km = operaciones.Campo(kKilometros);
    std::array<const TField *, Num_Tareas> hecha{};
    for (std::size_t i = 0; i < hecha.size(); ++i)
        hecha[i] = operaciones.Campo(tareas[int(i)]);

    // Without an index the rows stand in storing order. Walked from the last
    // one back, the first operation met that did a task is the one that decides
    // it; a vehicle whose thirteen tasks are decided needs nothing more read.
    constexpr quint16 kTodas = (1u << Num_Tareas) - 1;
    std::vector<quint16> pendientes(static_cast<std::size_t>(numVehiculos), kTodas);
    const QString x = QStringLiteral("X");
    for (int fila = t.recordCount() - 1; fila >= 0; --fila) {
        const QVariant m = t.valueAt(fila, matricula);
        if (m.isNull())
            continue;
        const auto v = porMatricula.constFind(m.toString());
        if (v == porMatricula.cend())
            continue;
        quint16 &pendiente = pendientes[std::size_t(*v)];
        if (!pendiente)
            continue;
        tVehiculoVencimientos &vehiculo = flota[std::size_t(*v)];
        const tIntervalos &intervalo = intervaloDe[std::size_t(*v)];
        for (std::size_t i = 0; i < std::size_t(Num_Tareas); ++i) {
            if (!(pendiente & (1u << i)))
                continue;
            const QVariant marca = t.valueAt(fila, hecha[i]);
            if (marca.isNull() || marca.toString() != x)
                continue;
            vehiculo.Km_Proximo[i] = Saturar(qint64(t.valueAt(fila, km).toInt()) + intervalo[i]);
            pendiente &= quint16(~(1u << i));
        }
    }
    operaciones.Tabla.close();
    return flota;
}

tEstadoVencimiento Estado_Vencimiento(qint32 kmProximo, qint32 kmActuales, qint32 margen)
{
    if (kmProximo < kmActuales)
        return tEstadoVencimiento::Vencida;
    if (margen > 0 && qint64(kmProximo) - kmActuales <= margen)
        return tEstadoVencimiento::Proxima;
    return tEstadoVencimiento::AlDia;
}

std::vector<tFilaVencimiento> Filas_Vencimientos(const std::vector<tVehiculoVencimientos> &flota, qint32 margen)
{
    std::vector<tFilaVencimiento> filas;
    filas.reserve(flota.size() * 4);
    for (std::size_t v = 0; v < flota.size(); ++v) {
        const tVehiculoVencimientos &veh = flota[v];
        for (int i = 0; i < Num_Tareas; ++i) {
            const qint32 proximo = veh.Km_Proximo[std::size_t(i)];
            if (proximo <= 0)
                continue; // no due reading known: the maintenance window shows nothing
            tFilaVencimiento f;
            f.Vehiculo = int(v);
            f.Tarea = i;
            f.Km_Proximo = proximo;
            f.Km_Restantes = qint64(proximo) - veh.Km_Actuales;
            f.Estado = Estado_Vencimiento(proximo, veh.Km_Actuales, margen);
            filas.push_back(f);
        }
    }
    return filas;
}

QString Nombre_Tarea_Vencimiento(int tarea)
{
    if (tarea < 0 || tarea >= Num_Tareas)
        return QString();
    QString nombre = Tareas()[std::size_t(tarea)].Nombre.trimmed();
    if (nombre.endsWith(QLatin1Char(':')))
        nombre.chop(1);
    return nombre;
}

QString Fichero_Ajustes()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("Quelvaro.ini"));
}

qint32 Leer_Margen_Proximo()
{
    const QSettings ajustes(Fichero_Ajustes(), QSettings::IniFormat);
    bool ok = false;
    const qint64 margen = ajustes.value(kClaveMargen).toLongLong(&ok);
    if (!ok || margen < 0 || margen > Margen_Proximo_Maximo)
        return Margen_Proximo_Predeterminado;
    return qint32(margen);
}

bool Guardar_Margen_Proximo(qint32 margen)
{
    QSettings ajustes(Fichero_Ajustes(), QSettings::IniFormat);
    ajustes.setValue(kClaveMargen, qBound(0, margen, Margen_Proximo_Maximo));
    ajustes.sync();
    return ajustes.status() == QSettings::NoError;
}
