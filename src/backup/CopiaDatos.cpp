// Backup and restore of the data folder as plain functions. The file work is done
// with POSIX calls: a copy is only worth something once it is on the disk, so each
// one is pushed to the disk as it is written, synced, and read back before the next
// one; a backup reads it back from the device itself (its cached pages dropped),
// as a removable disk may lose what it acknowledged.
#include "CopiaDatos.h"

#include "Esquema.h"
#include "Formatos.h"
#include "Table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Large enough for the kernel to copy fast, small enough that the bar moves
// often on a slow removable disk.
constexpr qint64 Bloque = qint64(2) << 20;

// Files SQLite keeps beside a table; a table must never meet another table's.
const char *const Sufijos_Diario[] = {"-journal", "-wal", "-shm"};

// More failed files than this are summed up in one line.
constexpr int Maximo_Lineas = 15;

QByteArray nativo(const QString &ruta)
{
    return QFile::encodeName(ruta);
}

class tDescriptor
{
public:
    explicit tDescriptor(int fd) : m_fd(fd) {}
    ~tDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    tDescriptor(const tDescriptor &) = delete;
    tDescriptor &operator=(const tDescriptor &) = delete;

    int fd() const { return m_fd; }
    bool valido() const { return m_fd >= 0; }
    // 0, or the error of the close (a write-back failure can show up only here).
    int cerrar()
    {
        const int r = ::close(m_fd);
        m_fd = -1;
        return r == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

int abrir(const QString &ruta, int flags, mode_t modo = 0)
{
    int fd;
    do
        fd = ::open(nativo(ruta).constData(), flags | O_CLOEXEC, modo);
    while (fd < 0 && errno == EINTR);
    return fd;
}

bool existe_entrada(const QString &ruta)
{
    struct stat st;
    return ::lstat(nativo(ruta).constData(), &st) == 0;
}

// 0 or the error; a missing file counts as removed.
int borrar(const QString &ruta)
{
    if (::unlink(nativo(ruta).constData()) == 0 || errno == ENOENT)
        return 0;
    return errno;
}

int renombrar(const QString &de, const QString &a)
{
    return ::rename(nativo(de).constData(), nativo(a).constData()) == 0 ? 0 : errno;
}

// Makes the entries of a folder (new names, removed names) durable.
int sincronizar_carpeta(const QString &carpeta)
{
    tDescriptor d(abrir(carpeta, O_RDONLY | O_DIRECTORY));
    if (!d.valido())
        return errno;
    if (::fsync(d.fd()) != 0 && errno != EINVAL)
        return errno;
    return d.cerrar();
}

// Reads exactly `n` bytes at `pos` unless the file ends first: the bytes read, or -1.
qint64 leer_en(int fd, char *buf, qint64 n, qint64 pos)
{
    qint64 hecho = 0;
    while (hecho < n) {
        const ssize_t r = ::pread(fd, buf + hecho, size_t(n - hecho), off_t(pos + hecho));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return -1;
        if (r == 0)
            break;
        hecho += r;
    }
    return hecho;
}

bool escribir_en(int fd, const char *buf, qint64 n, qint64 pos)
{
    qint64 hecho = 0;
    while (hecho < n) {
        const ssize_t r = ::pwrite(fd, buf + hecho, size_t(n - hecho), off_t(pos + hecho));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return false;
        hecho += r;
    }
    return true;
}

struct tBuffers
{
    std::vector<char> a = std::vector<char>(std::size_t(Bloque));
    std::vector<char> b = std::vector<char>(std::size_t(Bloque));
};

// Copies `origen` onto `destino`, makes the copy durable and compares it, read back,
// with the original: from the device itself when `del_dispositivo` (a removable
// disk may lose or garble what it acknowledged), else as the file system holds it.
// An entry already at `destino` is removed first, so a link there is replaced
// rather than written through. Returns the reason of a failure, empty when the
// copy is good.
QString copiar_fichero(const QString &origen, const QString &destino, bool del_dispositivo, tBuffers &buf,
                       const std::function<void(double)> &parte)
{
    tDescriptor in(abrir(origen, O_RDONLY | O_NOFOLLOW));
    if (!in.valido())
        return Motivo_Error(errno, false);
    struct stat st;
    if (::fstat(in.fd(), &st) != 0)
        return Motivo_Error(errno, false);
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("no es un fichero normal");
    const qint64 tamano = st.st_size;

    if (const int err = borrar(destino))
        return Motivo_Error(err, true);
    tDescriptor out(abrir(destino, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0666));
    if (!out.valido())
        return Motivo_Error(errno, true);

    const QString cambiado = QStringLiteral("el original ha cambiado durante la copia");
    bool en_nucleo = true;
    qint64 hecho = 0, previo = 0, largo_previo = 0;
    while (hecho < tamano) {
        const qint64 pedir = std::min(Bloque, tamano - hecho);
        qint64 n;
        if (en_nucleo) {
            loff_t de = hecho, a = hecho;
            n = ::copy_file_range(in.fd(), &de, out.fd(), &a, size_t(pedir), 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP
                          || errno == EBADF || errno == ETXTBSY)) {
                en_nucleo = false; // not between these two file systems: through our buffer
                continue;
            }
            if (n < 0)
                return Motivo_Error(errno, true);
            if (n == 0) {
                en_nucleo = false; // some file systems say nothing more; the buffer tells for sure
                continue;
            }
        } else {
            n = leer_en(in.fd(), buf.a.data(), pedir, hecho);
            if (n < 0)
                return Motivo_Error(errno, false);
            if (n > 0 && !escribir_en(out.fd(), buf.a.data(), n, hecho))
                return Motivo_Error(errno, true);
        }
        if (n == 0)
            return cambiado;
        // Start writing this block to the device and wait for the one before: the
        // bar follows the device, and the final sync has little left to do.
        ::sync_file_range(out.fd(), off_t(hecho), off_t(n), SYNC_FILE_RANGE_WRITE);
        if (largo_previo > 0)
            ::sync_file_range(out.fd(), off_t(previo), off_t(largo_previo),
                              SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
        previo = hecho;
        largo_previo = n;
        hecho += n;
        parte(0.5 * double(hecho) / double(tamano));
    }
    if (::fdatasync(out.fd()) != 0)
        return Motivo_Error(errno, true);
    if (const int err = out.cerrar())
        return Motivo_Error(err, true);

    // Read back through the name: a copy that is not where it should be is no copy.
    tDescriptor leida(abrir(destino, O_RDONLY | O_NOFOLLOW));
    if (!leida.valido())
        return Motivo_Error(errno, true);
    struct stat sd;
    if (::fstat(leida.fd(), &sd) != 0)
        return Motivo_Error(errno, true);
    if (sd.st_size != tamano)
        return QStringLiteral("el tamaño de la copia no coincide con el del original");
    // The pages just written are clean now: dropping them makes the reads below
    // come from the device itself.
    if (del_dispositivo)
        ::posix_fadvise(leida.fd(), 0, 0, POSIX_FADV_DONTNEED);
    qint64 comparado = 0;
    while (comparado < tamano) {
        const qint64 n = std::min(Bloque, tamano - comparado);
        const qint64 na = leer_en(in.fd(), buf.a.data(), n, comparado);
        if (na < 0)
            return Motivo_Error(errno, false);
        if (na != n)
            return cambiado;
        const qint64 nb = leer_en(leida.fd(), buf.b.data(), n, comparado);
        if (nb < 0)
            return Motivo_Error(errno, true);
        if (nb != n)
            return QStringLiteral("el tamaño de la copia no coincide con el del original");
        if (std::memcmp(buf.a.data(), buf.b.data(), std::size_t(n)) != 0)
            return QStringLiteral("la copia leída del destino no coincide con el original");
        comparado += n;
        parte(0.5 + 0.5 * double(comparado) / double(tamano));
    }
    return QString();
}

// The table a journal-like file belongs to ("Ruedas.DAT" for "Ruedas.DAT-journal"),
// or empty for any other file.
QString tabla_del_diario(const QString &nombre)
{
    for (const char *s : Sufijos_Diario) {
        const QString sufijo = QString::fromLatin1(s);
        if (nombre.size() > sufijo.size() && nombre.endsWith(sufijo))
            return nombre.chopped(sufijo.size());
    }
    return QString();
}

QString lineas_fallos(const QList<tFallo> &fallos)
{
    QStringList l;
    for (int i = 0; i < fallos.size() && i < Maximo_Lineas; ++i)
        l << QStringLiteral("%1: %2").arg(fallos[i].Fichero, fallos[i].Motivo);
    if (fallos.size() > Maximo_Lineas)
        l << QStringLiteral("y %1 ficheros más").arg(fallos.size() - Maximo_Lineas);
    return l.join(QLatin1Char('\r'));
}

[[noreturn]] void fallo_guardar(const QString &destino, const QList<tFallo> &fallos)
{
    throw EFalloCopia(QStringLiteral("No se han podido guardar estos ficheros en %1:\r%2\r\rLa carpeta no contiene una "
                                     "copia de seguridad válida.")
                          .arg(destino, lineas_fallos(fallos)),
                      fallos);
}

[[noreturn]] void fallo_restaurar(const QList<tFallo> &fallos, const QString &cola = QString())
{
    throw EFalloCopia(QStringLiteral("No se ha restaurado la copia de seguridad:\r%1\r\r%2")
                          .arg(lineas_fallos(fallos),
                               cola.isEmpty() ? QStringLiteral("La carpeta de datos no se ha modificado.") : cola),
                      fallos);
}

void exigir_tablas_cerradas(const QString &datos)
{
    const QStringList abiertas = Tablas_Abiertas(datos);
    if (!abiertas.isEmpty())
        throw EFalloCopia(QStringLiteral("Estas tablas de la carpeta de datos siguen abiertas: %1. No se ha copiado "
                                         "nada.")
                              .arg(abiertas.join(QStringLiteral(", "))));
}

// A new folder for the restore's work, named after `prefijo`: beside the data
// folder when that is on the same volume (renames are then atomic), else, or when
// it cannot be made there, inside it, as a hidden folder that no backup takes.
std::unique_ptr<QTemporaryDir> carpeta_provisional(const QString &datos, const QString &prefijo)
{
    const QString padre = QFileInfo(datos).path();
    struct stat sd, sp;
    if (padre != datos && ::stat(nativo(datos).constData(), &sd) == 0 && ::stat(nativo(padre).constData(), &sp) == 0
        && sd.st_dev == sp.st_dev) {
        auto d = std::make_unique<QTemporaryDir>(Ruta_En(padre, prefijo + QStringLiteral("-XXXXXX")));
        if (d->isValid())
            return d;
    }
    auto d = std::make_unique<QTemporaryDir>(Ruta_En(datos, prefijo + QStringLiteral("-XXXXXX")));
    if (!d->isValid())
        throw EFalloCopia(QStringLiteral("No se ha podido crear una carpeta provisional junto a %1 (%2). La carpeta de "
                                         "datos no se ha modificado.")
                              .arg(datos, d->errorString()));
    return d;
}

// Puts the files `nombres` of `provisional` in place of those of `datos`. What is
// replaced, and the journals of the replaced tables, go first to a folder of their
// own and come back if any step fails, so the data folder ends either all new or
// as it was.
void reemplazar(const QString &provisional, const QString &datos, const QStringList &nombres)
{
    const std::unique_ptr<QTemporaryDir> carpeta = carpeta_provisional(datos, QStringLiteral(".Datos-anterior"));
    QTemporaryDir &anterior = *carpeta;
    anterior.setAutoRemove(false); // kept if the data folder cannot be put back

    const QSet<QString> nuevos(nombres.begin(), nombres.end());
    QStringList apartados, colocados;
    auto deshacer = [&] {
        bool bien = true;
        for (auto i = colocados.crbegin(); i != colocados.crend(); ++i)
            bien = renombrar(Ruta_En(datos, *i), Ruta_En(provisional, *i)) == 0 && bien;
        for (auto i = apartados.crbegin(); i != apartados.crend(); ++i)
            bien = renombrar(Ruta_En(anterior.path(), *i), Ruta_En(datos, *i)) == 0 && bien;
        return bien;
    };
    auto fracaso = [&](const QString &nombre, int err) {
        const QList<tFallo> fallos{{nombre, Motivo_Error(err, true)}};
        const bool vuelta = deshacer();
        sincronizar_carpeta(datos);
        if (!vuelta)
            fallo_restaurar(fallos, QStringLiteral("La carpeta de datos no se ha podido dejar como estaba: sus ficheros "
                                                   "anteriores están en %1.")
                                        .arg(anterior.path()));
        QDir(anterior.path()).removeRecursively();
        fallo_restaurar(fallos);
    };

    for (const QString &n : nombres) {
        QStringList apartar;
        if (tabla_del_diario(n).isEmpty())
            for (const char *s : Sufijos_Diario) {
                const QString diario = n + QString::fromLatin1(s);
                if (!nuevos.contains(diario) && existe_entrada(Ruta_En(datos, diario)))
                    apartar << diario;
            }
        // The journal goes before its table: the old table never meets a new journal
        // nor the new table an old one.
        if (existe_entrada(Ruta_En(datos, n)))
            apartar << n;
        for (const QString &a : apartar) {
            if (const int err = renombrar(Ruta_En(datos, a), Ruta_En(anterior.path(), a)))
                fracaso(a, err);
            apartados << a;
        }
        if (const int err = renombrar(Ruta_En(provisional, n), Ruta_En(datos, n)))
            fracaso(n, err);
        colocados << n;
    }
    sincronizar_carpeta(datos);
    QDir(anterior.path()).removeRecursively();
}

} // namespace

EFalloCopia::EFalloCopia(const QString &mensaje, QList<tFallo> fallos)
    : EInOutError(0, mensaje), m_fallos(std::move(fallos))
{
}

QString Motivo_Error(int err, bool escribiendo)
{
    switch (err) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("no queda espacio libre en el disco");
    case EACCES:
    case EPERM:
        return QStringLiteral("permiso denegado");
    case EROFS:
        return QStringLiteral("el disco es de solo lectura");
    case ENOENT:
    case ENOTDIR:
        return escribiendo ? QStringLiteral("la carpeta de destino ya no existe")
                           : QStringLiteral("el fichero original ya no existe");
    case EIO:
    case ENODEV:
    case ENXIO:
    case ENOMEDIUM:
    case ESTALE:
    case ENOTCONN:
    case ESHUTDOWN:
        return escribiendo ? QStringLiteral("el dispositivo de destino no responde o se ha retirado")
                           : QStringLiteral("el dispositivo de origen no responde o se ha retirado");
    case ELOOP:
        return QStringLiteral("es un enlace simbólico");
    case EISDIR:
        return QStringLiteral("hay una carpeta con ese nombre");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("hay demasiados ficheros abiertos");
    case ENOMEM:
        return QStringLiteral("no hay memoria suficiente");
    default:
        return QStringLiteral("error del sistema número %1").arg(err);
    }
}

