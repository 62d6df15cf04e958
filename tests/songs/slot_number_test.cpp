#include "songs/SlotNumber.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct SlotCase {
    const char* text;
    SlotState state;
    int number;
    const char* file; // relative to the folder, when found
};

class TypedSlotNumber : public ::testing::TestWithParam<SlotCase> {
protected:
    void SetUp() override {
        for (const char* name : {"iasn_X_007.mp3", "iasn_E_009.mp3", "iasn_X_135.mp3"}) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        source.folder = dir.path() + QLatin1Char('/');
        source.languageCode = QStringLiteral("X");
        source.ext = QStringLiteral(".mp3");
        source.songCount = 135;
    }
    QTemporaryDir dir;
    SongSource source;
};

} // namespace

TEST_P(TypedSlotNumber, DecidesWhatTheSlotHandlerDoes) {
    const SlotCase& c = GetParam();
    const SlotCheck check = checkSlot(QString::fromUtf8(c.text), source);
    EXPECT_EQ(check.state, c.state) << c.text;
    EXPECT_EQ(check.number, c.number) << c.text;
    EXPECT_EQ(check.file, c.file ? source.folder + QString::fromUtf8(c.file) : QString()) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Cases, TypedSlotNumber,
                         ::testing::Values(SlotCase{"7", SlotState::Found, 7, "iasn_X_007.mp3"},
                                           SlotCase{"  7", SlotState::Found, 7, "iasn_X_007.mp3"},
                                           SlotCase{"9", SlotState::Found, 9, "iasn_E_009.mp3"},
                                           SlotCase{"135", SlotState::Found, 135, "iasn_X_135.mp3"},
                                           SlotCase{"0", SlotState::OutOfRange, 0, nullptr},
                                           SlotCase{"-3", SlotState::OutOfRange, -3, nullptr},
                                           SlotCase{"136", SlotState::OutOfRange, 136, nullptr},
                                           SlotCase{"8", SlotState::NoFile, 8, nullptr},
                                           SlotCase{"1a", SlotState::NotANumber, 0, nullptr},
                                           SlotCase{"7 ", SlotState::NotANumber, 0, nullptr},
                                           SlotCase{"", SlotState::NotANumber, 0, nullptr}));
