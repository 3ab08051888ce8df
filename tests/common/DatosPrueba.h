// A temporary data folder holding the eight empty tables, with small builders that
// write records through the store, so a test shows its data in a few lines.
#pragma once

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

class TDatabase;

class DatosPrueba
{
public:
    DatosPrueba();  // makes the folder and the eight tables; QVERIFY(isValid()) in the test
    ~DatosPrueba();
    DatosPrueba(const DatosPrueba &) = delete;
    DatosPrueba &operator=(const DatosPrueba &) = delete;

    bool isValid() const { return m_valida; }
    QString carpeta() const;                      // the data folder, without a trailing separator
    QString ruta(const QString &tabla) const;     // full path of "Matriculas.DAT" and so on

    // Each returns the number the store gave to the new record (ORDENMARCA, ORDENMODELO, ORDEN).
    int addBrand(const QString &nombre);
    int addModel(const QString &nombre, int marca);
    // MARCA_S and MODELO_S are copied from the catalogues, as the vehicle editor does.
    void addVehicle(const QString &matricula, int marca, int modelo, int km);
    // `tareas`: field names of the tasks done ("C_ACEITE", "F_AIRE"...), stored as "X".
    void addMaintenance(const QString &matricula, const QDate &fecha, int km, const QStringList &tareas = {});
    // Intervals by task field name; tasks left out stay empty.
    void addInterval(int marca, const QMap<QString, int> &intervalos);
    // A pending breakdown when `fin` is null, a repaired one otherwise (ESTADO follows).
    void addBreakdown(const QString &matricula, const QDate &inicio, int km, const QString &averia = QString(),
                      const QDate &fin = QDate(), const QString &reparacion = QString(), double importe = 0);
    int addTyres(const QString &matricula, const QDate &fecha, int km, const QString &marca = QString(),
                 const QString &observaciones = QString());
    // Technical sheet with the given fields (by name) besides MATRICULA.
    void addSheet(const QString &matricula, const QMap<QString, QVariant> &campos = {});

    // Generic: appends one record with the given field values; returns the
    // auto-increment value of the new record, or 0 when the table has none.
    int addRecord(const QString &tabla, const QMap<QString, QVariant> &campos);

    // Every stored record of a table of the folder, read afresh through a
    // database object of its own, in storing order: field name -> value.
    QList<QMap<QString, QVariant>> registros(const QString &tabla) const;

private:
    QTemporaryDir m_dir;
    TDatabase *m_db = nullptr;
    bool m_valida = false;
};

#include "Table.h"

#include <QFile>

// Overwrites the first bytes of a table file, its header, so that the store can
// no longer read it; puts them back when it goes.
class FicheroEstropeado
{
public:
    explicit FicheroEstropeado(const QString &ruta) : m_fichero(ruta)
    {
        if (m_fichero.open(QIODevice::ReadWrite)) {
            m_cabecera = m_fichero.read(100);
            m_fichero.seek(0);
            m_fichero.write(QByteArray(100, 'x'));
            m_fichero.flush();
        }
    }
    ~FicheroEstropeado()
    {
        if (!m_fichero.isOpen())
            return;
        m_fichero.seek(0);
        m_fichero.write(m_cabecera);
    }
    FicheroEstropeado(const FicheroEstropeado &) = delete;
    FicheroEstropeado &operator=(const FicheroEstropeado &) = delete;

private:
    QFile m_fichero;
    QByteArray m_cabecera;
};

// The vehicle table and one of its details (maintenance, breakdowns, tyres,
// sheet) linked by plate through "Orden_Matri" as the data module links them,
// both open on a data folder.
struct VehiculosYDetalle
{
    TDatabase db;
    TTable vehiculos;
    TTable detalle;
    VehiculosYDetalle(const QString &carpeta, const QString &tablaDetalle);
};

// A data folder and one table object on it (not opened), with its data source;
// no control may begin an edit by itself, as on every data source of the program.
struct Mesa
{
    DatosPrueba datos;
    TDatabase db;
    TTable tabla;
    TDataSource ds{&tabla};

    explicit Mesa(const QString &nombre);
};
