// File operations of the start-up check.
#include "Ficheros.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString Unir_Camino(const QString &carpeta, const QString &nombre)
{
    QString r;
    if (carpeta.isEmpty())
        r = nombre;
    else if (carpeta.endsWith(QLatin1Char('/')))
        r = carpeta + nombre;
    else
        r = carpeta + QLatin1Char('/') + nombre;

    auto recortable = [](QChar c) { return c.unicode() <= 0x20; };
    int ini = 0, fin = r.size();
    while (ini < fin && recortable(r.at(ini)))
        ++ini;
    while (fin > ini && recortable(r.at(fin - 1)))
        --fin;
    r = r.mid(ini, fin - ini);
    while (r.contains(QLatin1String("//")))
        r.replace(QLatin1String("//"), QLatin1String("/"));
    if (r.isEmpty())
        return QDir::currentPath();
    // Only "." and ".." are resolved: a name with wildcards is not a real file.
    return QDir::cleanPath(QDir::current().absoluteFilePath(r));
}

void Listar_Ficheros(const QString &patron, QStringList &lista)
{
    const int barra = patron.lastIndexOf(QLatin1Char('/'));
    const QString carpeta = barra < 0 ? QDir::currentPath() : (barra == 0 ? QStringLiteral("/") : patron.left(barra));
    const QString mascara = patron.mid(barra + 1);
    QDir dir(carpeta);
    if (mascara.isEmpty() || !dir.exists())
        return;
    // No change of the process's current folder: the folder is named in full.
    const QFileInfoList entradas = dir.entryInfoList(QStringList{mascara},
                                                     QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QFileInfo &fi : entradas)
        lista.append(dir.filePath(fi.fileName()));
}

void Borrar_Ficheros(const QString &carpeta, const QString &mascara, bool aPapelera)
{
    QStringList lista;
    Listar_Ficheros(Unir_Camino(carpeta, mascara), lista);
    if (lista.isEmpty())
        return;
    TShellFileOp op;
    op.NoConfirmation = true;
    op.Anadir(lista);
    if (aPapelera)
        op.Borrar_Papelera();
    else
        op.Borrar();
}

void TShellFileOp::Anadir(const QString &ruta)
{
    Anadir(QStringList{ruta});
}

void TShellFileOp::Anadir(const QStringList &rutas)
{
    m_rutas += rutas;
    m_rutas.sort();
    m_rutas.removeDuplicates();
}

bool TShellFileOp::Borrar()
{
    return Ejecutar(false);
}

bool TShellFileOp::Borrar_Papelera()
{
    return Ejecutar(true);
}

bool TShellFileOp::Ejecutar(bool aPapelera)
{
    const QStringList rutas = m_rutas;
    m_rutas.clear();
    if (rutas.isEmpty())
        return false;
    if (!NoConfirmation && Confirmar && !Confirmar(rutas))
        return false;
    bool ok = true;
    for (const QString &ruta : rutas) {
        const QFileInfo fi(ruta);
        const bool carpeta = fi.isDir() && !fi.isSymLink();
        if (!fi.exists() && !fi.isSymLink()) {
            ok = false;
            continue;
        }
        if (carpeta && FilesOnly)
            continue;
        bool hecho;
        if (aPapelera)
            hecho = QFile::moveToTrash(ruta);
        else if (carpeta)
            hecho = QDir(ruta).removeRecursively();
        else
            hecho = QFile::remove(ruta);
        ok = ok && hecho;
    }
    return ok;
}
