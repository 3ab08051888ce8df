// The error handler: the texts the user sees, the log's entries and bytes, the
// retry question when the log cannot be written, and exceptions that escape a
// slot reaching the handler through the application object.
#include "Aplicacion.h"
#include "Avisos.h"
#include "DialogosPrueba.h"
#include "Excepciones.h"
#include "Protegido.h"
#include "StoreErrors.h"
#include "UtilSistema.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <new>
#include <stdexcept>
#include <system_error>

namespace {
// Raises one failure of the given kind and hands it to the handler as an
// editor dialog does; errno is set just before the capture.
void fallar(const QString &tipo, int codigo, const QString &mensaje, const QString &contexto)
{
    try {
        if (tipo == "motor")
            throw EDBEngineError(quint16(codigo), mensaje);
        if (tipo == "es")
            throw EInOutError(codigo, mensaje);
        if (tipo == "sistema")
            throw std::system_error(codigo, std::generic_category(), mensaje.toStdString());
        if (tipo == "memoria")
            throw std::bad_alloc();
        throw std::runtime_error(mensaje.toStdString());
    } catch (const std::exception &e) {
        // What an unrelated library call may have left behind.
        errno = tipo == "otra" ? codigo : 0;
        Excepcion.Tratar_Error(e, contexto);
    }
}

const QDateTime Momento(QDate(2024, 12, 8), QTime(14, 5, 31));
}

class TstErrores : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void textos_data();
    void textos();
    void entradaDelLog_data();
    void entradaDelLog();
    void dosErroresSeAnaden();
    void sinErrorNadaQueMostrar();
    void capturaDiferida();
    void reintentos_data();
    void reintentos();
    void nombreDelLog_data();
    void nombreDelLog();
    void codificacion_data();
    void codificacion();
    void manejadorCentral();
    void excepcionSimpleEnUnaVentana_data();
    void excepcionSimpleEnUnaVentana();
    void unMensajeCadaVez();

private:
    QByteArray log() const
    {
        QFile f(Excepcion.Ruta_Log());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray cabecera(const QString &fechaHora) const
    {
        return "***** " + fechaHora.toLatin1() + "   Pc: " + Codificar_1252(Nombre_Ordenador()) + ", Usuario: "
            + Codificar_1252(Nombre_Usuario()) + "\r\n";
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstErrores::initTestCase()
{
    // Configured as the unit starts, before any window.
    QVERIFY(Excepcion.Grabar_Log);
}

void TstErrores::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    Excepcion.Fijar_Carpeta_Log(m_dir->path());
    Excepcion.Fijar_Reloj([] { return Momento; });
    Excepcion.Fijar_Pregunta_Reintento(nullptr);
    Excepcion.Borrar_Error();
    Avisos_Prueba::Reiniciar();
    Avisos_Prueba::Sin_Ventanas(true);
}

void TstErrores::cleanup()
{
    DialogosPrueba::cerrarModales();
    Avisos_Prueba::Reiniciar();
    Excepcion.Fijar_Reloj(nullptr);
    Excepcion.Fijar_Carpeta_Log(QString());
    m_dir.reset();
}

void TstErrores::textos_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<int>("codigo");
    QTest::addColumn<QString>("contexto");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("clave duplicada al añadir")
        << "motor" << 9729 << "Error al AÑADIR registro." << "Clave duplicada en Matriculas.DAT"
        << "Error al AÑADIR registro.\r\rLa clave de este registro está duplicada";
    QTest::newRow("fichero no encontrado, solo")
        << "es" << 2 << "Error al EDITAR registro." << "Datos/Marcas.DAT" << "Fichero no encontrado";
    QTest::newRow("código de motor desconocido")
        << "motor" << 10024 << "" << "Filtro incorrecto"
        << "Se ha producido el siguiente error:\r\rFiltro incorrecto\r\r con el código de error número 10024";
    QTest::newRow("código de sistema desconocido")
        << "es" << 1117 << "Error al ELIMINAR registro." << "Error de E/S"
        << "Error al ELIMINAR registro.\r\rError de E/S";
    QTest::newRow("otra excepción sin código")
        << "otra" << 0 << "" << "Índice fuera de rango" << "Se ha producido el siguiente error:\r\rÍndice fuera de rango";
    // A plain exception carries no system code: errno, whatever left it set, is not its code.
    QTest::newRow("otra excepción, errno de fichero no encontrado")
        << "otra" << ENOENT << "" << "fallo" << "Se ha producido el siguiente error:\r\rfallo";
    QTest::newRow("otra excepción, errno de disco lleno")
        << "otra" << ENOSPC << "Error al AÑADIR registro." << "fallo" << "Error al AÑADIR registro.\r\rfallo";
    QTest::newRow("sin memoria") << "memoria" << 0 << "" << "" << "No hay suficiente memoria";
    QTest::newRow("error del sistema con su código") << "sistema" << EACCES << "" << "open" << "Acceso denegado";
}

