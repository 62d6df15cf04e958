#include "TagBytes.h"
#include "recordings/OldRecordings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace recordings;

namespace {

DateTime at(int month, int day, int hour = 0, int minute = 0) {
    return toDateTime(QDateTime(QDate(2026, month, day), QTime(hour, minute)));
}

class OldRecordingsFolder : public ::testing::Test {
protected:
    QString folder() const { return dir.path() + QLatin1Char('/'); }
    // A file with a tag holding `frameId` = "text" (ISO-8859-1), last changed at `modified`.
    void make(const QString& name, const char* frameId, const QByteArray& text, DateTime modified) {
        QFile file(folder() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(TagBytes::tag(3, TagBytes::frame(frameId, '\0' + text)) + QByteArray(400, '\xAA'));
        file.flush(); // before the time is set, or the close would set it again
        file.setFileTime(toQDateTime(modified), QFileDevice::FileModificationTime);
    }
    QStringList names(const QStringList& paths) const {
        QStringList out;
        for (const QString& path : paths)
            out << QFileInfo(path).fileName();
        return out;
    }
    QTemporaryDir dir;
};

} // namespace

TEST(OldRecordings, AgesByCalendarDayAndOwnRecordingsByTheirMark) {
    EXPECT_EQ(DeleteAgeDays("0"), 0);
    EXPECT_EQ(DeleteAgeDays("1"), 30);
    EXPECT_EQ(DeleteAgeDays("3"), 90);
    EXPECT_EQ(DeleteAgeDays("7"), 0);
    // Written on 1 March at 19:30 or at 0:00: kept on 31 March, gone from 1 April on, whatever the hour.
    for (const DateTime written : {at(3, 1, 19, 30), at(3, 1)}) {
        EXPECT_FALSE(IsOldEnough(written, at(3, 31, 23, 59), 30));
        EXPECT_TRUE(IsOldEnough(written, at(4, 1, 0, 1), 30));
    }
    EXPECT_TRUE(IsOwnRecording(QStringLiteral("ID3ERR_NoTag"), QStringLiteral("Kandolor   Max  01.03.2026")));
    EXPECT_TRUE(IsOwnRecording(QStringLiteral("Kandolor Max"), QString()));
    EXPECT_FALSE(IsOwnRecording(QStringLiteral("kandolor"), QStringLiteral("Ein Album")));
}

TEST_F(OldRecordingsFolder, DeletesOnlyOldOwnRecordingsThatNothingIsWorkingOn) {
    make(QStringLiteral("Max_2026_3_1_Vortrag.mp3"), "TALB", "Kandolor   Max  01.03.2026", at(3, 1, 19, 30));
    make(QStringLiteral("umbenannt.MP3"), "TALB", "Kandolor Max", at(2, 1));
    make(QStringLiteral("komponist.mp3"), "TCOM", "Kandolor", at(2, 1));
    make(QStringLiteral("fremd.mp3"), "TALB", "Greatest Hits", at(1, 1));
    make(QStringLiteral("neu.mp3"), "TALB", "Kandolor Max", at(3, 31));
    make(QStringLiteral("in_arbeit.mp3"), "TALB", "Kandolor Max", at(1, 1));
    make(QStringLiteral("alt.wav"), "TALB", "Kandolor Max", at(1, 1));
    QFile(folder() + "leer.mp3").open(QIODevice::WriteOnly); // no tag at all
    QDir(folder()).mkdir(QStringLiteral("unterordner.mp3"));

    const QSet<QString> busy{folder() + "in_arbeit.mp3"};
    EXPECT_EQ(names(OldRecordingsToDelete(folder(), at(3, 31, 10), 30, busy)),
              (QStringList{"umbenannt.MP3", "komponist.mp3"}));
    EXPECT_EQ(names(OldRecordingsToDelete(folder(), at(4, 1, 10), 30, busy)),
              (QStringList{"umbenannt.MP3", "Max_2026_3_1_Vortrag.mp3", "komponist.mp3"}))
        << "from the last name to the first";
    EXPECT_TRUE(OldRecordingsToDelete(folder() + "fehlt/", at(4, 1), 30, {}).isEmpty());
}

TEST_F(OldRecordingsFolder, AFileThatCannotBeReadIsSkippedAndTheRestGoes) {
    make(QStringLiteral("a.mp3"), "TALB", "Kandolor", at(1, 1));
    make(QStringLiteral("b.mp3"), "TALB", "Kandolor", at(1, 1));
    // A tag that ends inside a frame header, as a file still being written may.
    QFile cut(folder() + "c.mp3");
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(TagBytes::tag(3, QByteArray(), 0, 0, 100) + QByteArray("TAL", 3));
    cut.flush();
    cut.setFileTime(toQDateTime(at(1, 1)), QFileDevice::FileModificationTime);
    EXPECT_EQ(names(OldRecordingsToDelete(folder(), at(4, 1), 30, {})), (QStringList{"b.mp3", "a.mp3"}));
}
