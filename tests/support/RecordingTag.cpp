#include "support/RecordingTag.h"

#include <QFile>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

RecordingTag readRecordingTag(const QString& path) {
    TagLib::MPEG::File file(QFile::encodeName(path).constData());
    const TagLib::ID3v2::Tag* tag = file.ID3v2Tag();
    RecordingTag result;
    if (!tag)
        return result;
    const auto text = [](const TagLib::String& s) { return QString::fromStdWString(s.toWString()); };
    result = {text(tag->title()),   text(tag->artist()), text(tag->album()),
              text(tag->comment()), tag->year(),         {}};
    for (const TagLib::ID3v2::Frame* frame : tag->frameListMap()["COMM"])
        result.comments << text(frame->toString());
    return result;
}