void TstErrores::textos()
{
    QFETCH(QString, tipo);
    QFETCH(int, codigo);
    QFETCH(QString, contexto);
    QFETCH(QString, mensaje);
    QFETCH(QString, esperado);
    fallar(tipo, codigo, mensaje, contexto);
    QVERIFY(!Excepcion.Hay_Error());
    const auto &m = Avisos_Prueba::Mostrados();
    QCOMPARE(m.size(), 1);
    QCOMPARE(m[0].Texto, esperado);
    QCOMPARE(m[0].Titulo, QStringLiteral("Error"));
    QCOMPARE(m[0].Tipo, avError);
    QCOMPARE(m[0].Botones, baAceptar);
}

void TstErrores::entradaDelLog_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<int>("codigo");
    QTest::addColumn<QString>("contexto");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<QTime>("hora");
    QTest::addColumn<QByteArray>("cuerpo"); // what follows the first line
    QTest::addColumn<QString>("fechaHora");
    QTest::newRow("contexto y código")
        << "motor" << 9729 << "Error al AÑADIR registro." << "Clave duplicada en Matriculas.DAT" << QTime(14, 5, 31)
        << QByteArray("Mensaje de usuario: Error al A\xD1" "ADIR registro.\r\r\n"
                      "Clave duplicada en Matriculas.DAT\r\n"
                      "C\xF3" "digo de Error: 9729\r\n")
        << "08/12/2024 14:05";
    QTest::newRow("sin contexto ni código, a medianoche")
        << "otra" << 0 << "" << "Ñandú" << QTime(0, 0)
        << QByteArray("\xD1" "and\xFA\r\n") << "08/12/2024";
    QTest::newRow("código de sistema")
        << "es" << 5 << "" << "Datos/Marcas.DAT: permiso denegado" << QTime(9, 7)
        << QByteArray("Datos/Marcas.DAT: permiso denegado\r\nC\xF3" "digo de Error: 5\r\n") << "08/12/2024 09:07";
}

void TstErrores::entradaDelLog()
{
    QFETCH(QString, tipo);
    QFETCH(int, codigo);
    QFETCH(QString, contexto);
    QFETCH(QString, mensaje);
    QFETCH(QTime, hora);
    QFETCH(QByteArray, cuerpo);
    QFETCH(QString, fechaHora);
    Excepcion.Fijar_Reloj([hora] { return QDateTime(Momento.date(), hora); });
    QVERIFY(!QFile::exists(Excepcion.Ruta_Log())); // a missing log is created
    fallar(tipo, codigo, mensaje, contexto);
    QCOMPARE(log(), cabecera(fechaHora) + cuerpo);
}

void TstErrores::dosErroresSeAnaden()
{
    {
        QFile f(Excepcion.Ruta_Log());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("previo\r\n");
    }
    fallar("motor", 9729, "uno", "Error al AÑADIR registro.");
    fallar("es", 2, "dos", "");
    const QByteArray bytes = log();
    QVERIFY(bytes.startsWith("previo\r\n***** "));
    QCOMPARE(bytes.count("***** "), 2);
    QVERIFY(bytes.endsWith("dos\r\nC\xF3" "digo de Error: 2\r\n"));
    // Every line break is CR LF (the context's own CR stands before one).
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
}

void TstErrores::sinErrorNadaQueMostrar()
{
    Excepcion.Mostrar_Error();
    QVERIFY(Avisos_Prueba::Mostrados().isEmpty());
    QVERIFY(!QFile::exists(Excepcion.Ruta_Log()));
}

// An editor captures while it opens and shows at its first painting.
void TstErrores::capturaDiferida()
{
    try {
        throw EDBEngineError(10241, QStringLiteral("Registro bloqueado"));
    } catch (const std::exception &e) {
        Excepcion.Registrar_Error(e, QStringLiteral("Error al intentar EDITAR registro."));
    }
    QVERIFY(Excepcion.Hay_Error());
    QVERIFY(Avisos_Prueba::Mostrados().isEmpty());
    Excepcion.Mostrar_Error();
    QVERIFY(Excepcion.Hay_Error()); // showing keeps the capture
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
    QCOMPARE(Avisos_Prueba::Mostrados()[0].Texto,
             QStringLiteral("Error al intentar EDITAR registro.\r\rEste registro está siendo modificado por otro usuario"));
    Excepcion.Borrar_Error();
    QVERIFY(!Excepcion.Hay_Error());
    Excepcion.Mostrar_Error();
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
}

