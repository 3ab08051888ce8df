// File operations of the start-up check: joining a folder and a name, listing
// the files that match a mask, deleting them.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// folder + "/" + name (no separator added when the folder ends with one, the name
// alone when the folder is empty), trimmed of blanks and control characters, with
// doubled separators reduced, made absolute against the current folder.
QString Unir_Camino(const QString &carpeta, const QString &nombre);

// Appends to `lista` the full path of every file of the pattern's folder whose name
// matches its last part ("*" any run of characters, "?" exactly one, regardless of
// case), hidden and read-only files included, folders skipped, in the order the
// folder listing gives them. A folder that does not exist adds nothing.
void Listar_Ficheros(const QString &patron, QStringList &lista);

// Deletes the files of `carpeta` that match `mascara`, permanently or to the user's
// trash. Reports nothing: what cannot be deleted stays.
void Borrar_Ficheros(const QString &carpeta, const QString &mascara, bool aPapelera);

// A delete operation over a set of paths (kept sorted and without duplicates).
class TShellFileOp
{
public:
    bool FilesOnly = false;        // folders in the set are left alone
    bool NoConfirmation = false;   // otherwise Confirmar (when set) is asked first
    bool AutoMakeDir = false;      // kept for operations other than delete
    bool RenameOnCollision = false;
    bool Animate = false;          // progress display is the caller's: this library has no windows
    QString ProgressTitle;
    std::function<bool(const QStringList &rutas)> Confirmar;

    void Anadir(const QString &ruta);
    void Anadir(const QStringList &rutas);
    QStringList Rutas() const { return m_rutas; }

    // Each operation empties the set; true only when every path went and nothing was refused.
    bool Borrar();
    bool Borrar_Papelera();

private:
    bool Ejecutar(bool aPapelera);
    QStringList m_rutas;
};
