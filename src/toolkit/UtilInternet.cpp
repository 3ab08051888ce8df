#include "UtilInternet.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

QString Destino_Direccion(const QString &Direccion)
{
    static const char *const esquemas[] = {"http://", "https://", "ftp://", "mailto:"};
    if (!Direccion.contains(QLatin1Char('@')))
        return Direccion;
    const QString limpia = Direccion.trimmed();
    for (const char *e : esquemas)
        if (limpia.startsWith(QLatin1String(e), Qt::CaseInsensitive))
            return Direccion;
    return QStringLiteral("mailto:") + Direccion;
}

void Abrir_Direccion(const QString &Direccion, const QString &Parametros, const QString &Carpeta, int Modo)
{
    Q_UNUSED(Parametros);
    Q_UNUSED(Modo);
    if (Direccion.isEmpty())
        return;
    const QString destino = Destino_Direccion(Direccion).trimmed();
    const QUrl url = QUrl::fromUserInput(destino, Carpeta.isEmpty() ? QDir::currentPath() : Carpeta);
    if (url.isValid())
        QDesktopServices::openUrl(url);
}