void TstErrores::reintentos_data()
{
    QTest::addColumn<QStringList>("respuestas");
    QTest::newRow("sí y sí: tercer intento sin pregunta") << QStringList{"Yes", "Yes"};
    QTest::newRow("no a la primera") << QStringList{"No"};
}

void TstErrores::reintentos()
{
    QFETCH(QStringList, respuestas);
    // A folder where the log should be: it cannot be opened, whoever runs the test.
    QVERIFY(QDir(m_dir->path()).mkdir(QFileInfo(Excepcion.Ruta_Log()).fileName()));
    DialogosPrueba d;
    for (const QString &r : respuestas)
        d.pulsarAlAparecer(QStringLiteral("QMessageBox"), r);
    int demas = 0;
    d.alAparecer(QStringLiteral("QMessageBox"), [&](QWidget *w) {
        ++demas;
        DialogosPrueba::pulsarBoton(w, QStringLiteral("No"));
    });
    fallar("motor", 9729, "Clave duplicada", "Error al AÑADIR registro.");
    QCOMPARE(d.atendidos(), respuestas.size());
    QCOMPARE(demas, 0);
    QVERIFY(d.errores().isEmpty());
    for (const QString &t : d.titulos())
        QCOMPARE(t, QStringLiteral("Grabar mensaje de error"));
    for (const QString &t : d.textos())
        QCOMPARE(t, QStringLiteral("No podemos grabar el mensaje de error.?¿Desea volver a intentarlo?"));
    // The message was shown all the same, before the log was tried.
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
}

void TstErrores::nombreDelLog_data()
{
    QTest::addColumn<QString>("ejecutable");
    QTest::addColumn<QString>("nombre");
    QTest::newRow("sin extensión") << "/opt/quelvaro/quelvaro" << "Quelvaro_errores.txt";
    QTest::newRow("con extensión") << "/opt/quelvaro/Quelvaro.exe" << "Quelvaro_errores.txt";
    QTest::newRow("en mayúsculas") << "/opt/QUELVARO.EXE" << "Quelvaro_errores.txt";
    QTest::newRow("con puntos") << "/opt/quelvaro.1.bin" << "Quelvaro.1_errores.txt";
    QTest::newRow("eñe") << "/opt/ÑANDÚ" << "Ñandú_errores.txt";
}

void TstErrores::nombreDelLog()
{
    QFETCH(QString, ejecutable);
    QFETCH(QString, nombre);
    QCOMPARE(Nombre_Log(ejecutable), nombre);
    // By default the log lies beside the executable.
    Excepcion.Fijar_Carpeta_Log(QString());
    QCOMPARE(Excepcion.Ruta_Log(), QCoreApplication::applicationDirPath() + "/Tst_errores_errores.txt");
}

void TstErrores::codificacion_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("eñe") << "Ñ" << QByteArray("\xD1");
    QTest::newRow("acentos") << "áéíóúü" << QByteArray("\xE1\xE9\xED\xF3\xFA\xFC");
    QTest::newRow("euro y comillas") << "€“”" << QByteArray("\x80\x93\x94");
    QTest::newRow("fuera del juego") << "Āx😀" << QByteArray("?x?");
    QTest::newRow("saltos") << "a\r\nb" << QByteArray("a\r\nb");
}

void TstErrores::codificacion()
{
    QFETCH(QString, texto);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Codificar_1252(texto), bytes);
}

// Through the application object, the last net for a handler that does not
// catch: the message, and the program goes on. Driven by a timer: a failure
// unwinding through Qt's mouse handling leaks the event Qt was delivering,
// which is why handlers catch where they run.
void TstErrores::manejadorCentral()
{
    QWidget ventana;
    ventana.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ventana));
    int disparos = 0;
    QTimer reloj;
    reloj.setInterval(0);
    connect(&reloj, &QTimer::timeout, &ventana, [&] {
        if (++disparos == 2)
            reloj.stop();
        throw EInOutError(2, QStringLiteral("Datos/Ruedas.DAT"));
    });
    reloj.start();
    QTRY_COMPARE(disparos, 2); // the program went on
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 2);
    QCOMPARE(Avisos_Prueba::Mostrados()[1].Texto, QStringLiteral("Fichero no encontrado"));
    QVERIFY(!Excepcion.Hay_Error());

    // From a timer, inside the event loop.
    QTimer::singleShot(0, [] { throw std::runtime_error("fallo en un temporizador"); });
    QTRY_COMPARE(Avisos_Prueba::Mostrados().size(), 3);
    QCOMPARE(Avisos_Prueba::Mostrados()[2].Titulo, QStringLiteral("Error"));
    QCOMPARE(log().count("***** "), 3);
    QVERIFY(log().contains("fallo en un temporizador\r\n"));
}

