#include "SongList.h"

#include "common/DateTime.h"
#include "common/TextFile.h"

#include <QFile>

namespace {
QString field(const QString& text) {
    return text.left(SongList::FieldLength);
}
} // namespace

SongWeek parseSongListLine(const QString& line) {
    SongWeek week;
    week.date = field(line.left(10));
    QString rest = line.mid(11);
    for (int c = 0; c < 4; ++c) {
        const qsizetype comma = rest.indexOf(QLatin1Char(','));
        if (comma < 0) {
            week.numbers[static_cast<std::size_t>(c)] = field(rest);
            rest.clear();
            continue;
        }
        week.numbers[static_cast<std::size_t>(c)] = field(rest.left(comma));
        rest = rest.mid(comma + 1);
    }
    week.numbers[4] = field(rest);
    return week;
}

QString formatSongListLine(const SongWeek& week) {
    // A week without a date would read back as the date text " ,,,," and stop every later search.
    if (week.date.isEmpty())
        return {};
    // The date is characters 1..10 of the line: a shorter one is padded, so the numbers stay where they
    // are read.
    QString line = week.date.leftJustified(SongList::FieldLength, QLatin1Char(' ')) + QLatin1Char(' ');
    for (std::size_t c = 0; c < week.numbers.size(); ++c) {
        if (c > 0)
            line += QLatin1Char(',');
        line += week.numbers[c];
    }
    return line;
}

SongList SongList::fromLines(const QStringList& lines) {
    SongList list;
    for (int r = 1; r <= Weeks; ++r)
        list.row(r) = parseSongListLine(r <= lines.size() ? lines.at(r - 1) : QString());
    return list;
}

QStringList SongList::toLines() const {
    QStringList lines;
    for (const SongWeek& week : weeks_)
        lines.append(formatSongListLine(week));
    return lines;
}

SongList SongList::read(const QString& path) {
    return fromLines(TextFile::readLines(path));
}

void SongList::write(const QString& path) const {
    TextFile::writeLines(path, toLines());
}

QString importFilePath(const QString& homeFolder) {
    return homeFolder + QStringLiteral("/liederliste.txt");
}

bool importSongList(const QString& importFile, const QString& songListFile) {
    if (!TextFile::exists(importFile))
        return false;
    // The import file may hold short dates (1.7.2024); the song list holds dd.MM.yyyy, which reads back.
    QStringList lines = TextFile::readLines(importFile);
    for (QString& line : lines) {
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        const qsizetype end = blank < 0 ? line.size() : blank;
        if (!line.left(end).trimmed().isEmpty())
            line = dateToString(stringToDate(line.left(end))) + line.mid(end);
    }
    const SongList list = SongList::fromLines(lines);
    QFile::remove(importFile);
    list.write(songListFile);
    return true;
}
