#include "StoreErrors.h"

#include <cerrno>
#include <cstring>

ECodedError::ECodedError(int code, QString message)
    : m_code(code), m_message(std::move(message)), m_utf8(m_message.toUtf8())
{
}

int EInOutError::windowsCodeFromErrno(int err)
{
    switch (err) {
    case 0: return 0;
    case ENOENT: return 2;
    case ENOTDIR: return 267;
    case EMFILE: case ENFILE: return 4;
    case EACCES: case EPERM: return 5;
    case ENOMEM: return 8;
    case EROFS: return 19;
    case ENXIO: case ENODEV: return 21;
    case EBUSY: case ETXTBSY: return 32;
    case ENOLCK: case EDEADLK: return 33;
    case ENOSPC: case EDQUOT: return 112;
    case EEXIST: return 80;
    case ENAMETOOLONG: case EINVAL: return 161;
    case EISDIR: return 82;
    // Linux numbers that coincide with other Windows codes of the handler's
    // table must not borrow their texts ("Acceso denegado" for an I/O error).
    case EIO: return 1117;       // ERROR_IO_DEVICE
    case EPIPE: return 109;      // ERROR_BROKEN_PIPE
    case ENOTEMPTY: return 145;  // ERROR_DIR_NOT_EMPTY
    case EFAULT: return 487;     // ERROR_INVALID_ADDRESS
    case ENOEXEC: return 193;    // ERROR_BAD_EXE_FORMAT
    case ESRCH: case EINTR: case EDOM: case ELIBBAD: case EHOSTDOWN:
        return 0x20000000 | err; // the range Windows leaves to applications
    default: return err;
    }
}

EInOutError EInOutError::fromErrno(int err, const QString &what)
{
    QString text = QString::fromLocal8Bit(std::strerror(err));
    if (!what.isEmpty())
        text = what + QStringLiteral(": ") + text;
    return EInOutError(windowsCodeFromErrno(err), text);
}
