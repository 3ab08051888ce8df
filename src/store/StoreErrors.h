// Exceptions of the lowest layers: the table store's engine errors and the
// program's input/output errors. Everything above catches these two classes.
#pragma once

#include <QString>
#include <cstdint>
#include <exception>

// Engine error codes the error handler turns into Spanish texts.
namespace EngineCode {
constexpr quint16 RecordDeleted = 8708;    // borrado por otro usuario
constexpr quint16 RecordNotFound = 8710;
constexpr quint16 ReadError = 9217;        // unreadable, corrupt or not a database
constexpr quint16 WriteError = 9218;       // read-only, disk full, I/O error
constexpr quint16 CannotDelete = 9220;
constexpr quint16 DuplicateKey = 9729;
constexpr quint16 RecordLocked = 10241;    // another process holds the file
constexpr quint16 RecordLocked2 = 10258;
constexpr quint16 DatabaseInUse = 11013;
// Not in the handler's table: usage errors of the store (bad filter, unknown
// field, missing index, value too long, wrong state).
constexpr quint16 InvalidUse = 10024;
constexpr quint16 TableNotFound = 10024 + 1;
}

// Base of both exception classes: a Spanish message and a numeric code.
class ECodedError : public std::exception
{
public:
    ECodedError(int code, QString message);
    int code() const noexcept { return m_code; }
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    int m_code;
    QString m_message;
    QByteArray m_utf8;
};

// A failure of the table store. The message says what happened and names the table.
class EDBEngineError : public ECodedError
{
public:
    EDBEngineError(quint16 code, QString message) : ECodedError(code, std::move(message)) {}
    quint16 errorCode() const noexcept { return static_cast<quint16>(code()); }
};

// An input/output failure of the program, carrying the Windows system error
// code that the error handler's table knows (2 file not found, 5 access denied...).
class EInOutError : public ECodedError
{
public:
    EInOutError(int windowsCode, QString message) : ECodedError(windowsCode, std::move(message)) {}

    // Builds the error from a Linux errno value; `what` names the file or operation.
    static EInOutError fromErrno(int err, const QString &what);
    // Maps a Linux errno value onto the Windows code with the same meaning (0 when none).
    static int windowsCodeFromErrno(int err);
};
