// The copy work of the backup and the restore, without windows, on real folders:
// which files go, the stamp, a backup that cannot finish (a disk that fills up, a
// read-only place, a file that cannot be replaced, a destination that goes away)
// and a restore that must leave the data folder exactly as it was when it fails.
#include "Capturar.h"
#include "CopiaDatos.h"
#include "Esquema.h"
#include "FicherosPrueba.h"
#include "Table.h"
#include "Volumenes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

namespace {

QStringList Textos(const QList<tFallo> &fallos)
{
    QStringList r;
    for (const tFallo &f : fallos)
        r << f.Fichero + QStringLiteral(": ") + f.Motivo;
    return r;
}

void Anadir_Vehiculo(const QString &datos, const QString &matricula)
{
    TDatabase db;
    db.setDirectory(datos);
    Anadir_Registro(db, QStringLiteral("Matriculas.DAT"),
                    {{QStringLiteral("MATRICULA"), matricula}, {QStringLiteral("KILOMETROS"), 1000}});
}

QStringList Matriculas(const QString &datos)
{
    TDatabase db;
    db.setDirectory(datos);
    TTable t;
    t.setDatabase(&db);
    t.setTableName(QStringLiteral("Matriculas.DAT"));
    t.open();
    QStringList r;
    for (t.first(); !t.eof(); t.next())
        r << t.fieldByName(QStringLiteral("MATRICULA"))->asString();
    t.close();
    return r;
}

// A data folder "Datos" with the eight tables and one vehicle, alone in a
// temporary folder of its own, so that what a restore leaves beside it shows.
struct tDatos
{
    QTemporaryDir base;
    QString datos;

    explicit tDatos(const QString &matricula, const QString &carpeta = QString())
        : datos(carpeta.isEmpty() ? base.path() + QStringLiteral("/Datos") : carpeta)
    {
        Crear_Tablas(datos);
        Anadir_Vehiculo(datos, matricula);
    }
};

// Files of fixed sizes in a folder, named f00.bin, f01.bin...
void Llenar(const QString &carpeta, const QList<int> &tamanos)
{
    for (int i = 0; i < tamanos.size(); ++i)
        Escribir_Fichero(QStringLiteral("%1/f%2.bin").arg(carpeta).arg(i, 2, 10, QLatin1Char('0')),
                 QByteArray(tamanos[i], char('a' + i % 26)));
}

const QByteArray Sello_Antiguo = "01/01/2000\r\n";

bool Ejecutar_Sql(const QString &fichero, const char *sql)
{
    sqlite3 *db = nullptr;
    const bool bien = sqlite3_open(QFile::encodeName(fichero).constData(), &db) == SQLITE_OK
        && sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return bien;
}

} // namespace

class tst_copia : public QObject
{
    Q_OBJECT

private slots:
    void ficheros_tomados()
    {
        QTemporaryDir d;
        const QString c = d.path();
        Escribir_Fichero(c + "/b.DAT", "123");
        Escribir_Fichero(c + "/A.DAT", "1");
        Escribir_Fichero(c + "/.oculto", "x");
        Escribir_Fichero(c + "/DatosCopia.dat", Sello_Antiguo);
        QDir(c).mkdir("sub");
        Escribir_Fichero(c + "/sub/dentro.txt", "x");
        QFile::link(c + "/b.DAT", c + "/enlace");
        QVERIFY(::mkfifo(QFile::encodeName(c + "/tuberia").constData(), 0600) == 0);

        QStringList nombres;
        for (const tFichero &f : Ficheros_Carpeta(c))
            nombres << f.Nombre;
        QCOMPARE(nombres, QStringList({"A.DAT", "DatosCopia.dat", "b.DAT"}));
        // A stamp a restore left in the data folder is not copied: the backup writes its own.
        const QList<tFichero> copia = Ficheros_Copia(c);
        QCOMPARE(copia.size(), 2);
        QCOMPARE(Tamano_Total(copia), qint64(4));
        QVERIFY(Ficheros_Carpeta(c + "/no-existe").isEmpty());
    }