QList<tFichero> Ficheros_Carpeta(const QString &carpeta)
{
    QList<tFichero> r;
    // Without QDir::Hidden names beginning with "." are left out; without
    // QDir::System so are pipes, sockets and devices.
    const QFileInfoList lista = QDir(carpeta).entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo &fi : lista)
        r.append({fi.fileName(), fi.size()});
    return r;
}

QList<tFichero> Ficheros_Copia(const QString &datos)
{
    QList<tFichero> r = Ficheros_Carpeta(datos);
    r.erase(std::remove_if(r.begin(), r.end(), [](const tFichero &f) { return f.Nombre == Nombre_Sello; }), r.end());
    return r;
}

qint64 Tamano_Total(const QList<tFichero> &ficheros)
{
    qint64 t = 0;
    for (const tFichero &f : ficheros)
        t += f.Tamano;
    return t;
}

QString Normalizar_Carpeta(const QString &texto, const QString &base)
{
    const QString t = texto.trimmed();
    if (t.isEmpty())
        return QString();
    const QDir b(base.isEmpty() ? QDir::currentPath() : base);
    return QDir::cleanPath(b.absoluteFilePath(t));
}

QString Ruta_En(const QString &carpeta, const QString &nombre)
{
    return carpeta.endsWith(QLatin1Char('/')) ? carpeta + nombre : carpeta + QLatin1Char('/') + nombre;
}

