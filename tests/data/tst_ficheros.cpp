// File operations of the start-up check: path joining, listing by mask and the
// deletion of leftover files.
#include "Ficheros.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
void Crear(const QString &ruta)
{
    QFile f(ruta);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(ruta));
    f.write("x");
}

QStringList Nombres(const QString &carpeta)
{
    QStringList l = QDir(carpeta).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    l.sort();
    return l;
}
} // namespace

class TstFicheros : public QObject
{
    Q_OBJECT
private slots:
    void unirCamino_data();
    void unirCamino();
    void listar_data();
    void listar();
    void carpetaInexistente();
    void borradoDeArranque();
    void operacionConjunto();
    void papelera();
};

void TstFicheros::unirCamino_data()
{
    QTest::addColumn<QString>("carpeta");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("esperado"); // relative results are made absolute against the current folder
    QTest::newRow("carpeta vacia") << "" << "x.DAT" << QDir::current().absoluteFilePath("x.DAT");
    QTest::newRow("con separador final") << "/a/b/" << "*.DAT" << "/a/b/*.DAT";
    QTest::newRow("sin separador final") << "/a/b" << "*.DAT" << "/a/b/*.DAT";
    QTest::newRow("blancos y controles") << " \t/a/b" << "*.DUP\n " << "/a/b/*.DUP";
    QTest::newRow("separadores dobles") << "/a//b//" << "/c" << "/a/b/c";
    QTest::newRow("relativa") << "Datos" << "*.??P" << QDir::current().absoluteFilePath("Datos/*.??P");
}

void TstFicheros::unirCamino()
{
    QFETCH(QString, carpeta);
    QFETCH(QString, nombre);
    QFETCH(QString, esperado);
    QCOMPARE(Unir_Camino(carpeta, nombre), esperado);
}

void TstFicheros::listar_data()
{
    QTest::addColumn<QString>("mascara");
    QTest::addColumn<QStringList>("esperados");
    QTest::newRow("tablas") << "*.DAT" << QStringList{"W.DAT", "m.dat"};
    QTest::newRow("duplicados") << "*.DUP" << QStringList{".oculto.DUP", "R.DUP", "X.DUP", "x.dup"};
    QTest::newRow("temporales") << "*.??P"
                                << QStringList{".oculto.DUP", "R.DUP", "X.DUP", "Y.TMP", "Z.IDP", "x.dup"};
}

// Regardless of case, hidden and read-only files included, folders and SQLite's
// own journal files never.
void TstFicheros::listar()
{
    QFETCH(QString, mascara);
    QFETCH(QStringList, esperados);
    QTemporaryDir tmp;
    const QString d = tmp.path();
    for (const char *n : {"X.DUP", "x.dup", ".oculto.DUP", "R.DUP", "Y.TMP", "Z.IDP", "W.DAT", "m.dat",
                          "W.DAT-journal", "W.DAT-mj1A2B3C", "AB.XP", "Y.TMPP"})
        Crear(d + "/" + n);
    QFile::setPermissions(d + "/R.DUP", QFileDevice::ReadOwner);
    QVERIFY(QDir(d).mkdir("Q.TMP"));
    QVERIFY(QDir(d).mkdir("C.DAT"));

    QStringList lista;
    Listar_Ficheros(Unir_Camino(d, mascara), lista);
    QStringList nombres;
    for (const QString &ruta : lista) {
        QVERIFY2(ruta.startsWith(d + "/"), qPrintable(ruta)); // full paths
        nombres << ruta.mid(d.size() + 1);
    }
    nombres.sort();
    QCOMPARE(nombres, esperados);
}

void TstFicheros::carpetaInexistente()
{
    QTemporaryDir tmp;
    QStringList lista{"previo"};
    Listar_Ficheros(Unir_Camino(tmp.path() + "/NoExiste", "*.DAT"), lista);
    QCOMPARE(lista, QStringList{"previo"});
    Borrar_Ficheros(tmp.path() + "/NoExiste", "*.DUP", false); // nothing to do, no error
}

void TstFicheros::borradoDeArranque()
{
    QTemporaryDir tmp;
    const QString d = tmp.path();
    for (const char *n : {"X.DUP", "Y.TMP", "Z.IDP", "W.DAT", "W.DAT-journal", "x.dup", "R.DUP"})
        Crear(d + "/" + n);
    QFile::setPermissions(d + "/R.DUP", QFileDevice::ReadOwner);
    QVERIFY(QDir(d).mkdir("Q.TMP"));
    Crear(d + "/Q.TMP/dentro.DUP");

    Borrar_Ficheros(d, "*.DUP", false);
    Borrar_Ficheros(d, "*.??P", false);
    QCOMPARE(Nombres(d), (QStringList{"Q.TMP", "W.DAT", "W.DAT-journal"}));
    QCOMPARE(Nombres(d + "/Q.TMP"), QStringList{"dentro.DUP"}); // not recursive
}

void TstFicheros::operacionConjunto()
{
    QTemporaryDir tmp;
    const QString d = tmp.path();
    Crear(d + "/a");
    Crear(d + "/b");
    QVERIFY(QDir(d).mkdir("sub"));

    TShellFileOp op;
    op.Anadir(QStringList{d + "/b", d + "/a", d + "/b"});
    QCOMPARE(op.Rutas(), (QStringList{d + "/a", d + "/b"}));
    QStringList preguntado;
    op.Confirmar = [&](const QStringList &r) { preguntado = r; return false; };
    QVERIFY(!op.Borrar()); // the user said no: nothing goes
    QCOMPARE(preguntado.size(), 2);
    QCOMPARE(Nombres(d), (QStringList{"a", "b", "sub"}));
    QVERIFY(op.Rutas().isEmpty());

    op.NoConfirmation = true;
    op.FilesOnly = true;
    op.Anadir(QStringList{d + "/a", d + "/sub", d + "/falta"});
    QVERIFY(!op.Borrar()); // a missing path is a failure, the rest still goes
    QCOMPARE(Nombres(d), (QStringList{"b", "sub"}));

    op.Anadir(d + "/b");
    QVERIFY(op.Borrar());
    QCOMPARE(Nombres(d), QStringList{"sub"});
}

void TstFicheros::papelera()
{
    QTemporaryDir casa;
    qputenv("XDG_DATA_HOME", casa.path().toLocal8Bit());
    QTemporaryDir tmp;
    Crear(tmp.path() + "/X.DUP");
    Crear(tmp.path() + "/W.DAT");
    Borrar_Ficheros(tmp.path(), "*.dup", true);
    QCOMPARE(Nombres(tmp.path()), QStringList{"W.DAT"});
    QVERIFY(!QDir(casa.path()).entryList(QStringList{"*"}, QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

QTEST_GUILESS_MAIN(TstFicheros)
#include "tst_ficheros.moc"
