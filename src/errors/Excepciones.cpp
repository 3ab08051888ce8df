// The error handler, its two code tables and the error log.
#include "Excepciones.h"

#include "Avisos.h"
#include "Protegido.h"
#include "StoreErrors.h"
#include "Ubicaciones.h"
#include "UtilSistema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QTimer>

#include <new>
#include <system_error>

tExcepcion Excepcion;

namespace {

std::function<void(std::exception_ptr)> g_manejadorCentral;

// The unit configures its handler as it starts, before the program body runs.
const bool g_configurada = (Excepcion.Configurar_Excepciones(true), true);

const QString Cabecera_Generica = QStringLiteral("Se ha producido el siguiente error:\r\r");

const QHash<int, QString> &tablaSistema()
{
    static const QHash<int, QString> t{
        {2, QStringLiteral("Fichero no encontrado")},
        {3, QStringLiteral("Camino no encontrado")},
        {4, QStringLiteral("Demasiados ficheros abiertos")},
        {5, QStringLiteral("Acceso denegado")},
        {8, QStringLiteral("No hay suficiente memoria")},
        {14, QStringLiteral("Se ha agotado la memoria")},
        {19, QStringLiteral("Disquete protegido contra escritura")},
        {21, QStringLiteral("Dispositivo no preparado")},
        {32, QStringLiteral("Fichero usado por otro programa")},
        {33, QStringLiteral("Fichero bloqueado por otro programa")},
        {39, QStringLiteral("El disco está lleno")},
        {80, QStringLiteral("El fichero ya existe")},
        {82, QStringLiteral("El fichero no se puede crear")},
        {112, QStringLiteral("El disco está lleno")},
        {161, QStringLiteral("Camino incorrecto")},
        {183, QStringLiteral("El fichero ya existe")},
        {267, QStringLiteral("Nombre de directorio incorrecto")},
    };
    return t;
}

const QHash<int, QString> &tablaMotor()
{
    static const QHash<int, QString> t{
        {8708, QStringLiteral("El registro al que intenta acceder ha sido borrado")},
        {8710, QStringLiteral("Registro no encontrado")},
        {9217, QStringLiteral("Se ha producido un error de lectura")},
        {9218, QStringLiteral("Se ha producido un error de escritura")},
        {9220, QStringLiteral("No se ha podido borrar el registro")},
        {9729, QStringLiteral("La clave de este registro está duplicada")},
        {10241, QStringLiteral("Este registro está siendo modificado por otro usuario")},
        {10258, QStringLiteral("Este registro está siendo modificado por otro usuario")},
        {11013, QStringLiteral("No se ha podido abrir la base de datos al estar abierta por otro usuario.")},
        {11276, QStringLiteral("Se ha perdido la conexión con el servidor.")},
        {11280, QStringLiteral("No se ha podido completar la conexión con el servidor debido a una de estas "
                               "causas:\r\rEl servidor no está funcionando.\rEl servidor está inactivo.\rEl "
                               "servidor no acepta nuevas conexiones.\rDirección IP o puerto de conexión "
                               "incorrectos.\rNombre de usuario o clave de acceso incorrectos.")},
        {11281, QStringLiteral("El servidor no acepta actualmente nuevas conexiones.\r\rConsulte con el "
                               "administrador del sistema.")},
        {11282, QStringLiteral("No se puede conectar con el servidor debido a que se ha alcanzado el número "
                               "máximo de conexiones simultáneas permitidas.")},
        {11283, QStringLiteral("No está permitida la conexión al servidor desde este ordenador.")},
        {11287, QStringLiteral("No se ha podido completar la conexión con el servidor debido a que el nombre "
                               "de usuario o la palabra de acceso son incorrectos.")},
        {11288, QStringLiteral("No está autorizado a realizar la acción que ha intentado.\r\rPóngase en "
                               "contacto con el administrador del sistema si desea poder realizar dicha acción "
                               "en el futuro.")},
        {11289, QStringLiteral("El usuario seleccionado no está autorizado a conectar con el servidor por el "
                               "puerto de administración.")},
        {11299, QStringLiteral("Se ha realizado una petición inválida al servidor.")},
    };
    return t;
}

// What the 0x80..0x9F bytes of Windows-1252 hold (0: unassigned).
constexpr char16_t Tabla_80_9F[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char byte1252(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (int i = 0; i < 32; ++i)
        if (Tabla_80_9F[i] && Tabla_80_9F[i] == c)
            return char(0x80 + i);
    return '?';
}

// The system code an exception carries: its own for input/output and system
// errors, and a lack of memory's; 0 for every other kind. errno is never read
// here: unrelated library calls leave it set, and a plain exception would show
// their "file not found" instead of its own message.
int codigoSistema(const std::exception &E)
{
    if (auto io = dynamic_cast<const EInOutError *>(&E))
        return io->code();
    if (auto se = dynamic_cast<const std::system_error *>(&E)) {
        const auto &cat = se->code().category();
        if (cat == std::generic_category() || cat == std::system_category())
            return EInOutError::windowsCodeFromErrno(se->code().value());
        return 0;
    }
    if (dynamic_cast<const std::bad_alloc *>(&E))
        return 8; // "No hay suficiente memoria"
    return 0;
}

QString mensajeDe(const std::exception &E)
{
    if (auto c = dynamic_cast<const ECodedError *>(&E))
        return c->message();
    return QString::fromUtf8(E.what());
}

void registrar(tExcepcion &ex, const std::exception *E, const QString &contexto)
{
    if (auto motor = dynamic_cast<const EDBEngineError *>(E)) {
        ex.Origen_Error = 2;
        ex.Codigo_Error = motor->errorCode();
    } else {
        ex.Origen_Error = 1;
        ex.Codigo_Error = E ? codigoSistema(*E) : 0;
    }
    ex.Mensaje_Usuario = contexto;
    ex.Mensaje_Error = E ? mensajeDe(*E) : QStringLiteral("Excepción desconocida");
}

bool preguntarReintento()
{
    return QMessageBox::question(nullptr, QStringLiteral("Grabar mensaje de error"),
                                 QStringLiteral("No podemos grabar el mensaje de error.?¿Desea volver a intentarlo?"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        == QMessageBox::Yes;
}

} // namespace

// ---- pieces of the log ---------------------------------------------------------

QString Texto_Error_Sistema(int codigo)
{
    return tablaSistema().value(codigo);
}

QString Texto_Error_Motor(int codigo)
{
    return tablaMotor().value(codigo);
}

QString Nombre_Log(const QString &ejecutable)
{
    QString base = QFileInfo(ejecutable).completeBaseName();
    if (base.isEmpty())
        base = QFileInfo(ejecutable).fileName();
    if (base.isEmpty())
        base = QStringLiteral("quelvaro");
    return Capitalizar(Minusculas(base + QStringLiteral("_Errores.txt")));
}

QString Texto_Fecha_Hora(const QDateTime &momento)
{
    const QString fecha = momento.date().toString(QStringLiteral("dd/MM/yyyy"));
    if (momento.time() == QTime(0, 0))
        return fecha;
    return fecha + QLatin1Char(' ') + momento.time().toString(QStringLiteral("HH:mm"));
}

QByteArray Codificar_1252(const QString &texto)
{
    QByteArray r;
    r.reserve(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (c.isHighSurrogate() && i + 1 < texto.size() && texto.at(i + 1).isLowSurrogate())
            ++i; // one character, one "?"
        r.append(byte1252(c.unicode()));
    }
    return r;
}

// ---- the handler -----------------------------------------------------------------

void tExcepcion::Registrar_Error(const std::exception &E, const QString &Mensaje_Usuario)
{
    registrar(*this, &E, Mensaje_Usuario);
}

void tExcepcion::Registrar_Error(std::exception_ptr E, const QString &Mensaje_Usuario)
{
    if (!E) {
        registrar(*this, nullptr, Mensaje_Usuario);
        return;
    }
    try {
        std::rethrow_exception(E);
    } catch (const std::exception &e) {
        registrar(*this, &e, Mensaje_Usuario);
    } catch (...) {
        registrar(*this, nullptr, Mensaje_Usuario);
    }
}

QString tExcepcion::Texto_Error() const
{
    const QString cabecera = Mensaje_Usuario.isEmpty() ? Cabecera_Generica
                                                        : Mensaje_Usuario + QStringLiteral("\r\r");
    QString texto;
    if (Origen_Error == 1) {
        texto = Texto_Error_Sistema(Codigo_Error);
        if (texto.isEmpty())
            texto = cabecera + Mensaje_Error;
    } else if (Origen_Error == 2) {
        QString detalle = Texto_Error_Motor(Codigo_Error);
        if (detalle.isEmpty())
            detalle = QStringLiteral("%1\r\r con el código de error número %2").arg(Mensaje_Error).arg(Codigo_Error);
        texto = cabecera + detalle;
    } else {
        return QString();
    }
    if (!m_nota.isEmpty())
        texto += QStringLiteral("\r\r") + m_nota;
    return texto;
}

void tExcepcion::Mostrar_Error()
{
    if (!Hay_Error())
        return;
    const QString textoLog = Mensaje_Usuario.isEmpty() ? QString() : Mensaje_Usuario + QLatin1Char('\r');
    if (m_mostrando) {
        // A failure while an error message is open (most often the same one, from
        // a handler that fires again meanwhile): one message at a time, and this
        // one goes to the log only, without questions that would stack windows too.
        if (Grabar_Log)
            grabarSinPreguntar(textoLog);
        return;
    }
    const QString texto = Texto_Error();
    if (!m_mostrado->isEmpty() && texto == *m_mostrado) {
        // The same failure again before the event loop turned: one user action
        // that several handlers saw fail (a move read by the grid and by the
        // caption). The user is told once; the log keeps each.
        if (Grabar_Log)
            grabarSinPreguntar(textoLog);
        return;
    }
    const QScopedValueRollback<bool> abierto(m_mostrando, true);
    // A failure handled while the message is open overwrites the capture: what
    // this one logs, and leaves captured, is kept aside.
    const quint8 origen = Origen_Error;
    const qint32 codigo = Codigo_Error;
    const QString usuario = Mensaje_Usuario, error = Mensaje_Error;
    // The message goes first, so that a log problem never hides it.
    Aviso(QStringLiteral("Error"), texto, avError);
    if (QCoreApplication::instance()) {
        *m_mostrado = texto;
        // Held weakly: the timer may outlive a handler object that goes first.
        QTimer::singleShot(0, QCoreApplication::instance(), [visto = std::weak_ptr<QString>(m_mostrado)] {
            if (const auto m = visto.lock())
                m->clear();
        });
    }
    Origen_Error = origen;
    Codigo_Error = codigo;
    Mensaje_Usuario = usuario;
    Mensaje_Error = error;
    if (Grabar_Log)
        Grabar_Error(textoLog);
}

void tExcepcion::Tratar_Error(const std::exception &E, const QString &Mensaje_Usuario)
{
    Registrar_Error(E, Mensaje_Usuario);
    Mostrar_Error();
    Borrar_Error();
}

void tExcepcion::Tratar_Error(std::exception_ptr E, const QString &Mensaje_Usuario)
{
    Registrar_Error(E, Mensaje_Usuario);
    Mostrar_Error();
    Borrar_Error();
}

void tExcepcion::Tratar_Error(std::exception_ptr E, const QString &Mensaje_Usuario, const QString &Nota)
{
    Registrar_Error(E, Mensaje_Usuario);
    const QScopedValueRollback<QString> nota(m_nota, Nota);
    Mostrar_Error();
    Borrar_Error();
}

QString tExcepcion::Ruta_Log() const
{
    const QString ejecutable = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
    QString carpeta = m_carpetaLog;
    if (carpeta.isEmpty())
        carpeta = ejecutable.isEmpty() ? QDir::currentPath() : Ubicaciones().Carpeta_Log;
    return QDir(carpeta).filePath(Nombre_Log(ejecutable));
}

bool tExcepcion::escribirEntrada(const QString &Texto) const
{
    const QDateTime ahora = m_reloj ? m_reloj() : QDateTime::currentDateTime();
    QString entrada = QStringLiteral("***** %1   Pc: %2, Usuario: %3\r\n")
                          .arg(Texto_Fecha_Hora(ahora), Nombre_Ordenador(), Nombre_Usuario());
    if (!Texto.isEmpty())
        entrada += QStringLiteral("Mensaje de usuario: ") + Texto + QStringLiteral("\r\n");
    entrada += Mensaje_Error + QStringLiteral("\r\n");
    if (Codigo_Error != 0)
        entrada += QStringLiteral("Código de Error: %1\r\n").arg(Codigo_Error);
    const QByteArray bytes = Codificar_1252(entrada);

    QFile f(Ruta_Log());
    // The user's data folder may not exist yet when the first error comes.
    QDir().mkpath(QFileInfo(f.fileName()).absolutePath());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const bool escrito = f.write(bytes) == bytes.size() && f.flush();
    f.close();
    return escrito && f.error() == QFileDevice::NoError;
}

void tExcepcion::Grabar_Error(const QString &Texto)
{
    try {
        for (int intento = 1;; ++intento) {
            if (escribirEntrada(Texto) || intento >= 3)
                return;
            if (!(m_preguntaReintento ? m_preguntaReintento() : preguntarReintento()))
                return;
        }
    } catch (...) {
        // Writing the log never lets an error out.
    }
}

void tExcepcion::grabarSinPreguntar(const QString &Texto) noexcept
{
    try {
        for (int intento = 1; intento <= 3; ++intento)
            if (escribirEntrada(Texto))
                return;
    } catch (...) {
    }
}

void tExcepcion::Configurar_Excepciones(bool Grabar_Log_)
{
    Grabar_Log = Grabar_Log_;
    g_manejadorCentral = [this](std::exception_ptr e) { Tratar_Error(e, QString()); };
    // Failures that the toolkit's handlers catch where they run come here too.
    Establecer_Manejador_Fallos(&Manejar_Excepcion_Central);
}

void Manejar_Excepcion_Central(std::exception_ptr E) noexcept
{
    try {
        if (g_manejadorCentral)
            g_manejadorCentral(E);
    } catch (...) {
        // The handler itself failed (out of memory...): nothing more can be shown.
    }
}
