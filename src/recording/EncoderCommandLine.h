#pragma once

#include "RecordName.h"

#include <QString>

namespace recording {

// Stands for a double quote typed into a text that goes between double quotes on the encoder's command line.
inline constexpr char16_t QuoteReplacement = u'\u201D'; // ”

// "aufnahme" + counter + ".mp3", e.g. aufnahme1.mp3: the name the encoder writes under.
QString TempRecordingName(int recordingCounter);

// The first TempRecordingName from `recordingCounter` on that no file in `folder` has (left by an earlier
// run, or still being finished); the counter moves past it, so every number tried is used up.
QString FreeTempRecordingName(int& recordingCounter, const QString& folder, const FileExists& exists);

// The text with every double quote replaced by QuoteReplacement, so that it cannot end its quoted value.
QString QuotedValue(const QString& text);

// A path as one argument of the command line, whatever it holds: between double quotes, each double quote
// of it doubled.
QString QuotedPath(const QString& path);

// Command line of the MP3 encoder: 48 kbit/s mono, ID3v2 tag only, artist and album `userinfo`, comment
// `topic`, genre 101, output file `recordingFolder` + `tempRecordingName` (QuotedPath, so that a folder with
// a blank read from the settings file still gives one argument). The program is "lame", found on the search
// path. Double quotes in `userinfo` and `topic` are replaced (QuotedValue); split by the engine the line
// gives exactly lame -b 48 -m m --id3v2-only --ta <userinfo> --tl <userinfo> --tc <topic> --tg 101 - <file>.
QString EncoderCommandLine(const QString& userinfo, const QString& topic, const QString& recordingFolder,
                           const QString& tempRecordingName);

} // namespace recording
