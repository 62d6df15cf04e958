#pragma once

#include "app/TForm1.h"
#include "audio/AudioTestSupport.h"
#include "common/TextFile.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeDrives.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeFolders.h"
#include "fakes/FakeMediaDevice.h"
#include "fakes/FakePower.h"
#include "platform/DurableFileCopier.h"
#include "platform/audio/AudioFactory.h"
#include "ui_TForm1.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Builds the real main window on fake services whose files live in a temporary folder.
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override { clock.set(2026, 12, 9, 8, 0); }

    std::unique_ptr<TForm1> start() {
        Services services{dialogs,
                          clock,
                          folders,
                          library(),
                          drivesInUse ? *drivesInUse : drives,
                          copierInUse ? *copierInUse : copier,
                          power,
                          mediaInUse ? *mediaInUse : media,
                          files};
        services_ = std::make_unique<Services>(services);
        return std::make_unique<TForm1>(*services_);
    }
    AudioLibrary& library() { return audioInUse ? *audioInUse : *audio.library; }
    QString commonFile(const QString& name) { return folders.commonDataFolder() + "/Kandolor/" + name; }
    QString settingsFile() { return folders.userDataFolder() + QStringLiteral("/Kandolor/Kandolor.cfg"); }
    void writeFile(const QString& path, const QStringList& lines) {
        QDir().mkpath(QFileInfo(path).path());
        TextFile::writeLines(path, lines);
    }
    QByteArray bytesOf(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // A one-second MP3 song, made once per test program.
    static QString templateSong() {
        static QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("song.mp3"));
        if (!QFile::exists(path))
            audiotest::makeMp3(path, 44100, 2,
                               audiotest::sine(44100, 2, 44100, [](std::int64_t) { return 440.0; }));
        return path;
    }
    // A song folder with count one-second songs iasn_<code>_001.mp3 ..., configured as the song folder.
    QString makeSongFolder(int count, const QString& code = QStringLiteral("X")) {
        const QString folder = folders.root() + QStringLiteral("/lieder/");
        QDir().mkpath(folder);
        for (int n = 1; n <= count; ++n)
            QFile::copy(templateSong(),
                        folder + QStringLiteral("iasn_%1_%2.mp3").arg(code).arg(n, 3, 10, QLatin1Char('0')));
        writeFile(commonFile("Kandolor.txt"),
                  {folder, QStringLiteral(".mp3"), QStringLiteral("474500066"), QStringLiteral("135")});
        return folder;
    }
    // Puts a song number into slot 1..3 as the song list would, running the slot's handler.
    static void setSlot(TForm1& form, int slot, int number);
    QStringList fullSettings() {
        return {QStringLiteral("700"),
                QStringLiteral("900"),
                QStringLiteral("64"),
                QStringLiteral("0"),
                QString(),
                QStringLiteral("20"),
                QStringLiteral("1"),
                QStringLiteral("0"),
                QStringLiteral("1"),
                QStringLiteral("3"),
                QStringLiteral(" 8.12500000000000E-0001 4.16666666666667E-0001"),
                folders.homeFolder() + QStringLiteral("/Mitschnitte/"),
                QStringLiteral("75"),
                QStringLiteral("90"),
                QStringLiteral("2"),
                QString(),
                QStringLiteral("1"),
                QStringLiteral(" 2.08333333333333E-0002")};
    }

    FakeDialogs dialogs;
    FakeClock clock;
    FakeFolders folders;
    NullAudioLibrary audio = createNullAudioLibrary();
    FakeDrives drives;
    DurableFileCopier copier;
    FakePower power;
    FakeMediaDevice media;
    FakeFileSystem files;
    // Other seams a test puts in place of the fakes above (the real engine, the real volumes, a copier that
    // interferes).
    AudioLibrary* audioInUse = nullptr;
    Drives* drivesInUse = nullptr;
    FileCopier* copierInUse = nullptr;
    MediaDevice* mediaInUse = nullptr;
    std::unique_ptr<Services> services_;
};
