// Start-up in this process: the main window comes up also when the data folder cannot be
// opened (the failure shown and logged), the splash is gone by then, and the program's
// formats hold whatever the locale of the process.
#include "Arranque.h"

#include "Aplicacion.h"
#include "Avisos.h"
#include "CargaAplicacion.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "DialogosPrueba.h"
#include "Excepciones.h"
#include "FechaEntrada.h"
#include "Formatos.h"
#include "Principal.h"
#include "SharedMem.h"
#include "Table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUuid>

class tst_arranque : public QObject
{
    Q_OBJECT

    QTemporaryDir fLog;

    struct tVisto
    {
        bool Ventana = false;
        bool Splash_Visible = true;
        bool Tablas_Abiertas = false;
        QString Fecha, Lectura, Fecha_Corta;
        int Resultado = -1;
    };

    // Runs the whole sequence; once the main window is up, looks around and closes it with " &Sí".
    tVisto Arrancar(const QString &Carpeta, bool Del_Usuario = false)
    {
        tVisto Visto;
        tOpcionesArranque Opciones;
        Opciones.Nombre_Bloque = QStringLiteral("QuelvaroPrueba-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        Opciones.Carpeta_Datos = Carpeta;
        Opciones.Datos_Del_Usuario = Del_Usuario;
        Opciones.Al_Empezar = [&Visto](TFormPrincipal &Principal, tSharedMem &) {
            Visto.Ventana = Principal.isVisible();
            Visto.Splash_Visible = false;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (qobject_cast<TFormCargaAplicacion *>(w) && w->isVisible())
                    Visto.Splash_Visible = true;
            Visto.Tablas_Abiertas = ModuloDatos && ModuloDatos->TableMatriculas && ModuloDatos->TableMatriculas->active();
            Visto.Fecha = Formatos::Formatear_Fecha(QDate(2001, 3, 7));
            Visto.Fecha_Corta = QDate(2001, 3, 7).toString(Formatos_Regionales().ShortDateFormat);
            Visto.Lectura = Formatos::Formatear_N(1234567, 0);
            Avisos_Prueba::Programar_Respuesta(true);
            QTimer::singleShot(0, &Principal, &QWidget::close);
        };
        Visto.Resultado = Secuencia_Principal(Opciones);
        return Visto;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(fLog.isValid());
        Preparar_Unidades();
        Excepcion.Fijar_Carpeta_Log(fLog.path());
    }

    void init()
    {
        Avisos_Prueba::Reiniciar();
        Avisos_Prueba::Sin_Ventanas(true);
        QFile::remove(Excepcion.Ruta_Log());
    }

    void cleanup() { Avisos_Prueba::Reiniciar(); }

    void carpetaDeDatos_data()
    {
        QTest::addColumn<bool>("Existe");
        QTest::newRow("correcta") << true;
        QTest::newRow("no existe") << false;
    }
    void carpetaDeDatos()
    {
        QFETCH(bool, Existe);
        DatosPrueba Datos;
        QVERIFY(Datos.isValid());
        const QString Carpeta = Existe ? Datos.carpeta() : Datos.carpeta() + QStringLiteral("/no-existe");

        // The failure comes up in the real message dialog, over the splash, before the main window.
        DialogosPrueba Dialogos;
        if (!Existe) {
            Avisos_Prueba::Sin_Ventanas(false);
            Dialogos.pulsarAlAparecer(QString(), QStringLiteral("&Aceptar"));
        }
        const tVisto Visto = Arrancar(Carpeta);
        QVERIFY2(Dialogos.correcto(), qPrintable(Dialogos.errores().join('\n')));
        if (!Existe) {
            QCOMPARE(Dialogos.titulos(), QStringList{QStringLiteral("Error")});
            QVERIFY(Dialogos.textos().constFirst().contains(QStringLiteral("Mantenimiento.DAT")));
        }

        QCOMPARE(Visto.Resultado, 0);
        QVERIFY(Visto.Ventana);
        QVERIFY(!Visto.Splash_Visible);
        QCOMPARE(Visto.Tablas_Abiertas, Existe);
        QVERIFY(!ModuloDatos); // gone with the end of the run

        QList<TAvisoMostrado> Errores;
        for (const TAvisoMostrado &a : Avisos_Prueba::Mostrados())
            if (a.Tipo == avError)
                Errores << a;
        QFile Log(Excepcion.Ruta_Log());
        if (Existe) {
            QVERIFY(Errores.isEmpty());
            QVERIFY(!Log.exists());
        } else {
            QCOMPARE(Errores.size(), 1);
            QCOMPARE(Errores[0].Titulo, QStringLiteral("Error"));
            QVERIFY(!Errores[0].Texto.isEmpty());
            QVERIFY(Log.open(QIODevice::ReadOnly));
            QVERIFY(Log.readAll().startsWith("***** "));
        }
        // The run ended through the exit question, answered " &Sí".
        QCOMPARE(Avisos_Prueba::Mostrados().last().Titulo, QStringLiteral("Finalizar"));
    }

    // The user's data folder: the first start makes the eight empty tables and says where,
    // once; a folder that already holds something is opened (or reported) as it is.
    void carpetaDelUsuario_data()
    {
        QTest::addColumn<QString>("Caso");
        QTest::addColumn<bool>("Creada");
        QTest::newRow("no existe") << "no existe" << true;
        QTest::newRow("vacía") << "vacía" << true;
        QTest::newRow("con una sola tabla") << "una tabla" << false;
    }
    void carpetaDelUsuario()
    {
        QFETCH(QString, Caso);
        QFETCH(bool, Creada);
        QTemporaryDir Xdg;
        QVERIFY(Xdg.isValid());
        const QString Carpeta = Xdg.filePath(QStringLiteral("Quelvaro/Datos"));
        if (Caso != "no existe")
            QVERIFY(QDir().mkpath(Carpeta));
        if (Caso == "una tabla") {
            DatosPrueba Otra;
            QVERIFY(Otra.isValid());
            QVERIFY(QFile::copy(Otra.ruta(QStringLiteral("Marcas.DAT")), Carpeta + QStringLiteral("/Marcas.DAT")));
            // The failure to open the rest comes up in the real dialog.
            Avisos_Prueba::Sin_Ventanas(false);
        }
        DialogosPrueba Dialogos;
        if (!Creada)
            Dialogos.pulsarAlAparecer(QString(), QStringLiteral("&Aceptar"));

        const tVisto Visto = Arrancar(Carpeta, true);
        QVERIFY2(Dialogos.correcto(), qPrintable(Dialogos.errores().join('\n')));
        QCOMPARE(Visto.Tablas_Abiertas, Creada);
        QCOMPARE(QDir(Carpeta).entryList(QDir::Files).size(), Creada ? 8 : 1);

        const auto Avisos_De = [](TTipoAviso Tipo) {
            QList<TAvisoMostrado> r;
            for (const TAvisoMostrado &a : Avisos_Prueba::Mostrados())
                if (a.Tipo == Tipo)
                    r << a;
            return r;
        };
        const QList<TAvisoMostrado> Notas = Avisos_De(avInformacion);
        QCOMPARE(Notas.size(), Creada ? 1 : 0);
        if (Creada) {
            QCOMPARE(Notas[0].Titulo, QStringLiteral("Carpeta de datos"));
            QCOMPARE(Notas[0].Texto, QStringLiteral("Quelvaro guardará sus datos en la carpeta\r\r%1\r\r"
                                                    "Se han creado en ella las tablas vacías.")
                                         .arg(Carpeta));
            QVERIFY(Avisos_De(avError).isEmpty());

            // The next start finds its tables and says nothing.
            Avisos_Prueba::Reiniciar();
            Avisos_Prueba::Sin_Ventanas(true);
            const tVisto Segundo = Arrancar(Carpeta, true);
            QVERIFY(Segundo.Tablas_Abiertas);
            QVERIFY(Avisos_De(avInformacion).isEmpty());
            QVERIFY(Avisos_De(avError).isEmpty());
        } else {
            QCOMPARE(Dialogos.titulos(), QStringList{QStringLiteral("Error")});
        }
    }

    // A damaged table at start-up: one notice, with the code's own text, the
    // table's file and the way out; the log's entry is the plain one. The main
    // window still comes up, its windows telling nothing more on their own.
    void tablaDanada_data()
    {
        QTest::addColumn<QString>("Fichero");
        QTest::newRow("vehículos") << QStringLiteral("Matriculas.DAT");
        QTest::newRow("averías") << QStringLiteral("Averias.DAT");
        QTest::newRow("ficha técnica") << QStringLiteral("FichaTecnica.DAT");
    }
    void tablaDanada()
    {
        QFETCH(QString, Fichero);
        DatosPrueba Datos;
        QVERIFY(Datos.isValid());
        const int Marca = Datos.addBrand(QStringLiteral("SEAT"));
        Datos.addVehicle(QStringLiteral("1111AAA"), Marca, Datos.addModel(QStringLiteral("IBIZA"), Marca), 1000);
        Datos.addBreakdown(QStringLiteral("1111AAA"), QDate(2024, 2, 1), 500);
        Datos.addSheet(QStringLiteral("1111AAA"));
        QVERIFY(QFile::exists(Datos.ruta(Fichero)));
        FicheroEstropeado Estropeado(Datos.ruta(Fichero));

        const tVisto Visto = Arrancar(Datos.carpeta());
        QVERIFY(Visto.Ventana);
        QCOMPARE(Visto.Resultado, 0);

        QStringList Errores;
        for (const TAvisoMostrado &a : Avisos_Prueba::Mostrados())
            if (a.Tipo == avError)
                Errores << a.Texto;
        QCOMPARE(Errores.size(), 1);
        const QString &Texto = Errores.constFirst();
        QVERIFY2(Texto.contains(QStringLiteral("Se ha producido un error de lectura")), qPrintable(Texto));
        QVERIFY2(Texto.contains(Fichero), qPrintable(Texto));
        QVERIFY2(Texto.contains(QStringLiteral("«Copia de Seguridad»")), qPrintable(Texto));
        QFile Log(Excepcion.Ruta_Log());
        QVERIFY(Log.open(QIODevice::ReadOnly));
        const QString Entrada = QString::fromLatin1(Log.readAll());
        QVERIFY2(Entrada.contains(QStringLiteral("Error de lectura en la tabla ") + Fichero), qPrintable(Entrada));
        QVERIFY2(!Entrada.contains(QStringLiteral("Copia de Seguridad")), qPrintable(Entrada));
    }

    // Day, month, four-digit year and "." between thousands, whatever LANG and LC_ALL say.
    void formatos()
    {
        DatosPrueba Datos;
        QVERIFY(Datos.isValid());
        const tVisto Visto = Arrancar(Datos.carpeta());
        QCOMPARE(Visto.Fecha, QStringLiteral("07/03/2001"));
        QCOMPARE(Visto.Fecha_Corta, QStringLiteral("07/03/2001"));
        QCOMPARE(Visto.Lectura, QStringLiteral("1.234.567"));
    }
};

int main(int argc, char **argv)
{
    tAplicacion app(argc, argv);
    tst_arranque Prueba;
    return QTest::qExec(&Prueba, argc, argv);
}

#include "tst_arranque.moc"
