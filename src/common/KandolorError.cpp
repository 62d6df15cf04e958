#include "KandolorError.h"

#include <cerrno>

KandolorError::KandolorError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message) {}

KandolorError KandolorError::io(int code) {
    return KandolorError(QStringLiteral("E/A-Fehler %1").arg(code));
}

KandolorError KandolorError::fromErrno(int err) {
    switch (err) {
    case ENOENT:
        return io(IoCode::FileNotFound);
    case ENOTDIR:
        return io(IoCode::PathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return io(IoCode::AccessDenied);
    case ENOSPC:
    case EDQUOT:
        return io(IoCode::DiskWrite);
    default:
        return io(err);
    }
}

int strToInt(const QString& text) {
    // Leading blanks are skipped; a sign and a "$" hexadecimal prefix are allowed; nothing may follow.
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == QLatin1Char(' '))
        ++start;
    const QString t = text.mid(start);
    bool ok = false;
    int value = 0;
    if (!t.isEmpty() && !t.back().isSpace()) {
        if (t.startsWith(QLatin1Char('$')))
            value = t.mid(1).toInt(&ok, 16);
        else
            value = t.toInt(&ok, 10);
    }
    if (!ok)
        throw KandolorError(QStringLiteral("''%1'' ist kein gültiger Integer-Wert").arg(text));
    return value;
}