    void nombres_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("carpeta");
        QTest::addColumn<QString>("sello");
        QTest::newRow("raíz del sistema") << "/" << "" << "/" << "/DatosCopia.dat";
        QTest::newRow("raíz de un volumen, con separador final")
            << "/media/usb/" << "" << "/media/usb" << "/media/usb/DatosCopia.dat";
        QTest::newRow("blancos, separadores dobles y puntos")
            << "  /srv//copias/./x/ " << "" << "/srv/copias/x" << "/srv/copias/x/DatosCopia.dat";
        QTest::newRow("relativa a la carpeta de la lista")
            << "copias" << "/home/ana" << "/home/ana/copias" << "/home/ana/copias/DatosCopia.dat";
        QTest::newRow("vacía") << "   " << "" << "" << "";
    }

    void nombres()
    {
        QFETCH(QString, texto);
        QFETCH(QString, base);
        QFETCH(QString, carpeta);
        QFETCH(QString, sello);
        QCOMPARE(Normalizar_Carpeta(texto, base), carpeta);
        if (!carpeta.isEmpty())
            QCOMPARE(Ruta_En(carpeta, Nombre_Sello), sello);
    }

    void unidades_data()
    {
        // Each volume: "rw", "ro" (read-only) or "np" (not ready), and its root.
        QTest::addColumn<QStringList>("montados");
        QTest::addColumn<QStringList>("ofrecidas");
        QTest::newRow("la raíz") << QStringList{"rw /"} << QStringList{"/"};
        QTest::newRow("extraíbles y casa, sin los del sistema")
            << QStringList{"rw /run/media/ana/X", "rw /proc", "rw /media/ana/USB", "rw /home", "rw /",
                           "rw /mnt/copias", "rw /boot/efi", "rw /run/user/1000", "rw /sys/fs/cgroup"}
            << QStringList{"/", "/home", "/media/ana/USB", "/mnt/copias", "/run/media/ana/X"};
        QTest::newRow("de solo lectura o no preparados, fuera")
            << QStringList{"ro /", "ro /media/cd", "np /media/usb", "rw /media/usb2"} << QStringList{"/media/usb2"};
        QTest::newRow("un nombre que solo empieza igual") << QStringList{"rw /mntx", "rw /homero"} << QStringList{};
    }

    void unidades()
    {
        QFETCH(QStringList, montados);
        QFETCH(QStringList, ofrecidas);
        QList<tVolumen> v;
        for (const QString &m : montados)
            v.append({m.mid(3), m.startsWith("ro"), !m.startsWith("np")});
        QCOMPARE(Unidades(v), ofrecidas);
    }

    void porcentaje_data()
    {
        QTest::addColumn<double>("hechos");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("valor");
        QTest::newRow("sin ficheros") << 0.0 << 0 << 0;
        QTest::newRow("12,5 baja al par") << 1.0 << 8 << 12;
        QTest::newRow("37,5 sube al par") << 3.0 << 8 << 38;
        QTest::newRow("17,5 exacto, no 17,49") << 7.0 << 40 << 18;
        QTest::newRow("0,5 baja a 0") << 1.0 << 200 << 0;
        QTest::newRow("2,5 baja a 2") << 5.0 << 200 << 2;
        QTest::newRow("mitad de un fichero grande") << 0.5 << 1 << 50;
        QTest::newRow("todos") << 8.0 << 8 << 100;
        QTest::newRow("más de los contados") << 9.0 << 8 << 100;
    }

    void porcentaje()
    {
        QFETCH(double, hechos);
        QFETCH(int, total);
        QFETCH(int, valor);
        QCOMPARE(Porcentaje_Progreso(hechos, total), valor);
    }

    void sello()
    {
        QTemporaryDir d;
        QVERIFY(!Existe_Sello(d.path()));
        Escribir_Sello(d.path(), QDate(2024, 3, 5));
        QCOMPARE(Leer_Fichero(d.path() + "/DatosCopia.dat"), QByteArray("05/03/2024\r\n"));
        QCOMPARE(Contenido_Sello(QDate(2024, 12, 31)), QByteArray("31/12/2024\r\n"));
        QVERIFY(Existe_Sello(d.path()));
        QCOMPARE(Leer_Sello(d.path()), QString("05/03/2024"));
        QCOMPARE(Foto(d.path()).keys(), QStringList{"DatosCopia.dat"}); // nothing written aside is left
    }

    void leer_sello_data()
    {
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<QString>("fecha");
        QTest::newRow("CR LF") << QByteArray("05/03/2024\r\n") << "05/03/2024";
        QTest::newRow("LF") << QByteArray("05/03/2024\n") << "05/03/2024";
        QTest::newRow("sin fin de línea") << QByteArray("05/03/2024") << "05/03/2024";
        QTest::newRow("tal cual, sin validar") << QByteArray("  1 de marzo \r\n02/02/2002\r\n") << "  1 de marzo ";
        QTest::newRow("vacío") << QByteArray() << "";
    }

    void leer_sello()
    {
        QFETCH(QByteArray, contenido);
        QFETCH(QString, fecha);
        QTemporaryDir d;
        Escribir_Fichero(d.path() + "/DatosCopia.dat", contenido);
        QCOMPARE(Leer_Sello(d.path()), fecha);
    }

    void sello_ilegible_data()
    {
        QTest::addColumn<QString>("clase");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("una carpeta") << "carpeta" << "es una carpeta";
        QTest::newRow("un enlace roto") << "enlace" << "no se encuentra (un enlace roto)";
        QTest::newRow("una tubería, sin quedarse esperando") << "tuberia" << "no es un fichero normal";
    }

    void sello_ilegible()
    {
        QFETCH(QString, clase);
        QFETCH(QString, motivo);
        QTemporaryDir d;
        const QString ruta = d.path() + "/DatosCopia.dat";
        if (clase == "carpeta")
            QDir(d.path()).mkdir("DatosCopia.dat");
        else if (clase == "enlace")
            QFile::link(d.path() + "/no-existe", ruta);
        else
            QVERIFY(::mkfifo(QFile::encodeName(ruta).constData(), 0600) == 0);
        QVERIFY(Existe_Sello(d.path()));
        const auto e = Capturar<EFalloCopia>([&] {
            Leer_Sello(d.path());
        });
        QVERIFY2(e, "se leyó un sello ilegible");
        QCOMPARE(e->message(), QString("No se puede leer el fichero %1: %2.").arg(ruta, motivo));
    }

    void guardar()
    {
        tDatos f("1234ABC");
        const QString &datos = f.datos;
        Escribir_Fichero(datos + "/Notas.txt", "notas");
        Escribir_Fichero(datos + "/.oculto", "x");
        QDir(datos).mkdir("sub");
        Escribir_Fichero(datos + "/sub/dentro.txt", "x");
        // A journal beside its table goes with it; a stamp a restore left here does not.
        Escribir_Fichero(datos + "/Averias.DAT-journal", "diario de averías");
        Escribir_Fichero(datos + "/DatosCopia.dat", "01/01/1990\r\n");

        QTemporaryDir d;
        const QString destino = d.path();
        Escribir_Fichero(destino + "/DatosCopia.dat", Sello_Antiguo);
        Escribir_Fichero(destino + "/Ruedas.DAT-journal", "diario de otra copia"); // would be applied to the new Ruedas.DAT
        Escribir_Fichero(destino + "/otro.txt", "ajeno");
        // A link in the destination is replaced, not written through.
        QTemporaryDir fuera;
        Escribir_Fichero(fuera.path() + "/intacto", "intacto");
        QVERIFY(QFile::link(fuera.path() + "/intacto", destino + "/Notas.txt"));

        QList<double> avance;
        const int copiados = Guardar_Copia(datos, destino, QDate(2024, 3, 5),
                                           [&](int fichero, double parte) { avance << fichero + parte; });

        const QList<tFichero> tomados = Ficheros_Copia(datos);
        QCOMPARE(copiados, 10); // eight tables, the notes and the journal
        QCOMPARE(tomados.size(), copiados);
        for (const tFichero &t : tomados)
            QVERIFY2(Leer_Fichero(destino + "/" + t.Nombre) == Leer_Fichero(datos + "/" + t.Nombre), qPrintable(t.Nombre));
        QCOMPARE(Leer_Fichero(destino + "/DatosCopia.dat"), QByteArray("05/03/2024\r\n"));
        QVERIFY(!QFile::exists(destino + "/Ruedas.DAT-journal"));
        QCOMPARE(Leer_Fichero(destino + "/otro.txt"), QByteArray("ajeno"));
        QCOMPARE(Leer_Fichero(fuera.path() + "/intacto"), QByteArray("intacto"));
        QVERIFY(!QFileInfo(destino + "/Notas.txt").isSymLink());
        QVERIFY(!QFile::exists(destino + "/.oculto"));
        QVERIFY(!QFile::exists(destino + "/sub"));
        QCOMPARE(Foto(destino).size(), 12); // the ten, the stamp and the stranger

        QVERIFY(!avance.isEmpty());
        QVERIFY(std::is_sorted(avance.begin(), avance.end()));
        QCOMPARE(avance.last(), double(copiados));
        QCOMPARE(Matriculas(destino), QStringList{"1234ABC"});
    }

    void rechazos_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("guardar en la carpeta de datos")
            << "guardar en datos" << "La carpeta de destino es la propia carpeta de datos. No se ha copiado nada.";
        QTest::newRow("guardar en un enlace a la carpeta de datos")
            << "guardar en enlace" << "La carpeta de destino es la propia carpeta de datos. No se ha copiado nada.";
        QTest::newRow("guardar con una tabla abierta")
            << "guardar abierta"
            << "Estas tablas de la carpeta de datos siguen abiertas: Matriculas.DAT. No se ha copiado nada.";
        QTest::newRow("restaurar con una tabla abierta")
            << "restaurar abierta"
            << "Estas tablas de la carpeta de datos siguen abiertas: Matriculas.DAT. No se ha copiado nada.";
        QTest::newRow("restaurar desde la carpeta de datos")
            << "restaurar de datos"
            << "La carpeta de la copia es la propia carpeta de datos. No se ha restaurado nada.";
    }

    void rechazos()
    {
        QFETCH(QString, caso);
        QFETCH(QString, mensaje);
        tDatos f("1234ABC");
        QTemporaryDir otra;
        Guardar_Copia(f.datos, otra.path(), QDate(2024, 3, 5));
        QDir(otra.path()).remove("Matriculas.DAT"); // a restore would change the table if it went ahead
        QFile::link(f.datos, f.base.path() + "/enlace");

        TDatabase db;
        db.setDirectory(f.datos);
        TTable abierta;
        abierta.setDatabase(&db);
        abierta.setTableName("Matriculas.DAT");
        if (caso.endsWith("abierta"))
            abierta.open();

        const auto antes = Foto(f.datos), antesOtra = Foto(otra.path());
        const auto e = Capturar<EFalloCopia>([&] {
            if (caso == "guardar en datos")
                Guardar_Copia(f.datos, f.datos, QDate(2024, 3, 5));
            else if (caso == "guardar en enlace")
                Guardar_Copia(f.datos, f.base.path() + "/enlace", QDate(2024, 3, 5));
            else if (caso == "guardar abierta")
                Guardar_Copia(f.datos, otra.path(), QDate(2024, 3, 5));
            else if (caso == "restaurar abierta")
                Restaurar_Copia(otra.path(), f.datos);
            else
                Restaurar_Copia(f.datos, f.datos);
        });
        QVERIFY2(e, "no se rechazó");
        QCOMPARE(e->message(), mensaje);
        abierta.close();
        QCOMPARE(Foto(f.datos), antes);
        QCOMPARE(Foto(otra.path()), antesOtra);
    }

    // A backup that cannot finish names every file that failed and leaves no stamp.
    void guardar_falla_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QStringList>("fallos");
        QStringList lleno;
        for (int i = 16; i < 24; ++i)
            lleno << QStringLiteral("f%1.bin: no queda espacio libre en el disco").arg(i);
        // 24 small files add up to far less than the disk, but each takes a page of it.
        QTest::newRow("el disco se llena a mitad de copia") << "lleno" << lleno;
        QTest::newRow("los ficheros caben, el sello no")
            << "sello" << QStringList{"DatosCopia.dat: no queda espacio libre en el disco"};
        QTest::newRow("destino de solo lectura")
            << "solo lectura"
            << QStringList{"DatosCopia.dat: no se ha podido quitar el de la copia anterior: el disco es de solo lectura"};
        QTest::newRow("un fichero del destino no se deja reemplazar")
            << "inmutable" << QStringList{"f01.bin: permiso denegado"};
        QTest::newRow("el destino desaparece a mitad de copia")
            << "desaparece"
            << QStringList{"f01.bin: la carpeta de destino ya no existe", "f02.bin: la carpeta de destino ya no existe"};
    }

    void guardar_falla()
    {
        QFETCH(QString, caso);
        QFETCH(QStringList, fallos);
        if (::geteuid() != 0 && caso != "desaparece")
            QSKIP("montar discos y marcar ficheros como inmutables exige ser root");

        QTemporaryDir datos, carpeta;
        std::unique_ptr<tDiscoPequeno> disco;
        QString destino = carpeta.path();
        if (caso == "lleno" || caso == "sello") {
            disco = std::make_unique<tDiscoPequeno>(16 * 4096);
            EXIGIR_LUGAR(*disco);
            destino = disco->ruta();
        }
        if (caso == "lleno")
            Llenar(datos.path(), QList<int>(24, 100));
        else if (caso == "sello")
            Llenar(datos.path(), {4096, 4096, 4096, 4096, 4096, 4096, 4096, 4096, 4096, 4096, 4096, 4096, 4096, 4096,
                                  4096, 4095});
        else
            Llenar(datos.path(), {10, 20, 30});
        if (caso != "sello") { // there the disk must be empty for the files to pass the free-space check
            QVERIFY(Escribir_Fichero(destino + "/DatosCopia.dat", Sello_Antiguo));
            Escribir_Fichero(destino + "/f01.bin", "versión anterior");
        }
        if (disco)
            QVERIFY(Bytes_Libres(destino) > Tamano_Total(Ficheros_Copia(datos.path())));

        std::unique_ptr<tSoloLectura> soloLectura;
        std::unique_ptr<tInmutable> inmutable;
        if (caso == "solo lectura") {
            soloLectura = std::make_unique<tSoloLectura>(destino);
            EXIGIR_LUGAR(*soloLectura);
        } else if (caso == "inmutable") {
            inmutable = std::make_unique<tInmutable>(destino + "/f01.bin");
            EXIGIR_LUGAR(*inmutable);
        }
        const auto antes = Foto(destino);

        tProgreso progreso;
        if (caso == "desaparece")
            progreso = [&](int fichero, double parte) {
                if (fichero == 1 && parte == 0)
                    QDir(destino).removeRecursively();
            };
        const auto e = Capturar<EFalloCopia>([&] {
            Guardar_Copia(datos.path(), destino, QDate(2024, 3, 5), progreso);
        });
        QVERIFY2(e, "la copia se dio por buena");
        QCOMPARE(Textos(e->Fallos()), fallos);
        QVERIFY(e->message().startsWith(QStringLiteral("No se han podido guardar estos ficheros en %1:\r").arg(destino)));
        QVERIFY(e->message().endsWith("\r\rLa carpeta no contiene una copia de seguridad válida."));
        for (const QString &linea : fallos)
            QVERIFY(e->message().contains(linea));
        if (caso == "solo lectura") {
            QCOMPARE(Foto(destino), antes); // nothing touched: the old backup there is still whole
        } else {
            QVERIFY(!QFile::exists(destino + "/DatosCopia.dat"));
            QVERIFY(!QFile::exists(destino + "/.DatosCopia.dat.nuevo"));
        }
        if (caso == "inmutable") {
            QCOMPARE(Leer_Fichero(destino + "/f00.bin"), Leer_Fichero(datos.path() + "/f00.bin"));
            QCOMPARE(Leer_Fichero(destino + "/f02.bin"), Leer_Fichero(datos.path() + "/f02.bin"));
        }
    }

    void restaurar_data()
    {
        QTest::addColumn<bool>("padre_protegido");
        QTest::newRow("con la carpeta provisional junto a la de datos") << false;
        // Where nothing can be made beside the data folder, the work is done inside it.
        QTest::newRow("con la carpeta de al lado protegida") << true;
    }

    void restaurar()
    {
        QFETCH(bool, padre_protegido);
        tDatos copia("COPIA");
        QTemporaryDir d;
        Escribir_Fichero(copia.datos + "/Notas.txt", "notas de la copia");
        Guardar_Copia(copia.datos, d.path(), QDate(2024, 3, 5));
        // A journal whose table the backup lacks must not meet the live table.
        Escribir_Fichero(d.path() + "/Perdida.DAT-journal", "diario suelto");
        // A table of an older format is brought up to date, as at start-up.
        QVERIFY(Ejecutar_Sql(d.path() + "/Marcas.DAT", "DROP TABLE _Indices"));
        QVERIFY(TableStore::tableVersion(d.path() + "/Marcas.DAT") < "3.00");
        const QByteArray marcasAntiguas = Leer_Fichero(d.path() + "/Marcas.DAT");

        tDatos vivo("VIVO");
        const QString &datos = vivo.datos;
        Escribir_Fichero(datos + "/Extra.txt", "se queda");
        Escribir_Fichero(datos + "/Perdida.DAT", "se queda también");
        Escribir_Fichero(datos + "/Matriculas.DAT-journal", "diario de la tabla que se sustituye");
        const auto padre = Foto(vivo.base.path());
        std::unique_ptr<tInmutable> protegido;
        if (padre_protegido) {
            protegido = std::make_unique<tInmutable>(vivo.base.path());
            EXIGIR_LUGAR(*protegido);
        }

        QList<double> avance;
        const int restaurados = Restaurar_Copia(d.path(), datos, [&](int fichero, double parte) {
            avance << fichero + parte;
        });

        QCOMPARE(restaurados, 10); // eight tables, the notes and the stamp
        QVERIFY(TableStore::tableVersion(datos + "/Marcas.DAT") >= "3.00");
        QCOMPARE(Leer_Fichero(d.path() + "/Marcas.DAT"), marcasAntiguas); // the backup itself is left alone
        for (const tFichero &t : Ficheros_Carpeta(d.path()))
            if (t.Nombre != "Perdida.DAT-journal" && t.Nombre != "Marcas.DAT")
                QVERIFY2(Leer_Fichero(datos + "/" + t.Nombre) == Leer_Fichero(d.path() + "/" + t.Nombre), qPrintable(t.Nombre));
        QCOMPARE(Leer_Fichero(datos + "/Extra.txt"), QByteArray("se queda"));
        QCOMPARE(Leer_Fichero(datos + "/Perdida.DAT"), QByteArray("se queda también"));
        QVERIFY(!QFile::exists(datos + "/Matriculas.DAT-journal"));
        QVERIFY(!QFile::exists(datos + "/Perdida.DAT-journal"));
        QCOMPARE(Foto(datos).size(), 12); // the ten and the two of its own: nothing left aside
        QCOMPARE(Foto(vivo.base.path()).keys(), padre.keys());
        protegido.reset();
        QCOMPARE(avance.last(), double(Ficheros_Carpeta(d.path()).size()));
        QCOMPARE(Matriculas(datos), QStringList{"COPIA"});
    }

    // A restore that fails on its last file leaves every file of the data folder as it was.
    void restaurar_falla_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QStringList>("fallos");
        QTest::newRow("no cabe en el disco de la carpeta de datos")
            << "lleno" << QStringList{"Zz.bin: no queda espacio libre en el disco"};
        QTest::newRow("la última tabla no se abre")
            << "dañada" << QStringList{"Ruedas.DAT: no se puede abrir como tabla del programa"};
        QTest::newRow("la última tabla viva no se deja reemplazar")
            << "inmutable" << QStringList{"Ruedas.DAT: permiso denegado"};
    }

    void restaurar_falla()
    {
        QFETCH(QString, caso);
        QFETCH(QStringList, fallos);
        if (::geteuid() != 0 && caso != "dañada")
            QSKIP("montar discos y marcar ficheros como inmutables exige ser root");

        std::unique_ptr<tDiscoPequeno> disco;
        if (caso == "lleno") {
            disco = std::make_unique<tDiscoPequeno>(1 << 20);
            EXIGIR_LUGAR(*disco);
        }
        tDatos vivo("VIVO", disco ? disco->ruta() : QString());
        const QString &datos = vivo.datos;
        Escribir_Fichero(datos + "/Averias.DAT-journal", "diario vivo");

        tDatos copia("COPIA");
        QTemporaryDir d;
        Guardar_Copia(copia.datos, d.path(), QDate(2024, 3, 5));
        if (caso == "lleno")
            Escribir_Fichero(d.path() + "/Zz.bin", QByteArray(2 << 20, 'z'));
        else if (caso == "dañada")
            Escribir_Fichero(d.path() + "/Ruedas.DAT", QByteArray(8192, 'x'));
        std::unique_ptr<tInmutable> inmutable;
        if (caso == "inmutable") {
            inmutable = std::make_unique<tInmutable>(datos + "/Ruedas.DAT");
            EXIGIR_LUGAR(*inmutable);
        }
        QCOMPARE(Ficheros_Carpeta(d.path()).last().Nombre, caso == "lleno" ? QString("Zz.bin") : QString("Ruedas.DAT"));

        const auto antes = Foto(datos);
        const auto padre = Foto(QFileInfo(datos).path());
        const auto e = Capturar<EFalloCopia>([&] {
            Restaurar_Copia(d.path(), datos);
        });
        QVERIFY2(e, "la restauración se dio por buena");
        const QStringList vistos = Textos(e->Fallos());
        QCOMPARE(vistos.size(), fallos.size());
        for (int i = 0; i < fallos.size(); ++i)
            QVERIFY2(vistos[i].startsWith(fallos[i]), qPrintable(vistos[i]));
        QVERIFY(e->message().endsWith("\r\rLa carpeta de datos no se ha modificado."));
        inmutable.reset();
        QCOMPARE(Foto(datos), antes);
        if (!disco)
            QCOMPARE(Foto(QFileInfo(datos).path()).keys(), padre.keys());
        QCOMPARE(Matriculas(datos), QStringList{"VIVO"});
    }
};

QTEST_GUILESS_MAIN(tst_copia)
#include "tst_copia.moc"
