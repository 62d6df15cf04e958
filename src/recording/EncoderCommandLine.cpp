#include "EncoderCommandLine.h"

namespace recording {

QString TempRecordingName(int recordingCounter) {
    return QStringLiteral("aufnahme") + QString::number(recordingCounter) + QStringLiteral(".mp3");
}

QString FreeTempRecordingName(int& recordingCounter, const QString& folder, const FileExists& exists) {
    QString name;
    do
        name = TempRecordingName(recordingCounter++);
    while (exists(folder + name));
    return name;
}

QString QuotedValue(const QString& text) {
    QString value = text;
    value.replace(QChar(u'"'), QChar(QuoteReplacement));
    return value;
}

QString EncoderCommandLine(const QString& userinfo, const QString& topic, const QString& recordingFolder,
                           const QString& tempRecordingName) {
    const QString caption = QuotedValue(userinfo);
    return QStringLiteral("lame -b 48 -m m --id3v2-only --ta \"") + caption + QStringLiteral("\" --tl \"") +
           caption + QStringLiteral("\" --tc \"") + QuotedValue(topic) +
           QStringLiteral("\" --tg \"101\" - ") + QuotedPath(recordingFolder + tempRecordingName);
}

QString QuotedPath(const QString& path) {
    QString quoted = path;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace recording
