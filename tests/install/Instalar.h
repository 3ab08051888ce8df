// What both install tests share: installing the build folder into a prefix of their own
// and running a command with its output kept for the failure message.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

struct tOrden
{
    int Codigo = -1;     // exit code; -1 when it did not run or end
    QString Salida;      // standard output and error, together
};

inline tOrden Ejecutar(const QString &Programa, const QStringList &Argumentos, int Espera_ms = 120000)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(Programa, Argumentos);
    tOrden r;
    if (!p.waitForStarted()) {
        r.Salida = Programa + QStringLiteral(": ") + p.errorString();
        return r;
    }
    const bool Acabo = p.waitForFinished(Espera_ms);
    r.Salida = QString::fromLocal8Bit(p.readAll());
    if (Acabo && p.exitStatus() == QProcess::NormalExit)
        r.Codigo = p.exitCode();
    else
        p.kill();
    return r;
}

// `cmake --install` of this build into `Prefijo`.
inline tOrden Instalar(const QString &Prefijo)
{
    return Ejecutar(QStringLiteral(QUELVARO_CMAKE),
                    {QStringLiteral("--install"), QStringLiteral(QUELVARO_BUILD), QStringLiteral("--prefix"), Prefijo});
}
