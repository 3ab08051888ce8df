// Single-instance guard: the 4-byte block "Quelvaro" holding the first instance's handle,
// and the local channel through which a later start asks the first one to come to the front.
#pragma once

#include <QObject>
#include <QSharedMemory>
#include <QString>
#include <memory>

class QLockFile;
class QLocalServer;

class tSharedMem : public QObject
{
    Q_OBJECT
public:
    // Creates or opens the block and maps it. The first instance writes Handle into it and
    // starts listening for activation requests; Handle must not be 0.
    tSharedMem(const QString &Nombre, quint32 Handle, QObject *parent = nullptr);
    // Unmaps the block, stops listening and lets the next start be the first again.
    ~tSharedMem() override;

    bool Ya_Ejecutandose() const { return fYaEjecutandose; }
    bool Vista_Mapeada() const { return fMapeada; }
    // The handle stored in the block (0 when unmapped or never written).
    quint32 Handle_Guardado() const;

    // For a later start: asks the first instance to restore and raise its window.
    // Returns true when the request was delivered.
    bool Activar_Primera_Instancia();

    // The folder private to this user where the block's key, the lock and the socket live.
    static QString Carpeta_Sesion();

signals:
    // In the first instance: a later start asked for the window to come to the front.
    void Activacion_Solicitada();

private:
    void Atender_Conexion();
    QString Nombre_Canal(quint32 Handle) const;
    bool Escuchar(quint32 Handle);

    QString fNombre;
    QString fCarpeta;
    bool fYaEjecutandose = false;
    bool fMapeada = false;
    QSharedMemory fBloque;
    std::unique_ptr<QLockFile> fCerrojo;
    QLocalServer *fServidor = nullptr;
};
