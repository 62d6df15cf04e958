#pragma once

#include "common/DateTime.h"
#include "music/RandomPool.h"

#include <QByteArray>
#include <QString>
#include <array>

// Run-time state of the main window that start-up sets and the subsystems share.
struct AppState {
    QString CommonDataFolder;
    QString UserDataFolder;
    QString user;
    QString userinfo;
    int LanguageCount = 0;
    int TodayWeekday = 1; // 1 = Sunday ... 7 = Saturday
    int RecordingCounter = 1;
    QString SongLanguageCode = QStringLiteral("X");
    music::RandomPool RandomSongPool;
    int PickerFullRows = 0;
    int PickerLastRowCells = 0;
    DateTime NextMeetingTime = 0;
    bool SlotChosen = false;
    QString pfad_lk;
    // Files of the playback sources: 1..3 meeting slots, 4 other source, 5..7 background music, 8 random
    // song.
    std::array<QString, 9> SlotFiles;
    bool CdSource = false;
    // The file the one open-file dialog holds: the one chosen last there, as a source or as the melody.
    QString OpenDialogFile;
    // Hand-over of a finished recording to the finishing thread: 0 temporary name, 1..3 topic, speaker and
    // comment, 4 file name, 5..8 copy targets, 9 final name, 10 temporary name of the finished file.
    std::array<QString, 11> texte;
    // The folders of the copy targets in slots 5..8.
    std::array<QString, 4> copyFolders;
    bool neu = false;
    bool kopie = false;
};
