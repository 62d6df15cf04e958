#pragma once

#include "common/DateTime.h"

#include <QString>
#include <QStringList>
#include <optional>

// The persisted settings of the per-user settings file, with their defaults.
struct Settings {
    std::optional<int> windowHeight; // applied to the window when read
    std::optional<int> windowWidth;
    int InputVolume = 50;
    bool StartMelodyOn = false;
    QString StartMelodyFile;
    int SplitMinutes = 100;
    bool AutoLevelReduction = false;
    bool bigButtonsMark = false; // check mark of the big-buttons menu item
    bool AutoRecord = false;
    QString DeleteAgeCode = QStringLiteral("0");
    DateTime MeetingTime1 = 0;
    DateTime MeetingTime2 = 0;
    QString RecordingFolder;
    int LevelWarnPercent = 70;
    int LevelPeakPercent = 88;
    int FileNameOrder = 0;
    QString LanguageName;
    bool ShutdownEnabled = false;
    DateTime ShutdownDelay = 0;

    // Derived: pixels of the 130-pixel level bar.
    int LevelWarnPixels = 91;
    int LevelPeakPixels = 114;
    void recomputeLevelPixels();
};

// The song configuration shared by all users.
struct SongConfig {
    QString pfad;
    QString SongFileExt;
    QString InstallId;
    int liedanzahl = 135;
};

namespace SettingsFormat {

// Reads the settings file's lines into s, line by line. Lines 1 to 3 are required; a file that ends
// early reads the missing lines as empty. A bad line throws KandolorError and leaves the lines
// before it applied; the derived values and fix-ups of the end are applied in every case.
void read(const QStringList& lines, Settings& s);
QStringList write(const Settings& s);

// Reads the song configuration (4 lines) or the legacy one (3 lines, legacy = true).
void readSongConfig(const QStringList& lines, SongConfig& c, bool legacy);
QStringList writeSongConfig(const SongConfig& c);

// "47" + days since 1899-12-30 of today + "66".
QString makeInstallId(DateTime today);

// A real number as a 23-character field: " 8.12500000000000E-0001".
QString formatReal(double value);
// The real numbers of one line, blanks skipped; missing ones are 0. Throws "E/A-Fehler 106" on other text.
QList<double> readReals(const QString& line, int count);

} // namespace SettingsFormat
