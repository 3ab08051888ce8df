// What the crash trials' writer and checker agree on: the two tables written, the
// keys, and the content of a record as a function of the number of the operation
// that wrote it last (kept in KILOMETROS), so the checker needs no copy of it.
#pragma once

#include <QString>

namespace Ensayo {

// Small rows, and rows with memos of several kilobytes.
inline const QString Tabla_Filas = QStringLiteral("Matriculas.DAT");
inline const QString Tabla_Memos = QStringLiteral("Averias.DAT");

inline QString Clave(bool memo, qint64 n)
{
    return (memo ? QStringLiteral("A%1") : QStringLiteral("V%1")).arg(n, 7, 10, QLatin1Char('0'));
}

// 2 to 16 kB of text that tells each operation apart.
inline QString Memo(qint64 n)
{
    const int largo = 2048 + int((n * 7919) % 14336);
    const QString trozo = QStringLiteral("Operación %1: revisión y sustitución de piezas. ").arg(n);
    QString t;
    t.reserve(largo + trozo.size());
    while (t.size() < largo)
        t += trozo;
    t.truncate(largo);
    return t;
}

} // namespace Ensayo
