// Single-instance guard. On Linux a System V segment outlives a crashed owner, so the block
// alone cannot tell a running first instance from a dead one: a lock file held for the whole
// run decides who is first, and a leftover segment is cleared when the lock was free.
#include "SharedMem.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QByteArray Peticion_Activar = "ACTIVAR\n";
const QByteArray Respuesta_Activada = "OK\n";
const int Espera_Canal_ms = 3000;

// A folder is usable only when it is ours and nobody else can write or list it.
bool Carpeta_Privada(const QString &Camino)
{
    struct stat st;
    if (::lstat(QFile::encodeName(Camino).constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}
} // namespace

QString tSharedMem::Carpeta_Sesion()
{
    const QString Xdg = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (!Xdg.isEmpty() && Carpeta_Privada(Xdg))
        return QDir::cleanPath(Xdg);
    const QString Camino = QDir::tempPath() + QStringLiteral("/quelvaro-") + QString::number(::getuid());
    ::mkdir(QFile::encodeName(Camino).constData(), 0700);
    return Carpeta_Privada(Camino) ? Camino : QString();
}

tSharedMem::tSharedMem(const QString &Nombre, quint32 Handle, QObject *parent)
    : QObject(parent), fNombre(Nombre), fCarpeta(Carpeta_Sesion())
{
    enum class Puesto { Primero, Segundo, Desconocido } puesto = Puesto::Desconocido;
    if (!fCarpeta.isEmpty()) {
        fCerrojo = std::make_unique<QLockFile>(fCarpeta + QLatin1Char('/') + Nombre + QStringLiteral(".lock"));
        // Never stale by age: a long run keeps its lock; a dead owner's lock is taken over.
        fCerrojo->setStaleLockTime(0);
        if (fCerrojo->tryLock(0))
            puesto = Puesto::Primero;
        else if (fCerrojo->error() == QLockFile::LockFailedError)
            puesto = Puesto::Segundo;
        else
            fCerrojo.reset();
    }
    fBloque.setNativeKey(fCarpeta.isEmpty() ? QDir::tempPath() + QLatin1Char('/') + Nombre
                                            : fCarpeta + QLatin1Char('/') + Nombre);

    if (puesto == Puesto::Segundo) {
        fYaEjecutandose = true;
        fMapeada = fBloque.attach();
        return;
    }
    if (puesto == Puesto::Primero && fBloque.attach()) {
        // Left by a run that crashed: drop its socket file, and the last detach removes the block.
        quint32 Anterior = 0;
        std::memcpy(&Anterior, fBloque.constData(), 4);
        if (Anterior != 0)
            QLocalServer::removeServer(Nombre_Canal(Anterior));
        fBloque.detach();
    }

    if (fBloque.create(4)) {
        fMapeada = true;
        std::memset(fBloque.data(), 0, 4);
        // Publish the handle only once the channel it names is listening.
        if (Handle != 0 && Escuchar(Handle))
            std::memcpy(fBloque.data(), &Handle, 4);
    } else if (puesto == Puesto::Primero) {
        // The lock proves nobody else runs: go on without a stored handle, as when the
        // block cannot be mapped; a later start then activates nothing.
    } else {
        fYaEjecutandose = true;
        if (fBloque.error() == QSharedMemory::AlreadyExists)
            fMapeada = fBloque.attach();
    }
}

tSharedMem::~tSharedMem()
{
    if (fServidor)
        fServidor->close(); // removes the socket file
    if (fBloque.isAttached())
        fBloque.detach();
    if (fCerrojo)
        fCerrojo->unlock();
}

quint32 tSharedMem::Handle_Guardado() const
{
    quint32 Valor = 0;
    if (fMapeada && fBloque.isAttached())
        std::memcpy(&Valor, fBloque.constData(), 4);
    return Valor;
}

QString tSharedMem::Nombre_Canal(quint32 Handle) const
{
    const QString Base = fCarpeta.isEmpty() ? QString() : fCarpeta + QLatin1Char('/');
    return Base + fNombre + QLatin1Char('-') + QString::number(Handle);
}

bool tSharedMem::Escuchar(quint32 Handle)
{
    const QString Canal = Nombre_Canal(Handle);
    {
        // A socket file that outlived a crash makes listen() fail; remove it only when
        // nobody answers on it.
        QLocalSocket Sonda;
        Sonda.connectToServer(Canal);
        if (Sonda.waitForConnected(200))
            return false;
        QLocalServer::removeServer(Canal);
    }
    fServidor = new QLocalServer(this);
    fServidor->setSocketOptions(QLocalServer::UserAccessOption);
    if (!fServidor->listen(Canal)) {
        delete fServidor;
        fServidor = nullptr;
        return false;
    }
    connect(fServidor, &QLocalServer::newConnection, this, &tSharedMem::Atender_Conexion);
    return true;
}

void tSharedMem::Atender_Conexion()
{
    while (QLocalSocket *Cliente = fServidor->nextPendingConnection()) {
        connect(Cliente, &QLocalSocket::disconnected, Cliente, &QObject::deleteLater);
        connect(Cliente, &QLocalSocket::readyRead, this, [this, Cliente] {
            if (!Cliente->canReadLine()) {
                if (Cliente->bytesAvailable() > 64)
                    Cliente->abort(); // not one of ours
                return;
            }
            const QByteArray Linea = Cliente->readLine(64);
            if (Linea == Peticion_Activar) {
                Cliente->write(Respuesta_Activada);
                Cliente->flush();
                emit Activacion_Solicitada();
            }
            Cliente->disconnectFromServer();
        });
    }
}

bool tSharedMem::Activar_Primera_Instancia()
{
    if (!fYaEjecutandose || !fMapeada)
        return false;
    const quint32 Handle = Handle_Guardado();
    if (Handle == 0)
        return false;
    QLocalSocket Canal;
    Canal.connectToServer(Nombre_Canal(Handle));
    if (!Canal.waitForConnected(Espera_Canal_ms))
        return false;
    Canal.write(Peticion_Activar);
    if (!Canal.waitForBytesWritten(Espera_Canal_ms))
        return false;
    // Wait for the answer so the request is known to have arrived before this process ends.
    while (!Canal.canReadLine()) {
        if (!Canal.waitForReadyRead(Espera_Canal_ms))
            return false;
    }
    return Canal.readLine(64) == Respuesta_Activada;
}
