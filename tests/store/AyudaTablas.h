// Helpers shared by the store's test programs: a table object on a database, the
// values of one column of the visible rows, lists written "A|B|C", and SQL run
// on a file as another program would.
#pragma once

#include "Table.h"

#include <QFile>
#include <QtTest>

#include <sqlite3.h>

#include <memory>

inline std::unique_ptr<TTable> tabla(TDatabase &db, const QString &nombre, const QStringList &campos = {})
{
    auto t = std::make_unique<TTable>();
    t->setDatabase(&db);
    t->setTableName(nombre);
    for (const QString &c : campos)
        t->addField(c);
    return t;
}

inline QStringList columna(TTable &t, const QString &campo)
{
    QStringList r;
    const TField *f = t.fieldByName(campo);
    for (int i = 0; i < t.recordCount(); ++i)
        r << t.valueAt(i, f).toString();
    return r;
}

inline QStringList matriculas(const QString &lista)
{
    return lista.isEmpty() ? QStringList() : lista.split(QLatin1Char('|'));
}

// Runs SQL on the file through a connection of its own, as another program
// would; false when the file cannot be opened or the SQL fails.
inline bool sql(const QString &ruta, const QString &texto, QString *error = nullptr)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(ruta).constData(), &db) != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        return false;
    }
    char *err = nullptr;
    const int rc = sqlite3_exec(db, texto.toUtf8().constData(), nullptr, nullptr, &err);
    if (error)
        *error = QString::fromUtf8(err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
    return rc == SQLITE_OK;
}

// The same, failing the running test with SQLite's message.
inline void otroPrograma(const QString &ruta, const QString &texto)
{
    QString error;
    QVERIFY2(sql(ruta, texto, &error), qPrintable(error));
}
