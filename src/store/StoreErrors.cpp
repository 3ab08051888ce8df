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
