// The crash trials' writer: appends and edits records of two tables through the
// table store, for ever, until it is killed. Before each post it prints
// "P <n> <table> <key>" (in flight) and once the post has returned "A <n>"
// (acknowledged), flushing each line.
//   escritor_caidas FOLDER FIRST_OPERATION SEED
#include "Ensayo.h"
#include "StoreErrors.h"
#include "Table.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <random>

namespace {

void linea(const QByteArray &texto)
{
    std::fwrite(texto.constData(), 1, size_t(texto.size()), stdout);
    std::fflush(stdout);
}

QStringList claves(TTable &t)
{
    QStringList r;
    for (t.first(); !t.eof(); t.next())
        r << t.fieldByName(QStringLiteral("MATRICULA"))->asString();
    return r;
}

int escribir(const QString &carpeta, qint64 n, quint32 semilla)
{
    TDatabase db;
    db.setDirectory(carpeta);
    TTable filas, memos;
    for (TTable *t : {&filas, &memos}) {
        t->setDatabase(&db);
        t->setTableName(t == &filas ? Ensayo::Tabla_Filas : Ensayo::Tabla_Memos);
        t->open();
    }
    QStringList clavesFilas = claves(filas), clavesMemos = claves(memos);
    std::mt19937 azar(semilla);
    for (;; ++n) {
        const bool memo = azar() % 2 == 0;
        TTable &t = memo ? memos : filas;
        QStringList &existentes = memo ? clavesMemos : clavesFilas;
        const bool editar = !existentes.isEmpty() && azar() % 3 == 0;
        const QString clave = editar ? existentes.at(int(azar() % quint32(existentes.size()))) : Ensayo::Clave(memo, n);
        if (editar) {
            if (!t.locate(QStringLiteral("MATRICULA"), clave))
                return 4;
            t.edit();
        } else {
            t.append();
            t.fieldByName(QStringLiteral("MATRICULA"))->setAsString(clave);
        }
        t.fieldByName(QStringLiteral("KILOMETROS"))->setAsInteger(qint32(n));
        if (memo)
            t.fieldByName(QStringLiteral("AVERIA"))->setAsString(Ensayo::Memo(n));
        linea("P " + QByteArray::number(n) + ' ' + t.tableName().toUtf8() + ' ' + clave.toUtf8() + '\n');
        t.post();
        linea("A " + QByteArray::number(n) + '\n');
        if (!editar)
            existentes << clave;
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "uso: escritor_caidas CARPETA PRIMERA_OPERACION SEMILLA\n");
        return 2;
    }
    try {
        return escribir(QString::fromLocal8Bit(argv[1]), QByteArray(argv[2]).toLongLong(),
                        quint32(QByteArray(argv[3]).toULong()));
    } catch (const ECodedError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 3;
    }
}
