// The hand-written query of the overview's rows.
#include "Consulta.h"

#include "Tareas.h"

#include <QStringList>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

namespace {

void Exigir(int rc, sqlite3 *db, const char *que)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", que, sqlite3_errmsg(db));
        std::exit(1);
    }
}

QString Texto(sqlite3_stmt *st, int col)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, col)), sqlite3_column_bytes(st, col));
}

// One pass over the operations finds, per plate, the last stored operation
// that did each task; with the vehicle and its brand's first interval record
// beside them, the thirteen are turned into rows and completed with the
// reading of that operation and the names of the catalogues.
QString Sql()
{
    QStringList ultimas, columnasU, intervalos, filas;
    for (int t = 0; t < Num_Tareas; ++t) {
        const QString &campo = Tareas()[std::size_t(t)].Campo;
        ultimas << QStringLiteral("max(CASE WHEN %1 = 'X' THEN rowid END) AS u%2").arg(campo).arg(t);
        columnasU << QStringLiteral("u.u%1").arg(t);
        intervalos << QStringLiteral("km.%1 AS i%2").arg(campo).arg(t);
        filas << QStringLiteral("SELECT VR, MATRICULA, MARCA, MODELO, KM, %1 AS T, u%1 AS R, i%1 AS I FROM b "
                                "WHERE u%1 IS NOT NULL")
                     .arg(t);
    }
    return QStringLiteral(
               "WITH u AS MATERIALIZED (SELECT MATRICULA, %1 FROM o.Mantenimiento NOT INDEXED WHERE MATRICULA IS NOT NULL "
               "GROUP BY MATRICULA), "
               "km AS (SELECT * FROM k.KmCambios WHERE rowid IN "
               "(SELECT min(rowid) FROM k.KmCambios WHERE MARCA IS NOT NULL GROUP BY MARCA)), "
               "b AS MATERIALIZED (SELECT v.rowid AS VR, v.MATRICULA, v.MARCA, v.MODELO, "
               "coalesce(v.KILOMETROS, 0) AS KM, %2, %3 FROM u JOIN Matriculas v ON v.MATRICULA = u.MATRICULA "
               "LEFT JOIN km ON km.MARCA = coalesce(v.MARCA, 0)), "
               "h AS (%4) "
               "SELECT h.MATRICULA, ma.MARCA, mo.MODELO, h.KM, h.T, "
               "max(-2147483648, min(2147483647, coalesce(op.KILOMETROS, 0) + coalesce(h.I, 0))) AS P "
               "FROM h JOIN o.Mantenimiento op ON op.rowid = h.R "
               "LEFT JOIN ma.Marcas ma ON ma.ORDENMARCA = h.MARCA "
               "LEFT JOIN mo.Modelos mo ON mo.ORDENMODELO = h.MODELO "
               "WHERE P > 0 ORDER BY h.VR, h.T")
        .arg(ultimas.join(QStringLiteral(", ")), columnasU.join(QStringLiteral(", ")),
             intervalos.join(QStringLiteral(", ")), filas.join(QStringLiteral(" UNION ALL ")));
}

} // namespace

tConsultaVencimientos::tConsultaVencimientos(const QString &carpeta)
{
    Exigir(sqlite3_open_v2((carpeta + "/Matriculas.DAT").toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr),
           m_db, "abrir");
    for (const auto &[alias, fichero] : {std::pair{"o", "Mantenimiento"}, std::pair{"k", "KmCambios"},
                                         std::pair{"ma", "Marcas"}, std::pair{"mo", "Modelos"}}) {
        const QByteArray sql = QStringLiteral("ATTACH '%1/%2.DAT' AS %3")
                                   .arg(carpeta, QString::fromLatin1(fichero), QString::fromLatin1(alias))
                                   .toUtf8();
        Exigir(sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr), m_db, "adjuntar");
    }
    const QByteArray sql = Sql().toUtf8();
    Exigir(sqlite3_prepare_v2(m_db, sql.constData(), -1, &m_st, nullptr), m_db, "preparar");
}

tConsultaVencimientos::~tConsultaVencimientos()
{
    sqlite3_finalize(m_st);
    sqlite3_close(m_db);
}

std::vector<tFilaConsulta> tConsultaVencimientos::Filas()
{
    std::vector<tFilaConsulta> r;
    int rc;
    while ((rc = sqlite3_step(m_st)) == SQLITE_ROW) {
        tFilaConsulta f;
        f.Matricula = Texto(m_st, 0);
        f.Marca = Texto(m_st, 1);
        f.Modelo = Texto(m_st, 2);
        f.Km_Actuales = sqlite3_column_int(m_st, 3);
        f.Tarea = sqlite3_column_int(m_st, 4);
        f.Km_Proximo = sqlite3_column_int(m_st, 5);
        r.push_back(std::move(f));
    }
    Exigir(rc, m_db, "consultar");
    sqlite3_reset(m_st);
    return r;
}
