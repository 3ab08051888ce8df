// quelvaro-datos [--ejemplo] CARPETA
// Creates a data folder with the eight empty tables and, on request, fills it with
// a small sample fleet so every window has something to show.
#include "Esquema.h"
#include "Table.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QTextStream>

#include <cstdio>

namespace {

QTextStream &salida()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &errores()
{
    static QTextStream s(stderr);
    return s;
}

class Relleno
{
public:
    explicit Relleno(const QString &carpeta) { m_db.setDirectory(carpeta); }

    int anadir(const QString &tabla, const QMap<QString, QVariant> &campos)
    {
        return Anadir_Registro(m_db, tabla, campos);
    }

private:
    TDatabase m_db{QStringLiteral("Maestro")};
};

const QStringList kTareas{QStringLiteral("C_ACEITE"),      QStringLiteral("F_ACEITE"),        QStringLiteral("F_AIRE"),
                          QStringLiteral("F_COMBUSTIBLE"), QStringLiteral("L_REFRIGERANTE"),  QStringLiteral("L_FRENOS"),
                          QStringLiteral("P_DELANTERAS"),  QStringLiteral("P_TRASERAS"),      QStringLiteral("ATF_CAJA"),
                          QStringLiteral("ATF_CONVERTIDOR"), QStringLiteral("ATF_DIFERENCIAL"), QStringLiteral("BUJIAS"),
                          QStringLiteral("ENGRASE")};

// Kilometres between two executions of each task, in the order of kTareas.
const int kIntervalos[][13] = {
    {15000, 15000, 30000, 60000, 90000, 60000, 40000, 80000, 90000, 120000, 120000, 60000, 10000},
    {10000, 10000, 20000, 40000, 80000, 50000, 30000, 60000, 60000, 100000, 100000, 40000, 5000},
    {20000, 20000, 40000, 60000, 100000, 60000, 50000, 90000, 120000, 150000, 150000, 80000, 15000},
};

void ejemplo(const QString &carpeta)
{
    Relleno r(carpeta);
    const QString marcas[] = {QStringLiteral("SERENA"), QStringLiteral("TAURUS"), QStringLiteral("VELTRA")};
    const QString modelos[][2] = {{QStringLiteral("BRISA 1.6"), QStringLiteral("BRISA 2.0 TD")},
                                  {QStringLiteral("CARGO 35"), QStringLiteral("CARGO 50")},
                                  {QStringLiteral("URBANA"), QStringLiteral("RUTA 2.2")}};
    int numMarca[3], numModelo[3][2];
    for (int m = 0; m < 3; ++m) {
        numMarca[m] = r.anadir(QStringLiteral("Marcas.DAT"), {{QStringLiteral("MARCA"), marcas[m]}});
        for (int k = 0; k < 2; ++k)
            numModelo[m][k] = r.anadir(QStringLiteral("Modelos.DAT"), {{QStringLiteral("MODELO"), modelos[m][k]},
                                                                       {QStringLiteral("ORDENMARCA"), numMarca[m]}});
        QMap<QString, QVariant> km{{QStringLiteral("MARCA"), numMarca[m]}};
        for (int t = 0; t < 13; ++t)
            km.insert(kTareas[t], kIntervalos[m][t]);
        r.anadir(QStringLiteral("KmCambios.DAT"), km);
    }
    // A model without intervals of its own brand: the due readings stay at zero.
    const int sinIntervalos = r.anadir(QStringLiteral("Marcas.DAT"), {{QStringLiteral("MARCA"), QStringLiteral("ORIÓN")}});
    const int modeloSin = r.anadir(QStringLiteral("Modelos.DAT"), {{QStringLiteral("MODELO"), QStringLiteral("ESTRELLA")},
                                                                   {QStringLiteral("ORDENMARCA"), sinIntervalos}});

    const QDate hoy = QDate::currentDate();
    const QStringList neumaticos{QStringLiteral("195/65 R15"), QStringLiteral("205/75 R16C"), QStringLiteral("185/60 R14")};
    const QStringList marcasRueda{QStringLiteral("RODAMAX"), QStringLiteral("VIALTA"), QStringLiteral("PISTA")};
    for (int v = 0; v < 12; ++v) {
        const QString matricula = QStringLiteral("%1 %2").arg(1200 + v * 137, 4, 10, QLatin1Char('0'))
                                      .arg(QString(QChar(u'B' + v % 20)) + QChar(u'C' + (v * 3) % 20) + QChar(u'D' + (v * 7) % 20));
        const bool sin = v == 11;
        const int m = v % 3, k = (v / 3) % 2;
        const int marca = sin ? sinIntervalos : numMarca[m];
        const int modelo = sin ? modeloSin : numModelo[m][k];
        const QString nombreMarca = sin ? QStringLiteral("ORIÓN") : marcas[m];
        const QString nombreModelo = sin ? QStringLiteral("ESTRELLA") : modelos[m][k];
        const int operaciones = 2 + v % 5;
        const int kmActual = 20000 + v * 9000 + operaciones * 12000;
        r.anadir(QStringLiteral("Matriculas.DAT"), {{QStringLiteral("MATRICULA"), matricula},
                                                    {QStringLiteral("MARCA"), marca},
                                                    {QStringLiteral("MODELO"), modelo},
                                                    {QStringLiteral("MARCA_S"), nombreMarca},
                                                    {QStringLiteral("MODELO_S"), nombreModelo},
                                                    {QStringLiteral("KILOMETROS"), kmActual}});
        for (int o = 0; o < operaciones; ++o) {
            QMap<QString, QVariant> c{{QStringLiteral("MATRICULA"), matricula},
                                      {QStringLiteral("FECHA"), hoy.addMonths(-6 * (operaciones - o)).addDays(-v)},
                                      {QStringLiteral("KILOMETROS"), 20000 + v * 9000 + o * 12000}};
            for (int t = 0; t < 13; ++t)
                if ((o + t + v) % 3 == 0 || t < 2)
                    c.insert(kTareas[t], QStringLiteral("X"));
            r.anadir(QStringLiteral("Mantenimiento.DAT"), c);
        }
        if (v % 2 == 0)
            r.anadir(QStringLiteral("Averias.DAT"),
                     {{QStringLiteral("MATRICULA"), matricula},
                      {QStringLiteral("FECHAINICIO"), hoy.addMonths(-8).addDays(v)},
                      {QStringLiteral("FECHAFIN"), hoy.addMonths(-8).addDays(v + 3)},
                      {QStringLiteral("ESTADO"), QStringLiteral("C")},
                      {QStringLiteral("KILOMETROS"), kmActual - 8000},
                      {QStringLiteral("AVERIA"), QStringLiteral("Ruido en la suspensión delantera al frenar.")},
                      {QStringLiteral("REPARACION"), QStringLiteral("Cambio de silentblocks del brazo inferior.")},
                      {QStringLiteral("MATERIALES"), QStringLiteral("2 silentblocks, tornillería")},
                      {QStringLiteral("IMPORTE"), 184.5 + v * 10}});
        if (v % 3 == 1)
            r.anadir(QStringLiteral("Averias.DAT"),
                     {{QStringLiteral("MATRICULA"), matricula},
                      {QStringLiteral("FECHAINICIO"), hoy.addDays(-v - 2)},
                      {QStringLiteral("ESTADO"), QStringLiteral("P")},
                      {QStringLiteral("KILOMETROS"), kmActual - 150},
                      {QStringLiteral("AVERIA"), QStringLiteral("Testigo de avería del motor encendido.")}});
        for (int n = 0; n < 1 + v % 2; ++n)
            r.anadir(QStringLiteral("Ruedas.DAT"),
                     {{QStringLiteral("MATRICULA"), matricula},
                      {QStringLiteral("FECHA"), hoy.addMonths(-14 + n * 10).addDays(-v)},
                      {QStringLiteral("KILOMETROS"), kmActual - 30000 + n * 22000},
                      {QStringLiteral("MARCA"), marcasRueda[(v + n) % 3]},
                      {QStringLiteral("OBSERVACIONES"), n ? QStringLiteral("Eje delantero") : QStringLiteral("Juego completo")}});
        if (v != 10) // one vehicle without a technical sheet
            r.anadir(QStringLiteral("FichaTecnica.DAT"),
                     {{QStringLiteral("MATRICULA"), matricula},
                      {QStringLiteral("MARCAMODELO"), (nombreMarca + QLatin1Char(' ') + nombreModelo).left(25)},
                      {QStringLiteral("TIPO"), QStringLiteral("T%1").arg(m + 1)},
                      {QStringLiteral("TARA"), 1250 + v * 40},
                      {QStringLiteral("MTMA_MMA"), 1900 + v * 50},
                      {QStringLiteral("NEUMATICOS"), neumaticos[m]},
                      {QStringLiteral("NUMASIENTOS"), m == 1 ? 3 : 5},
                      {QStringLiteral("LONGITUD"), 4300 + v * 25},
                      {QStringLiteral("MARCAMOTOR"), nombreMarca},
                      {QStringLiteral("CILINDRADA"), QStringLiteral("4/1598")},
                      {QStringLiteral("CARTER"), 4.5},
                      {QStringLiteral("COMBUSTIBLE"), 55}});
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool conEjemplo = args.removeAll(QStringLiteral("--ejemplo")) > 0;
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-'))) {
        errores() << "Uso: quelvaro-datos [--ejemplo] CARPETA\n"
                  << "Crea en CARPETA las ocho tablas vacías; con --ejemplo, además, una flota de ejemplo.\n";
        return 2;
    }
    const QString carpeta = QDir::cleanPath(args.first());
    try {
        Crear_Tablas(carpeta);
        if (conEjemplo)
            ejemplo(carpeta);
    } catch (const ECodedError &e) {
        errores() << e.message() << "\n";
        return 1;
    }
    salida() << (conEjemplo ? "Creadas las tablas con la flota de ejemplo en " : "Creadas las tablas vacías en ")
             << QDir::toNativeSeparators(carpeta) << "\n";
    return 0;
}