bool Misma_Carpeta(const QString &a, const QString &b)
{
    struct stat sa, sb;
    if (::stat(nativo(a).constData(), &sa) == 0 && ::stat(nativo(b).constData(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino; // bind mounts and links included
    return QDir::cleanPath(QDir(a).absolutePath()) == QDir::cleanPath(QDir(b).absolutePath());
}

qint64 Bytes_Libres(const QString &carpeta)
{
    const QStorageInfo v(carpeta);
    if (!v.isValid() || !v.isReady())
        return -1;
    return v.bytesAvailable();
}

QStringList Unidades(const QList<tVolumen> &montados)
{
    auto bajo = [](const QString &raiz, const QString &prefijo) {
        return raiz == prefijo || raiz.startsWith(prefijo + QLatin1Char('/'));
    };
    QStringList r;
    for (const tVolumen &v : montados) {
        if (v.Solo_Lectura || !v.Preparado)
            continue;
        const QString &raiz = v.Raiz;
        if (raiz == QLatin1String("/") || bajo(raiz, QStringLiteral("/media")) || bajo(raiz, QStringLiteral("/run/media"))
            || bajo(raiz, QStringLiteral("/mnt")) || bajo(raiz, QStringLiteral("/home")))
            if (!r.contains(raiz))
                r << raiz;
    }
    std::sort(r.begin(), r.end(), [](const QString &x, const QString &y) {
        if (x == QLatin1String("/") || y == QLatin1String("/"))
            return x == QLatin1String("/") && y != x;
        return x < y;
    });
    return r;
}

QStringList Unidades()
{
    QList<tVolumen> montados;
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes())
        if (v.isValid())
            montados.append({v.rootPath(), v.isReadOnly(), v.isReady()});
    return Unidades(montados);
}

QByteArray Contenido_Sello(const QDate &fecha)
{
    return Formatos::Formatear_Fecha(fecha).toLatin1() + "\r\n";
}

bool Existe_Sello(const QString &carpeta)
{
    return existe_entrada(Ruta_En(carpeta, Nombre_Sello));
}

QString Leer_Sello(const QString &carpeta)
{
    const QString ruta = Ruta_En(carpeta, Nombre_Sello);
    auto fallo = [&](const QString &motivo) {
        return EFalloCopia(QStringLiteral("No se puede leer el fichero %1: %2.").arg(ruta, motivo),
                           {{Nombre_Sello, motivo}});
    };
    // Non-blocking, so that a pipe of that name cannot hold the program.
    tDescriptor d(abrir(ruta, O_RDONLY | O_NONBLOCK));
    if (!d.valido())
        throw fallo(errno == ENOENT ? QStringLiteral("no se encuentra (un enlace roto)") : Motivo_Error(errno, false));
    struct stat st;
    if (::fstat(d.fd(), &st) != 0)
        throw fallo(Motivo_Error(errno, false));
    if (!S_ISREG(st.st_mode))
        throw fallo(S_ISDIR(st.st_mode) ? QStringLiteral("es una carpeta") : QStringLiteral("no es un fichero normal"));
    // One line is all there is to read; a longer one is cut.
    char buf[256];
    const qint64 n = leer_en(d.fd(), buf, sizeof buf, 0);
    if (n < 0)
        throw fallo(Motivo_Error(errno, false));
    int fin = 0;
    while (fin < n && buf[fin] != '\r' && buf[fin] != '\n')
        ++fin;
    return QString::fromLatin1(buf, fin);
}

void Escribir_Sello(const QString &carpeta, const QDate &fecha)
{
    const QString ruta = Ruta_En(carpeta, Nombre_Sello);
    // Written aside under a hidden name and renamed: the stamp is whole or absent.
    const QString temporal = Ruta_En(carpeta, QStringLiteral(".") + Nombre_Sello + QStringLiteral(".nuevo"));
    auto fallo = [&](int err) {
        borrar(temporal);
        const QString motivo = Motivo_Error(err, true);
        return EFalloCopia(QStringLiteral("No se ha podido escribir el fichero %1: %2.").arg(ruta, motivo),
                           {{Nombre_Sello, motivo}});
    };
    if (const int err = borrar(temporal))
        throw fallo(err);
    tDescriptor d(abrir(temporal, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0666));
    if (!d.valido())
        throw fallo(errno);
    const QByteArray contenido = Contenido_Sello(fecha);
    if (!escribir_en(d.fd(), contenido.constData(), contenido.size(), 0) || ::fdatasync(d.fd()) != 0)
        throw fallo(errno);
    if (const int err = d.cerrar())
        throw fallo(err);
    if (const int err = renombrar(temporal, ruta))
        throw fallo(err);
    if (const int err = sincronizar_carpeta(carpeta)) {
        borrar(ruta); // not known to be on the disk: no stamp rather than a doubtful one
        throw fallo(err);
    }
}

QStringList Tablas_Abiertas(const QString &carpeta)
{
    return TDatabase::openFilesIn(carpeta);
}

int Guardar_Copia(const QString &datos, const QString &destino, const QDate &fecha, const tProgreso &progreso)
{
    if (Misma_Carpeta(datos, destino))
        throw EFalloCopia(QStringLiteral("La carpeta de destino es la propia carpeta de datos. No se ha copiado nada."));
    exigir_tablas_cerradas(datos);
    if (!QFileInfo(destino).isDir())
        throw EFalloCopia(QStringLiteral("La carpeta de destino %1 no existe. No se ha copiado nada.").arg(destino));

    // From here until the new stamp the folder is not taken for a backup.
    if (const int err = borrar(Ruta_En(destino, Nombre_Sello)))
        fallo_guardar(destino, {{Nombre_Sello, QStringLiteral("no se ha podido quitar el de la copia anterior: %1")
                                                   .arg(Motivo_Error(err, true))}});

    const QList<tFichero> ficheros = Ficheros_Copia(datos);
    QSet<QString> nombres;
    for (const tFichero &f : ficheros)
        nombres.insert(f.Nombre);

    tBuffers buf;
    QList<tFallo> fallos;
    int copiados = 0;
    for (int i = 0; i < ficheros.size(); ++i) {
        const QString &n = ficheros[i].Nombre;
        const QString motivo = copiar_fichero(Ruta_En(datos, n), Ruta_En(destino, n), true, buf, [&](double p) {
            if (progreso)
                progreso(i, p);
        });
        if (motivo.isEmpty())
            ++copiados;
        else
            fallos.append({n, motivo});
        // A journal the destination kept from an earlier backup would be applied
        // to this table when it is restored.
        if (tabla_del_diario(n).isEmpty())
            for (const char *s : Sufijos_Diario) {
                const QString diario = n + QString::fromLatin1(s);
                if (nombres.contains(diario))
                    continue;
                if (const int err = borrar(Ruta_En(destino, diario)))
                    fallos.append({diario, QStringLiteral("no se ha podido borrar el de una copia anterior: %1")
                                               .arg(Motivo_Error(err, true))});
            }
        if (progreso)
            progreso(i + 1, 0);
    }
    if (fallos.isEmpty())
        if (const int err = sincronizar_carpeta(destino))
            fallos.append({destino, Motivo_Error(err, true)});
    if (!fallos.isEmpty())
        fallo_guardar(destino, fallos);
    try {
        Escribir_Sello(destino, fecha);
    } catch (const EFalloCopia &e) {
        fallo_guardar(destino, e.Fallos());
    }
    return copiados;
}

int Restaurar_Copia(const QString &origen, const QString &datos, const tProgreso &progreso)
{
    if (Misma_Carpeta(origen, datos))
        throw EFalloCopia(QStringLiteral("La carpeta de la copia es la propia carpeta de datos. No se ha restaurado nada."));
    exigir_tablas_cerradas(datos);
    if (!QFileInfo(origen).isDir())
        throw EFalloCopia(QStringLiteral("La carpeta %1 no existe. No se ha restaurado nada.").arg(origen));
    const QString real = QFileInfo(datos).canonicalFilePath();
    if (real.isEmpty() || !QFileInfo(real).isDir())
        throw EFalloCopia(QStringLiteral("La carpeta de datos %1 no existe. No se ha restaurado nada.").arg(datos));

    const QList<tFichero> ficheros = Ficheros_Carpeta(origen);
    QSet<QString> nombres;
    for (const tFichero &f : ficheros)
        nombres.insert(f.Nombre);

    const std::unique_ptr<QTemporaryDir> carpeta = carpeta_provisional(real, QStringLiteral(".Datos-restaurar"));
    const QTemporaryDir &provisional = *carpeta;

    tBuffers buf;
    QList<tFallo> fallos;
    QStringList tomados;
    for (int i = 0; i < ficheros.size(); ++i) {
        const QString &n = ficheros[i].Nombre;
        const QString tabla = tabla_del_diario(n);
        // A journal whose table the backup lacks would be applied to the data folder's own table.
        if (tabla.isEmpty() || nombres.contains(tabla)) {
            const QString motivo = copiar_fichero(Ruta_En(origen, n), Ruta_En(provisional.path(), n), false, buf,
                                                  [&](double p) {
                                                      if (progreso)
                                                          progreso(i, p);
                                                  });
            if (motivo.isEmpty())
                tomados << n;
            else
                fallos.append({n, motivo});
        }
        if (progreso)
            progreso(i + 1, 0);
    }
    if (!fallos.isEmpty())
        fallo_restaurar(fallos);

    // Each of the program's tables must open before it replaces a live one. Opening
    // also settles a journal that came with it, which is then of no further use. A
    // table of an older format is brought up to date as the start-up check does, so
    // that the data module can open it again.
    for (const QString &n : QStringList(tomados)) {
        if (!Definicion_Tabla(n))
            continue;
        try {
            const QString ruta = Ruta_En(provisional.path(), n);
            if (QString::compare(TableStore::tableVersion(ruta), QStringLiteral("3.00"), Qt::CaseSensitive) < 0)
                TableStore::upgradeTable(ruta);
        } catch (const ECodedError &e) {
            fallos.append({n, QStringLiteral("no se puede abrir como tabla del programa (%1)").arg(e.message())});
            continue;
        }
        for (const char *s : Sufijos_Diario) {
            const QString diario = n + QString::fromLatin1(s);
            if (!tomados.contains(diario))
                continue;
            if (const int err = borrar(Ruta_En(provisional.path(), diario)))
                fallos.append({diario, Motivo_Error(err, true)});
            else
                tomados.removeAll(diario);
        }
    }
    if (!fallos.isEmpty())
        fallo_restaurar(fallos);
    if (const int err = sincronizar_carpeta(provisional.path()))
        fallo_restaurar({{provisional.path(), Motivo_Error(err, true)}});

    reemplazar(provisional.path(), real, tomados);
    return int(tomados.size());
}

int Porcentaje_Progreso(double hechos, int total)
{
    if (total <= 0)
        return 0;
    // nearbyint rounds halves to even in the default rounding mode.
    const double v = std::nearbyint(hechos * 100.0 / total);
    return int(std::clamp(v, 0.0, 100.0));
}
