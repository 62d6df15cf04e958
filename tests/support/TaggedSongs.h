#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

// Songs tagged by other taggers (mutagen, eyeD3, id3v2, ffmpeg), made by tools/make-tagged-songs.py; the
// including test program defines KANDOLOR_SOURCE_DIR.
namespace TaggedSongs {

// The Python interpreter that has mutagen: Debian's python3-mutagen belongs to the system interpreter,
// which another python3 on the PATH may hide.
inline QString pythonWithMutagen() {
    for (const QString& python : {QStandardPaths::findExecutable(QStringLiteral("python3"), {"/usr/bin"}),
                                  QStandardPaths::findExecutable(QStringLiteral("python3"))}) {
        if (python.isEmpty())
            continue;
        QProcess probe;
        probe.start(python, {QStringLiteral("-c"), QStringLiteral("import mutagen")});
        if (probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit &&
            probe.exitCode() == 0)
            return python;
    }
    return {};
}

// What is missing to make the songs (to skip a test with), or empty.
inline QString missingTools() {
    QStringList missing;
    for (const char* tool : {"ffmpeg", "eyeD3", "id3v2"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            missing << QString::fromLatin1(tool);
    if (pythonWithMutagen().isEmpty())
        missing << QStringLiteral("python3-mutagen");
    return missing.isEmpty() ? QString() : missing.join(QStringLiteral(", ")) + QStringLiteral(" missing");
}

// Makes the songs in folder, one per recipe "NAME|TOOL|VERSION|ENCODING|TITLE|ALBUM" (see the script); the
// script's error output when it fails, empty on success.
inline QString make(const QString& folder, const QStringList& recipes) {
    QProcess tool;
    tool.start(pythonWithMutagen(),
               QStringList{QStringLiteral(KANDOLOR_SOURCE_DIR "/tools/make-tagged-songs.py"), folder} +
                   recipes);
    if (!tool.waitForFinished(120000)) {
        tool.kill();
        tool.waitForFinished(5000);
        return QStringLiteral("make-tagged-songs.py did not finish");
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return QString::fromUtf8(tool.readAllStandardError());
    return {};
}

} // namespace TaggedSongs
