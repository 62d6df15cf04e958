#include "app/recording/RecordingFixture.h"
#include "app/recordings/ListTexts.h"
#include "app/recordings/TDualListDlg.h"
#include "recordings/CopyLists.h"
#include "ui_TDualListDlg.h"

#include <QStandardPaths>

namespace {

// A recording running and one whose encoder has not exited yet, beside finished ones.
class UnfinishedRecordingsTest : public RecordingFixture {
protected:
    void TearDown() override {
        if (!path_.isEmpty())
            qputenv("PATH", path_);
        RecordingFixture::TearDown();
    }
    // Encoders that stay after their input has ended until the file `gate` exists (at most a minute).
    void holdEncodersUntil(const QString& gate) {
        const QString bin = folders.root() + QStringLiteral("/bin");
        QDir().mkpath(bin);
        QFile file(bin + QStringLiteral("/lame"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n\"" +
                   QFile::encodeName(QStandardPaths::findExecutable(QStringLiteral("lame"))) +
                   "\" \"$@\"\ni=0\nwhile [ ! -e '" + QFile::encodeName(gate) +
                   "' ] && [ $i -lt 600 ]; do sleep 0.1; i=$((i+1)); done\n");
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        path_ = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin) + ':' + path_);
    }
    // A recording as the encoder leaves it, with the system's mark.
    static void makeEncoderFile(const QString& path) {
        QDir().mkpath(QFileInfo(path).path());
        audiotest::makeMp3(path, 22050, 1,
                           audiotest::sine(22050, 1, 22050, [](std::int64_t) { return 440.0; }), 48,
                           {QStringLiteral("--id3v2-only"), QStringLiteral("--tl"),
                            QStringLiteral("Kandolor   Max Muster  02.12.2026")});
    }
    QStringList fileLines(const QListWidget& list) {
        QStringList files = listTexts(list);
        files.removeIf([](const QString& line) { return recordings::IsHeading(line); });
        return files;
    }

    QByteArray path_;
};

} // namespace

TEST_F(UnfinishedRecordingsTest, AreNeitherOfferedForCopyingNorDeleted) {
    // Files are dated by the real clock: the window's day is the real one.
    const QDate today = QDate::currentDate();
    clock.set(today.year(), today.month(), today.day(), 12, 0);
    const QString gate = folders.root() + QStringLiteral("/gate");
    makeEncoderFile(recordings() + "aufnahme4.mp3"); // left by a crash
    holdEncodersUntil(gate);
    QStringList settings = fullSettings();
    settings[5] = QStringLiteral("100"); // no splitting
    settings[8] = QStringLiteral("0");   // recordings by hand
    settings[9] = QStringLiteral("1");   // delete after 30 days
    settings[11] = recordings();
    writeFile(settingsFile(), settings);
    auto form = start();
    Ui::TForm1& ui = form->form();
    // The left-over has been finished under its name at the start, and is offered as such.
    const QStringList finished = mp3Files();
    ASSERT_EQ(finished.size(), 1);
    EXPECT_FALSE(finished.first().startsWith("aufnahme"));

    ui.Datei->setText(QStringLiteral("Erster.mp3"));
    ui.bRecord->click();
    record(*form, 1.0);
    ui.bStop->click();
    ui.Datei->setText(QStringLiteral("Zweiter.mp3"));
    ui.bRecord->click();
    record(*form, 1.0);
    ASSERT_TRUE(form->finisher().busy()) << "the first waits for its encoder";
    ASSERT_TRUE(form->capture().channelActive()) << "the second runs";
    letTheEncoderCatchUp(*form);
    ASSERT_TRUE(QTest::qWaitFor([&] { return mp3Files().size() == 3; }, 10000))
        << mp3Files().join('|').toStdString();
    const QStringList all = mp3Files();

    TDualListDlg& dialog = form->copyDialog();
    dialog.FormActivate();
    EXPECT_EQ(fileLines(*dialog.form().SrcList), finished);

    // Two months later every file is old enough; only the finished one is deleted.
    const QDate later = today.addMonths(2);
    clock.set(later.year(), later.month(), later.day(), 12, 0);
    ui.Button1->click();
    QStringList unfinished = all;
    unfinished.removeAll(finished.first());
    EXPECT_EQ(mp3Files(), unfinished);

    ui.bStop->click();
    QFile(gate).open(QIODevice::WriteOnly);
    waitForFinishing(*form);
    dialog.FormActivate();
    EXPECT_EQ(fileLines(*dialog.form().SrcList), (QStringList{"Erster.mp3", "Zweiter.mp3"}));
}
