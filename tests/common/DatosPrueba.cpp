// Temporary data folder and record builders for the tests.
#include "DatosPrueba.h"

#include "Esquema.h"
#include "Table.h"

#include <QDir>
#include <QFile>

namespace {
// The eight empty tables are made once per test program and copied for each fixture.
QString carpetaModelo()
{
    static QTemporaryDir modelo;
    static bool hecha = false;
    if (!hecha && modelo.isValid()) {
        Crear_Tablas(modelo.path());
        hecha = true;
    }
    return hecha ? modelo.path() : QString();
}
}

DatosPrueba::DatosPrueba()
{
    if (!m_dir.isValid())
        return;
    const QString modelo = carpetaModelo();
    if (modelo.isEmpty())
        return;
    for (const TTableDef &def : Definicion_Tablas())
        if (!QFile::copy(QDir(modelo).filePath(def.name), ruta(def.name)))
            return;
    m_db = new TDatabase(QStringLiteral("Maestro"));
    m_db->setDirectory(carpeta());
    m_valida = true;
}

DatosPrueba::~DatosPrueba()
{
    delete m_db;
}

QString DatosPrueba::carpeta() const
{
    return QDir::cleanPath(m_dir.path());
}

QString DatosPrueba::ruta(const QString &tabla) const
{
    return QDir(carpeta()).filePath(tabla);
}

QList<QMap<QString, QVariant>> DatosPrueba::registros(const QString &tabla) const
{
    TDatabase db;
    db.setDirectory(carpeta());
    TTable t;
    t.setDatabase(&db);
    t.setTableName(tabla);
    t.open();
    QList<QMap<QString, QVariant>> todos;
    for (t.first(); !t.eof(); t.next()) {
        QMap<QString, QVariant> r;
        for (TField *f : t.fields())
            r.insert(f->fieldName(), f->value());
        todos << r;
    }
    return todos;
}

int DatosPrueba::addRecord(const QString &tabla, const QMap<QString, QVariant> &campos)
{
    return Anadir_Registro(*m_db, tabla, campos);
}

int DatosPrueba::addBrand(const QString &nombre)
{
    return addRecord(QStringLiteral("Marcas.DAT"), {{QStringLiteral("MARCA"), nombre}});
}

int DatosPrueba::addModel(const QString &nombre, int marca)
{
    return addRecord(QStringLiteral("Modelos.DAT"),
                     {{QStringLiteral("MODELO"), nombre}, {QStringLiteral("ORDENMARCA"), marca}});
}

namespace {
// Name of a catalogue entry by its number, empty when missing.
QString nombreEn(TDatabase *db, const QString &tabla, const QString &campoNumero, int numero, const QString &campoNombre)
{
    TTable t;
    t.setDatabase(db);
    t.setTableName(tabla);
    t.open();
    const QString nombre = t.locate(campoNumero, numero) ? t.fieldByName(campoNombre)->asString() : QString();
    t.close();
    return nombre;
}
}

void DatosPrueba::addVehicle(const QString &matricula, int marca, int modelo, int km)
{
    addRecord(QStringLiteral("Matriculas.DAT"),
              {{QStringLiteral("MATRICULA"), matricula},
               {QStringLiteral("MARCA"), marca},
               {QStringLiteral("MODELO"), modelo},
               {QStringLiteral("MARCA_S"), nombreEn(m_db, QStringLiteral("Marcas.DAT"), QStringLiteral("ORDENMARCA"), marca,
                                                    QStringLiteral("MARCA"))},
               {QStringLiteral("MODELO_S"), nombreEn(m_db, QStringLiteral("Modelos.DAT"), QStringLiteral("ORDENMODELO"),
                                                     modelo, QStringLiteral("MODELO"))},
               {QStringLiteral("KILOMETROS"), km}});
}

void DatosPrueba::addMaintenance(const QString &matricula, const QDate &fecha, int km, const QStringList &tareas)
{
    QMap<QString, QVariant> campos{{QStringLiteral("MATRICULA"), matricula},
                                   {QStringLiteral("FECHA"), fecha},
                                   {QStringLiteral("KILOMETROS"), km}};
    for (const QString &tarea : tareas)
        campos.insert(tarea, QStringLiteral("X"));
    addRecord(QStringLiteral("Mantenimiento.DAT"), campos);
}

void DatosPrueba::addInterval(int marca, const QMap<QString, int> &intervalos)
{
    QMap<QString, QVariant> campos{{QStringLiteral("MARCA"), marca}};
    for (auto it = intervalos.cbegin(); it != intervalos.cend(); ++it)
        campos.insert(it.key(), it.value());
    addRecord(QStringLiteral("KmCambios.DAT"), campos);
}

void DatosPrueba::addBreakdown(const QString &matricula, const QDate &inicio, int km, const QString &averia,
                               const QDate &fin, const QString &reparacion, double importe)
{
    QMap<QString, QVariant> campos{{QStringLiteral("MATRICULA"), matricula},
                                   {QStringLiteral("FECHAINICIO"), inicio},
                                   {QStringLiteral("KILOMETROS"), km},
                                   {QStringLiteral("ESTADO"), fin.isValid() ? QStringLiteral("C") : QStringLiteral("P")}};
    if (!averia.isEmpty())
        campos.insert(QStringLiteral("AVERIA"), averia);
    if (fin.isValid())
        campos.insert(QStringLiteral("FECHAFIN"), fin);
    if (!reparacion.isEmpty())
        campos.insert(QStringLiteral("REPARACION"), reparacion);
    if (importe != 0)
        campos.insert(QStringLiteral("IMPORTE"), importe);
    addRecord(QStringLiteral("Averias.DAT"), campos);
}

int DatosPrueba::addTyres(const QString &matricula, const QDate &fecha, int km, const QString &marca,
                          const QString &observaciones)
{
    QMap<QString, QVariant> campos{{QStringLiteral("MATRICULA"), matricula},
                                   {QStringLiteral("FECHA"), fecha},
                                   {QStringLiteral("KILOMETROS"), km}};
    if (!marca.isEmpty())
        campos.insert(QStringLiteral("MARCA"), marca);
    if (!observaciones.isEmpty())
        campos.insert(QStringLiteral("OBSERVACIONES"), observaciones);
    return addRecord(QStringLiteral("Ruedas.DAT"), campos);
}

void DatosPrueba::addSheet(const QString &matricula, const QMap<QString, QVariant> &campos)
{
    QMap<QString, QVariant> todos = campos;
    todos.insert(QStringLiteral("MATRICULA"), matricula);
    addRecord(QStringLiteral("FichaTecnica.DAT"), todos);
}

VehiculosYDetalle::VehiculosYDetalle(const QString &carpeta, const QString &tablaDetalle)
{
    db.setDirectory(carpeta);
    vehiculos.setDatabase(&db);
    vehiculos.setTableName(QStringLiteral("Matriculas.DAT"));
    detalle.setDatabase(&db);
    detalle.setTableName(tablaDetalle);
    detalle.setIndexName(QStringLiteral("Orden_Matri"));
    detalle.setMasterSource(&vehiculos, QStringLiteral("MATRICULA"));
    vehiculos.open();
    detalle.open();
}

Mesa::Mesa(const QString &nombre)
{
    db.setDirectory(datos.carpeta());
    tabla.setDatabase(&db);
    tabla.setTableName(nombre);
    ds.setAutoEdit(false);
}
