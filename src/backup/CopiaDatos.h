// Copying the data folder into a backup folder and back, without windows: which
// files are taken, the stamp file, the copy that reads every file back from its
// destination, and the restore that replaces the data folder's files all at once
// or not at all. The dialogs of the backup only call these.
#pragma once

#include "StoreErrors.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The stamp that marks a folder as a finished backup.
inline const QString Nombre_Sello = QStringLiteral("DatosCopia.dat");

struct tFichero
{
    QString Nombre;
    qint64 Tamano = 0;
};

// The ordinary files of `carpeta`, sorted by name: no folders, no hidden files
// (names beginning with "."), no symbolic links or special files. A folder that
// cannot be read gives none.
QList<tFichero> Ficheros_Carpeta(const QString &carpeta);
// The files a backup of the data folder copies: all of them but a stamp left there
// by an earlier restore (the backup writes its own at the end).
QList<tFichero> Ficheros_Copia(const QString &datos);
qint64 Tamano_Total(const QList<tFichero> &ficheros);

// A folder as the user typed it: blanks around dropped, made absolute against
// `base` (the current folder when empty) and cleaned, without a final separator;
// the root of the file system stays "/". A volume's root is thus named and used
// as that root ("/media/usb/" gives "/media/usb").
QString Normalizar_Carpeta(const QString &texto, const QString &base = QString());
// `nombre` inside `carpeta`, with one separator also when `carpeta` is "/".
QString Ruta_En(const QString &carpeta, const QString &nombre);
// Whether two paths are the same folder once symbolic links are resolved.
bool Misma_Carpeta(const QString &a, const QString &b);

// Bytes this user may still write on the volume holding `carpeta`; -1 when the
// volume cannot be read.
qint64 Bytes_Libres(const QString &carpeta);

// Roots of the volumes the folder dialog offers: among mounted, writable, ready
// volumes, "/" and the removable and home mounts (under /media, /run/media, /mnt
// and /home), "/" first.
struct tVolumen
{
    QString Raiz;
    bool Solo_Lectura = false;
    bool Preparado = true;
};
QStringList Unidades(const QList<tVolumen> &montados);
QStringList Unidades(); // of the volumes mounted now

// The stamp's bytes: the date as the program writes dates ("dd/mm/yyyy") and CR LF.
QByteArray Contenido_Sello(const QDate &fecha);
// Whether `carpeta` holds an entry named as the stamp, of any kind: one that is
// not a readable file is a stamp that cannot be read, not a missing one.
bool Existe_Sello(const QString &carpeta);
// The stamp's first line as stored, without its end of line. Throws EFalloCopia
// when it cannot be read.
QString Leer_Sello(const QString &carpeta);
// Writes the stamp for `fecha` so that it is either whole on the disk or absent.
// Throws EFalloCopia.
void Escribir_Sello(const QString &carpeta, const QDate &fecha);

// Table files of `carpeta` that this program holds open (see TDatabase::openFilesIn).
QStringList Tablas_Abiertas(const QString &carpeta);

// A file that could not be copied, and why (a Spanish phrase).
struct tFallo
{
    QString Fichero;
    QString Motivo;
};

// A backup or restore that did not complete. The message is Spanish and names
// each file that failed with its reason; the code is 0 so that the error
// handler shows the message itself rather than a generic text for a code.
class EFalloCopia : public EInOutError
{
public:
    EFalloCopia(const QString &mensaje, QList<tFallo> fallos = {});
    const QList<tFallo> &Fallos() const { return m_fallos; }

private:
    QList<tFallo> m_fallos;
};

// Spanish reason for a failure with the system error `err` while writing into
// the destination (escribiendo) or reading the original.
QString Motivo_Error(int err, bool escribiendo);

// Progress of a run: index of the file being copied (0-based) and the share of
// that file done, 0 to 1 (copied, then read back). The callback may process events.
using tProgreso = std::function<void(int fichero, double parte)>;

// The backup of `datos` into `destino`: refuses a destination that is the data
// folder and a data folder with a table still open; removes an old stamp first,
// copies each file of Ficheros_Copia (a journal left beside a table goes with it;
// one that the destination holds for a table copied without one is removed),
// syncs each and reads it back from the device; only then writes the stamp
// of `fecha`. Any file that fails leaves the folder without a stamp, and throws
// EFalloCopia naming every file that failed. Returns the files copied.
int Guardar_Copia(const QString &datos, const QString &destino, const QDate &fecha, const tProgreso &progreso = {});

// The restore of the backup in `origen` into `datos`: every file of the backup
// (its stamp included; a journal whose table the backup lacks is left out) is
// copied into a temporary folder beside the data folder, synced and read back;
// each of the eight tables among them must open as a table (one of an older format
// is brought up to date); only then are the data folder's files replaced, and the
// journals the replaced tables had go too. Files of the data folder that the backup
// lacks stay. On any failure the data folder is left as it was and EFalloCopia
// says what failed. Returns the files restored.
int Restaurar_Copia(const QString &origen, const QString &datos, const tProgreso &progreso = {});

// The progress bar's value after `hechos` of `total` files: round(hechos / total
// × 100), halves to even, within 0 and 100; 0 when there are no files.
int Porcentaje_Progreso(double hechos, int total);
