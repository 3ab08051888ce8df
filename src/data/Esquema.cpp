// Field layout of the eight tables of the data folder.
//
// Choices kept here, once for the whole program:
// - "Orden_Matri" orders a vehicle's records by date: MATRICULA then FECHA
//   (FECHAINICIO for breakdowns); the technical sheet, one per vehicle, has
//   MATRICULA alone. "Orden_Marca" on the intervals is MARCA alone. Records with
//   the same key keep the order in which they were stored.
// - A table read without an index shows its records in the order they were stored.
// - A plate is unique in Matriculas.DAT and a brand name in Marcas.DAT: a second
//   record with the same value is refused with the duplicate-key error.
// - ORDENMARCA, ORDENMODELO and ORDEN are numbered by the store when a record is
//   first stored; a number is never given out twice, not even after a delete.
// - Dates are stored as ISO text (yyyy-MM-dd), texts as UTF-8 (see the store).
#include "Esquema.h"

#include <QDir>
#include <QFileInfo>

namespace {

TFieldDef texto(const char *nombre, int tamano) { return {QString::fromLatin1(nombre), TFieldType::Text, tamano}; }
TFieldDef entero(const char *nombre) { return {QString::fromLatin1(nombre), TFieldType::Integer, 0}; }
TFieldDef real(const char *nombre) { return {QString::fromLatin1(nombre), TFieldType::Float, 0}; }
TFieldDef fecha(const char *nombre) { return {QString::fromLatin1(nombre), TFieldType::Date, 0}; }
TFieldDef contador(const char *nombre) { return {QString::fromLatin1(nombre), TFieldType::AutoInc, 0}; }
TFieldDef memo(const char *nombre) { return {QString::fromLatin1(nombre), TFieldType::Memo, 0}; }

TIndexDef indice(const char *nombre, const QStringList &campos) { return {QString::fromLatin1(nombre), campos, false}; }
TIndexDef clave(const QString &campo) { return {QString(), {campo}, true}; }

QList<TTableDef> construir()
{
    QList<TTableDef> t;

    t.append({QStringLiteral("Matriculas.DAT"),
              {texto("MATRICULA", 12), entero("MARCA"), entero("MODELO"), texto("MARCA_S", 20),
               texto("MODELO_S", 20), entero("KILOMETROS")},
              {clave(QStringLiteral("MATRICULA"))}});

    t.append({QStringLiteral("Marcas.DAT"),
              {texto("MARCA", 20), contador("ORDENMARCA")},
              {clave(QStringLiteral("MARCA"))}});

    t.append({QStringLiteral("Modelos.DAT"),
              {texto("MODELO", 20), contador("ORDENMODELO"), entero("ORDENMARCA")},
              {}});

    TTableDef mantto{QStringLiteral("Mantenimiento.DAT"),
                     {fecha("FECHA"), texto("MATRICULA", 12), entero("KILOMETROS")},
                     {indice("Orden_Matri", {QStringLiteral("MATRICULA"), QStringLiteral("FECHA")})}};
    for (const char *tarea : {"BUJIAS", "C_ACEITE", "F_ACEITE", "F_AIRE", "F_COMBUSTIBLE", "L_REFRIGERANTE",
                              "L_FRENOS", "P_DELANTERAS", "P_TRASERAS", "ATF_CAJA", "ATF_CONVERTIDOR",
                              "ATF_DIFERENCIAL", "ENGRASE"})
        mantto.fields.append(texto(tarea, 1));
    t.append(mantto);

    TTableDef km{QStringLiteral("KmCambios.DAT"), {}, {indice("Orden_Marca", {QStringLiteral("MARCA")})}};
    for (const char *tarea : {"C_ACEITE", "F_ACEITE", "F_AIRE", "F_COMBUSTIBLE", "L_REFRIGERANTE", "L_FRENOS",
                              "P_DELANTERAS", "P_TRASERAS", "ATF_CAJA", "ATF_CONVERTIDOR", "ATF_DIFERENCIAL",
                              "BUJIAS", "ENGRASE"})
        km.fields.append(entero(tarea));
    km.fields.append(entero("MARCA"));
    t.append(km);

    t.append({QStringLiteral("Averias.DAT"),
              {fecha("FECHAINICIO"), texto("MATRICULA", 12), texto("ESTADO", 1), memo("AVERIA"), fecha("FECHAFIN"),
               memo("REPARACION"), entero("KILOMETROS"), memo("MATERIALES"), real("IMPORTE")},
              {indice("Orden_Matri", {QStringLiteral("MATRICULA"), QStringLiteral("FECHAINICIO")})}});

    t.append({QStringLiteral("Ruedas.DAT"),
              {texto("MATRICULA", 12), fecha("FECHA"), contador("ORDEN"), entero("KILOMETROS"), texto("MARCA", 20),
               memo("OBSERVACIONES")},
              {indice("Orden_Matri", {QStringLiteral("MATRICULA"), QStringLiteral("FECHA")})}});

    t.append({QStringLiteral("FichaTecnica.DAT"),
              {texto("MATRICULA", 12), texto("MARCAMODELO", 25), texto("TIPO", 10), texto("VARIANTE", 10),
               texto("DENOMINACIONCOM", 10), real("TARA"), real("MTMA_MMA"), real("MTMA_MMA1E"), real("MTMA_MMA2E"),
               real("MTMA_MMA3E"), real("MTMA_MMA4E"), texto("MMR", 10), texto("NEUMATICOS", 20),
               real("NUMASIENTOS"), real("VOLBODEGA"), texto("CLASE", 10), real("ALTURA"), real("ANCHURA"),
               texto("VIAANT_POST", 10), real("LONGITUD"), real("VOLADIZOPOST"), real("DISTANCIA12E"),
               real("DISTANCIA23E"), real("DISTANCIA34E"), real("DISTANCIA5R"), texto("MARCAMOTOR", 20),
               texto("TIPOMOTOR", 10), texto("CILINDRADA", 10), texto("POTENCIA_F_R", 15), real("CARTER"),
               real("COMBUSTIBLE"), texto("BATERIA", 10), real("REFRIGERANTE"), real("CAJA"), real("DIFERENCIAL")},
              {indice("Orden_Matri", {QStringLiteral("MATRICULA")})}});
    return t;
}

} // namespace

