#include "CommandLine.h"

#include <QtEndian>

QStringList splitCommandLine(const QString& commandLine) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < commandLine.size(); ++i) {
        const QChar c = commandLine.at(i);
        if (c == u'"' && quoted && i + 1 < commandLine.size() && commandLine.at(i + 1) == u'"') {
            current.append(c);
            ++i;
        } else if (c == u'"') {
            quoted = !quoted;
            inArgument = true;
        } else if (!quoted && (c == u' ' || c == u'\t')) {
            if (inArgument)
                arguments.append(current);
            current.clear();
            inArgument = false;
        } else {
            current.append(c);
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.append(current);
    return arguments;
}

namespace {
void appendLe32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}
void appendLe16(QByteArray& out, quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}
} // namespace

QByteArray waveHeader(int rate, int channels) {
    QByteArray header;
    header.append("RIFF");
    appendLe32(header, 0xFFFFFFFFu);
    header.append("WAVEfmt ");
    appendLe32(header, 16);
    appendLe16(header, 1); // PCM
    appendLe16(header, static_cast<quint16>(channels));
    appendLe32(header, static_cast<quint32>(rate));
    appendLe32(header, static_cast<quint32>(rate * channels * 2));
    appendLe16(header, static_cast<quint16>(channels * 2));
    appendLe16(header, 16);
    header.append("data");
    appendLe32(header, 0xFFFFFFFFu);
    return header;
}