// A plain exception thrown by a slot of a running window, with errno left at
// "file not found" by the calls the event loop made: its own message is shown,
// and the log has no code. Caught in the slot (the way for every handler), or by
// the application object (the last net; a timer's slot, see manejadorCentral).
void TstErrores::excepcionSimpleEnUnaVentana_data()
{
    QTest::addColumn<bool>("protegido");
    QTest::newRow("capturada en el manejador") << true;
    QTest::newRow("capturada por la aplicación") << false;
}

void TstErrores::excepcionSimpleEnUnaVentana()
{
    QFETCH(bool, protegido);
    QWidget ventana;
    auto *boton = new QPushButton(QStringLiteral("Calcular"), &ventana);
    const auto fallar = [] {
        QFile::exists(QStringLiteral("/no/existe")); // as unrelated calls do, leaves errno set
        errno = ENOENT;
        throw std::out_of_range("Índice fuera de rango");
    };
    connect(boton, &QPushButton::clicked, &ventana, Protegido(fallar));
    ventana.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ventana));
    if (protegido)
        QTest::mouseClick(boton, Qt::LeftButton);
    else
        QTimer::singleShot(0, &ventana, fallar);
    QTRY_COMPARE(Avisos_Prueba::Mostrados().size(), 1);
    QCOMPARE(Avisos_Prueba::Mostrados()[0].Texto, QStringLiteral("Se ha producido el siguiente error:\r\rÍndice fuera de rango"));
    QCOMPARE(log(), cabecera(QStringLiteral("08/12/2024 14:05")) + Codificar_1252(QStringLiteral("Índice fuera de rango\r\n")));
}

// The same failure again and again while its message is open (a handler that
// fires on a timer): one message, the repeats in the log only, and the first
// capture intact for its own entry and for whoever shows it.
void TstErrores::unMensajeCadaVez()
{
    Avisos_Prueba::Sin_Ventanas(false); // the real dialog, with its own event loop
    QTimer repetidor;
    repetidor.setInterval(5);
    int repeticiones = 0;
    connect(&repetidor, &QTimer::timeout, this, Protegido([&] {
        ++repeticiones;
        throw EInOutError(5, QStringLiteral("Datos/Ruedas.DAT"));
    }));
    int abiertos = 0;
    DialogosPrueba dialogos;
    dialogos.alAparecer(QString(), [&](QWidget *w) {
        repetidor.start();
        QTRY_VERIFY(repeticiones >= 3);
        for (QWidget *t : QApplication::topLevelWidgets())
            abiertos += t->isVisible() && t->isModal();
        repetidor.stop();
        DialogosPrueba::pulsarBoton(w, QStringLiteral("&Aceptar"));
    });
    Excepcion.Registrar_Error(EDBEngineError(9729, QStringLiteral("Clave duplicada en Marcas.DAT")),
                              QStringLiteral("Error al AÑADIR registro."));
    Excepcion.Mostrar_Error();
    QVERIFY2(dialogos.correcto(), qPrintable(dialogos.errores().join('\n')));
    QCOMPARE(abiertos, 1);
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
    QCOMPARE(Avisos_Prueba::Mostrados()[0].Texto,
             QStringLiteral("Error al AÑADIR registro.\r\rLa clave de este registro está duplicada"));
    // Still captured, as it was, for the caller that shows it and then clears it.
    QVERIFY(Excepcion.Hay_Error());
    QCOMPARE(Excepcion.Codigo_Error, 9729);
    QCOMPARE(Excepcion.Mensaje_Error, QStringLiteral("Clave duplicada en Marcas.DAT"));
    Excepcion.Borrar_Error();

    const QByteArray todo = log();
    QCOMPARE(todo.count("***** "), 1 + repeticiones);
    QCOMPARE(todo.count(Codificar_1252(QStringLiteral("Datos/Ruedas.DAT\r\nCódigo de Error: 5\r\n"))), repeticiones);
    // The first failure's entry comes last, once its message has closed.
    QVERIFY(todo.endsWith(Codificar_1252(QStringLiteral("Mensaje de usuario: Error al AÑADIR registro.\r\r\n"
                                                         "Clave duplicada en Marcas.DAT\r\nCódigo de Error: 9729\r\n"))));

    // Closed: the next failure has its own message again.
    QTimer::singleShot(0, this, Protegido([] { throw std::runtime_error("otra vez"); }));
    Avisos_Prueba::Sin_Ventanas(true);
    QTRY_COMPARE(Avisos_Prueba::Mostrados().size(), 2);
}

int main(int argc, char **argv)
{
    tAplicacion app(argc, argv);
    TstErrores t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_errores.moc"
