#include "app/Settings.h"

#include "common/KandolorError.h"

#include <QRegularExpression>
#include <cmath>

namespace {
// percent × 1.3 rounded to the nearest integer, halves to the even neighbour, computed exactly.
int levelPixels(int percent) {
    const int tenths = percent * 13;
    int pixels = tenths / 10;
    const int rest = tenths % 10;
    if (rest > 5 || (rest == 5 && pixels % 2 != 0))
        ++pixels;
    return pixels;
}
} // namespace

void Settings::recomputeLevelPixels() {
    LevelWarnPixels = levelPixels(LevelWarnPercent);
    LevelPeakPixels = levelPixels(LevelPeakPercent);
}

namespace SettingsFormat {
namespace {

QString lineAt(const QStringList& lines, int number) {
    return number <= lines.size() ? lines.at(number - 1) : QString();
}

QString flag(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// Short texts keep their first 4 characters.
QString shortText(const QString& line) {
    return line.left(4);
}

int splitMinutesFrom(const QString& line) {
    if (line.isEmpty())
        return 100;
    const int minutes = strToInt(line);
    // 0 and 1 mean no splitting, as does any value the split menu does not offer.
    return minutes == 10 || minutes == 20 || minutes == 30 || minutes == 40 ? minutes : 100;
}

// Values the program cannot use take their default.
int within(int value, int low, int high, int fallback) {
    return value >= low && value <= high ? value : fallback;
}
std::optional<int> windowSize(int value) {
    return value >= 100 && value <= 8192 ? std::optional<int>(value) : std::nullopt;
}
// A time of day or a duration below a day.
double withinADay(double value) {
    return std::isfinite(value) && value >= 0 && value < 1 ? value : 0.0;
}

} // namespace

QString formatReal(double value) {
    // printf gives "8.12500000000000E-01"; the field has a four-digit exponent and a leading sign place.
    QString mantissaExp = QString::asprintf("%.14E", std::fabs(value));
    const qsizetype e = mantissaExp.indexOf(QLatin1Char('E'));
    const QString mantissa = mantissaExp.left(e);
    const QChar expSign = mantissaExp.at(e + 1);
    const int exponent = mantissaExp.mid(e + 2).toInt();
    const QString field = (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + mantissa +
                          QLatin1Char('E') + expSign +
                          QStringLiteral("%1").arg(exponent, 4, 10, QLatin1Char('0'));
    return field.rightJustified(23, QLatin1Char(' '));
}

QList<double> readReals(const QString& line, int count) {
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    const QStringList tokens = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QList<double> values;
    for (int i = 0; i < count; ++i) {
        if (i >= tokens.size()) {
            values << 0.0;
            continue;
        }
        if (!number.match(tokens.at(i)).hasMatch())
            throw KandolorError::io(IoCode::InvalidNumber);
        values << tokens.at(i).toDouble();
    }
    return values;
}

void read(const QStringList& lines, Settings& s) {
    struct Finish {
        Settings& s;
        ~Finish() {
            // Also when a bad line after them ended the reading: the warning level is the lower one.
            if (s.LevelWarnPercent > s.LevelPeakPercent)
                std::swap(s.LevelWarnPercent, s.LevelPeakPercent);
            s.recomputeLevelPixels();
            if (s.DeleteAgeCode.isEmpty())
                s.DeleteAgeCode = QStringLiteral("0");
        }
    } finish{s};

    const Settings defaults;
    s.windowHeight = windowSize(strToInt(lineAt(lines, 1)));
    s.windowWidth = windowSize(strToInt(lineAt(lines, 2)));
    s.InputVolume = within(strToInt(lineAt(lines, 3)), 0, 100, defaults.InputVolume);
    s.StartMelodyOn = lineAt(lines, 4) == QLatin1String("1");
    s.StartMelodyFile = lineAt(lines, 5);
    if (s.StartMelodyFile.isEmpty())
        s.StartMelodyOn = false;
    s.SplitMinutes = splitMinutesFrom(lineAt(lines, 6));
    s.AutoLevelReduction = lineAt(lines, 7) != QLatin1String("0");
    s.bigButtonsMark = lineAt(lines, 8) == QLatin1String("0");
    const QString autoRecord = lineAt(lines, 9);
    s.AutoRecord = !(autoRecord.isEmpty() || autoRecord == QLatin1String("0"));
    s.DeleteAgeCode = shortText(lineAt(lines, 10));
    if (!QStringList{"0", "1", "2", "3", ""}.contains(s.DeleteAgeCode))
        s.DeleteAgeCode = defaults.DeleteAgeCode;
    const QList<double> times = readReals(lineAt(lines, 11), 2);
    s.MeetingTime1 = withinADay(times.at(0));
    s.MeetingTime2 = withinADay(times.at(1));
    if (const QString folder = lineAt(lines, 12); !folder.isEmpty())
        s.RecordingFolder = folder;
    if (const QString warn = lineAt(lines, 13); !warn.isEmpty())
        s.LevelWarnPercent = within(strToInt(warn), 0, 100, defaults.LevelWarnPercent);
    if (const QString peak = lineAt(lines, 14); !peak.isEmpty())
        s.LevelPeakPercent = within(strToInt(peak), 0, 100, defaults.LevelPeakPercent);
    const QString order = lineAt(lines, 15);
    s.FileNameOrder = order.isEmpty() ? 0 : within(strToInt(order), 0, 3, defaults.FileNameOrder);
    s.LanguageName = lineAt(lines, 16);
    s.ShutdownEnabled = lineAt(lines, 17) == QLatin1String("1");
    s.ShutdownDelay = withinADay(readReals(lineAt(lines, 18), 1).at(0));
}

QStringList write(const Settings& s) {
    const int split = s.SplitMinutes;
    const QString splitText = (split == 0 || split == 1) ? QStringLiteral("100") : QString::number(split);
    return {QString::number(s.windowHeight.value_or(0)),
            QString::number(s.windowWidth.value_or(0)),
            QString::number(s.InputVolume),
            flag(s.StartMelodyOn),
            s.StartMelodyFile,
            splitText,
            flag(s.AutoLevelReduction),
            flag(s.bigButtonsMark),
            flag(s.AutoRecord),
            s.DeleteAgeCode,
            formatReal(s.MeetingTime1) + formatReal(s.MeetingTime2),
            s.RecordingFolder,
            QString::number(s.LevelWarnPercent),
            QString::number(s.LevelPeakPercent),
            QString::number(s.FileNameOrder),
            s.LanguageName,
            flag(s.ShutdownEnabled),
            formatReal(s.ShutdownDelay)};
}

void readSongConfig(const QStringList& lines, SongConfig& c, bool legacy) {
    c.pfad = lineAt(lines, 1);
    c.SongFileExt = shortText(lineAt(lines, 2));
    c.InstallId = lineAt(lines, 3);
    if (legacy)
        return;
    if (const QString count = lineAt(lines, 4); !count.isEmpty())
        c.liedanzahl = within(strToInt(count), 1, 999, SongConfig().liedanzahl);
}

QStringList writeSongConfig(const SongConfig& c) {
    return {c.pfad, c.SongFileExt, c.InstallId, QString::number(c.liedanzahl)};
}

QString makeInstallId(DateTime today) {
    return QStringLiteral("47") + QString::number(static_cast<qint64>(std::floor(today))) +
           QStringLiteral("66");
}

} // namespace SettingsFormat
