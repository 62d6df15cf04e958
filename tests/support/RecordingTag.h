#pragma once

#include <QString>
#include <QStringList>

// The ID3v2 tag of a recording as TagLib reads it; empty fields when the file has none.
struct RecordingTag {
    QString title, artist, album, comment;
    unsigned year = 0;
    QStringList comments; // the text of every comment frame
};

RecordingTag readRecordingTag(const QString& path);
