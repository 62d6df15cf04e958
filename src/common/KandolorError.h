#pragma once

#include <QString>
#include <stdexcept>

// The one exception type of conversions and file operations; its text is shown to the operator as it is.
class KandolorError : public std::runtime_error {
public:
    explicit KandolorError(const QString& message);
    QString message() const { return message_; }

    // "E/A-Fehler %d" with the runtime's error number.
    static KandolorError io(int code);
    // Runtime error number of the last failed system call (errno).
    static KandolorError fromErrno(int err);

private:
    QString message_;
};

// Runtime input/output error numbers.
namespace IoCode {
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;
constexpr int AccessDenied = 5;
constexpr int DiskRead = 100;
constexpr int DiskWrite = 101;
constexpr int InvalidNumber = 106;
} // namespace IoCode

// Strict string-to-integer conversion; throws "''%s'' ist kein gültiger Integer-Wert".
int strToInt(const QString& text);
