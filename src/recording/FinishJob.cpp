#include "FinishJob.h"

#include "RecordName.h"
#include "id3/TID3v2Tag.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace recording {

namespace {

bool isPlainComment(const TID3v2Frame& frame, QString* text = nullptr) {
    if (frame.IDString() != "COMM" && frame.IDString() != "COM")
        return false;
    QString language, description, value;
    frame.GetCommentsLyrics(language, description, value);
    if (text)
        *text = value;
    return description.isEmpty();
}

// The text of the first comment without description, in whatever language the encoder gave it.
QString plainComment(const TID3v2Tag& tag) {
    QString text;
    for (const auto& frame : tag.Frames())
        if (isPlainComment(*frame, &text))
            return text;
    return QString();
}

// Replaces every comment without description by one holding `text` (none when it is empty).
void setPlainComment(TID3v2Tag& tag, const QString& text) {
    const auto count = std::count_if(tag.Frames().begin(), tag.Frames().end(),
                                     [](const auto& frame) { return isPlainComment(*frame); });
    for (auto i = count; i > 0; --i)
        tag.SetCommentFrame(QStringLiteral("*"), QString(), QString());
    tag.SetComment(text);
}

// Renames the temporary file to the first free name after the numbering rule; the final name, or empty.
QString renameToFreeName(const FinishJob& job) {
    const NameParts parts = SplitExtension(job.fileName);
    const QString extension = parts.extension.toLower();
    // QFile::rename never replaces a file; a name taken meanwhile is numbered again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QString name =
            ApplyNumberingRule(parts.baseName, extension, job.folder, ExistsOnDisk) + extension;
        if (QFile::rename(job.tempPath(), job.folder + name))
            return name;
        if (!QFileInfo::exists(job.tempPath()))
            break;
    }
    return QString();
}

} // namespace

FinishResult FinishRecordingFile(const FinishJob& job, TID3v2Tag& tag) {
    FinishResult result;
    const QString name =
        SplitExtension(job.fileName).baseName.isEmpty() ? job.tempName : renameToFreeName(job);
    if (name.isEmpty()) {
        result.problem = QStringLiteral("Die Aufnahme konnte nicht umbenannt werden !\rSie liegt unter ") +
                         job.tempPath() + QStringLiteral(" .");
        return result;
    }
    result.finalName = name;
    const QString path = job.folder + name;
    if (tag.ReadFromFile(path) != MP3ERR_None || !tag.Exists())
        return result;
    if (job.neu) {
        tag.SetTitle(job.topic);
        tag.SetArtist(job.speaker);
        setPlainComment(tag, job.comment);
        tag.SetAlbum(job.album);
        tag.SetYear(job.year);
    } else {
        setPlainComment(tag, plainComment(tag));
        if (job.recovered)
            tag.SetAlbum(job.album);
    }
    tag.WriteToFile(path);
    return result;
}

} // namespace recording
