// Mounts and file flags for the backup tests, made and undone with system calls.
#include "Volumenes.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {
QString porque(const char *que, int err)
{
    return QStringLiteral("%1 no es posible en esta máquina (%2)").arg(QLatin1String(que), QString::fromLocal8Bit(std::strerror(err)));
}
}

tDiscoPequeno::tDiscoPequeno(qint64 bytes)
{
    if (!m_dir.isValid()) {
        m_motivo = QStringLiteral("no se pudo crear la carpeta temporal");
        return;
    }
    const QByteArray opciones = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                opciones.constData())
        != 0) {
        m_motivo = porque("montar un tmpfs", errno);
        return;
    }
    m_montado = true;
}

tDiscoPequeno::~tDiscoPequeno()
{
    if (m_montado)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

tSoloLectura::tSoloLectura(const QString &carpeta) : m_carpeta(carpeta)
{
    const QByteArray c = QFile::encodeName(carpeta);
    if (::mount(c.constData(), c.constData(), nullptr, MS_BIND, nullptr) != 0) {
        m_motivo = porque("montar una carpeta sobre sí misma", errno);
        return;
    }
    m_montado = true;
    if (::mount(nullptr, c.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
        m_motivo = porque("montar una carpeta de solo lectura", errno);
        ::umount2(c.constData(), MNT_DETACH);
        m_montado = false;
    }
}

tSoloLectura::~tSoloLectura()
{
    if (m_montado)
        ::umount2(QFile::encodeName(m_carpeta).constData(), MNT_DETACH);
}

tInmutable::tInmutable(const QString &ruta) : m_ruta(ruta)
{
    m_puesto = cambiar(true);
}

tInmutable::~tInmutable()
{
    if (m_puesto)
        cambiar(false);
}

bool tInmutable::cambiar(bool poner)
{
    const int fd = ::open(QFile::encodeName(m_ruta).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_motivo = porque("abrir el fichero para marcarlo", errno);
        return false;
    }
    int marcas = 0;
    bool bien = ::ioctl(fd, FS_IOC_GETFLAGS, &marcas) == 0;
    if (bien) {
        marcas = poner ? (marcas | FS_IMMUTABLE_FL) : (marcas & ~FS_IMMUTABLE_FL);
        bien = ::ioctl(fd, FS_IOC_SETFLAGS, &marcas) == 0;
    }
    if (!bien)
        m_motivo = porque("marcar un fichero como inmutable", errno);
    ::close(fd);
    return bien;
}

QMap<QString, QByteArray> Foto(const QString &carpeta)
{
    QMap<QString, QByteArray> r;
    const QFileInfoList l =
        QDir(carpeta).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &fi : l) {
        QFile f(fi.filePath());
        r.insert(fi.fileName(), fi.isDir()                      ? QByteArray("<carpeta>")
                                : f.open(QIODevice::ReadOnly) ? f.readAll()
                                                              : QByteArray("<ilegible>"));
    }
    return r;
}
