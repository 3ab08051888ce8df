// Real places for the backup tests: a small disk that fills up, a folder seen
// read-only, a file that cannot be replaced. Each one undoes itself when it goes
// out of scope, a failed check included; where the machine forbids it, motivo()
// says why and the test skips.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

// A tmpfs of `bytes` (whole pages) mounted on a new temporary folder.
class tDiscoPequeno
{
public:
    explicit tDiscoPequeno(qint64 bytes);
    ~tDiscoPequeno();
    tDiscoPequeno(const tDiscoPequeno &) = delete;
    tDiscoPequeno &operator=(const tDiscoPequeno &) = delete;

    bool valido() const { return m_montado; }
    QString motivo() const { return m_motivo; }
    QString ruta() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_montado = false;
    QString m_motivo;
};

// `carpeta` mounted read-only over itself.
class tSoloLectura
{
public:
    explicit tSoloLectura(const QString &carpeta);
    ~tSoloLectura();
    tSoloLectura(const tSoloLectura &) = delete;
    tSoloLectura &operator=(const tSoloLectura &) = delete;

    bool valido() const { return m_montado; }
    QString motivo() const { return m_motivo; }

private:
    QString m_carpeta;
    bool m_montado = false;
    QString m_motivo;
};

// The file `ruta` made immutable (chattr +i): it can be neither written, removed
// nor renamed, not even by root.
class tInmutable
{
public:
    explicit tInmutable(const QString &ruta);
    ~tInmutable();
    tInmutable(const tInmutable &) = delete;
    tInmutable &operator=(const tInmutable &) = delete;

    bool valido() const { return m_puesto; }
    QString motivo() const { return m_motivo; }

private:
    bool cambiar(bool poner);
    QString m_ruta;
    bool m_puesto = false;
    QString m_motivo;
};

// Skips the test (or row) when `lugar` could not be made.
#define EXIGIR_LUGAR(lugar)                                                                                            \
    do {                                                                                                               \
        if (!(lugar).valido())                                                                                         \
            QSKIP(qPrintable((lugar).motivo()));                                                                       \
    } while (false)

// Every entry of a folder, hidden ones included, with the bytes of each file
// ("<carpeta>" for a folder, "<ilegible>" for a file that cannot be read), to
// compare a folder before and after.
QMap<QString, QByteArray> Foto(const QString &carpeta);
