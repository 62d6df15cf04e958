#pragma once

#include <QString>
#include <QStringList>
#include <array>

// One week of the song list: the date text of its Monday (dd.MM.yyyy) and five song number texts, columns
// 1..5: midweek first, second and closing song, weekend second and closing song.
struct SongWeek {
    QString date;
    std::array<QString, 5> numbers;
    bool operator==(const SongWeek&) const = default;
};

// A song list line: date, " ", then the five numbers separated by ",". Reading takes characters 1..10 as
// the date, the text from character 12 up to the first comma as number 1, the next three comma-separated
// texts as numbers 2..4 and the rest of the line as number 5; every field is cut to 10 characters. A week
// without a date is written as an empty line, which reads back as such a week.
SongWeek parseSongListLine(const QString& line);
QString formatSongListLine(const SongWeek& week);

// The 54 weeks of the song list, rows 1..54.
class SongList {
public:
    static constexpr int Weeks = 54;
    static constexpr int FieldLength = 10;

    // Row r = 1..54.
    SongWeek& row(int r) { return weeks_.at(static_cast<std::size_t>(r - 1)); }
    const SongWeek& row(int r) const { return weeks_.at(static_cast<std::size_t>(r - 1)); }

    // Lines 1..54; missing lines give weeks with empty texts, further lines are ignored.
    static SongList fromLines(const QStringList& lines);
    QStringList toLines() const;
    // Throws KandolorError (E/A-Fehler) when the file cannot be read or written.
    static SongList read(const QString& path);
    void write(const QString& path) const;

    bool operator==(const SongList&) const = default;

private:
    std::array<SongWeek, Weeks> weeks_;
};

// The song list file below the common data folder: <folder>/Kandolor/liederliste.txt.
// The import file: liederliste.txt in the home folder.
QString importFilePath(const QString& homeFolder);

// When importFile exists: reads it, deletes it (a failed deletion is not reported) and rewrites songListFile
// with its 54 weeks, each date as dd.MM.yyyy. Returns whether it was imported; throws KandolorError on a read
// or write error and on a date that does not convert (the import file then stays).
bool importSongList(const QString& importFile, const QString& songListFile);