const QList<TTableDef> &Definicion_Tablas()
{
    static const QList<TTableDef> tablas = construir();
    return tablas;
}

const TTableDef *Definicion_Tabla(const QString &nombre)
{
    for (const TTableDef &def : Definicion_Tablas())
        if (def.name.compare(nombre, Qt::CaseInsensitive) == 0)
            return &def;
    return nullptr;
}

void Crear_Tablas(const QString &carpeta)
{
    // Look at every name first, so a folder that already holds one table gets none.
    for (const TTableDef &def : Definicion_Tablas()) {
        if (QFileInfo::exists(QDir(carpeta).filePath(def.name)))
            throw EDBEngineError(EngineCode::WriteError,
                                 QStringLiteral("La tabla %1 ya existe en la carpeta %2; no se ha creado ninguna tabla.")
                                     .arg(def.name, QDir::toNativeSeparators(carpeta)));
    }
    if (!QDir().mkpath(carpeta))
        throw EDBEngineError(EngineCode::WriteError,
                             QStringLiteral("No se ha podido crear la carpeta %1.").arg(QDir::toNativeSeparators(carpeta)));
    for (const TTableDef &def : Definicion_Tablas())
        TableStore::createTable(carpeta, def);
}

int Anadir_Registro(TDatabase &db, const QString &tabla, const QMap<QString, QVariant> &campos)
{
    TTable t;
    t.setDatabase(&db);
    t.setTableName(tabla);
    t.open();
    t.append();
    for (auto it = campos.cbegin(); it != campos.cend(); ++it)
        t.fieldByName(it.key())->setValue(it.value());
    t.post();
    int numero = 0;
    for (TField *f : t.fields())
        if (f->dataType() == TFieldType::AutoInc)
            numero = f->asInteger();
    return numero;
}
