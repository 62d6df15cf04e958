#include "recordings/DriveEntries.h"
#include "settings/UiTexts.h"

#include <gtest/gtest.h>

using namespace recordings;

namespace {
DriveEntry entry(const char* folder, int kind, const char* label = "") {
    return DriveEntryOf({QString::fromUtf8(folder), QString(), kind, QString::fromUtf8(label), true});
}
} // namespace

TEST(DriveEntries, TextAndTargetLineKeepFolderAndDescriptionApart) {
    const DriveEntry stick = entry("/media/op/STICK/", DriveRemovable, "STICK");
    EXPECT_EQ(stick.folder, "/media/op/STICK/");
    EXPECT_EQ(stick.text(), QStringLiteral("/media/op/STICK//Wechseldatenträger STICK"));
    EXPECT_EQ(TargetLine(stick), QStringLiteral("/media/op/STICK/  Wechseldatenträger STICK"));
    // Without a label the description ends in the blank after the kind.
    EXPECT_EQ(entry("/mnt/disk/", DriveFixed).description, "Festplatte ");
    // The target line takes at most 40 characters of the description.
    const DriveEntry longLabel = entry("/mnt/n/", DriveNetwork, "Aufnahmen der Versammlung Nord 2026");
    EXPECT_EQ(TargetLine(longLabel), "/mnt/n/  " + longLabel.description.left(40));
}

TEST(DriveEntries, KindNamesByCode) {
    const std::pair<int, const char*> names[] = {{0, "konnte nicht ermittelt werden"},
                                                 {1, "Existiert nicht"},
                                                 {2, "Wechseldatenträger"},
                                                 {3, "Festplatte"},
                                                 {4, "Netzlaufwerk"},
                                                 {5, "CDROM"},
                                                 {6, "RAMdisk"},
                                                 {9, "Unbekannt"},
                                                 {7, "Unbekannt"}};
    for (const auto& [code, name] : names)
        EXPECT_EQ(DriveKindName(code), QString::fromUtf8(name)) << code;
}

TEST(DriveEntries, GroupHeightAndHeading) {
    EXPECT_EQ(DriveGroupHeight(0, 234), 45);
    EXPECT_EQ(DriveGroupHeight(1, 234), 77);
    EXPECT_EQ(DriveGroupHeight(4, 234), 173);
    EXPECT_EQ(DriveGroupHeight(6, 234), 234);
    EXPECT_EQ(DriveGroupHeight(1, 77), 77);
    EXPECT_EQ(DriveListHeading("hier ebenfalls speichern", 4), "hier ebenfalls speichern");
    EXPECT_EQ(DriveListHeading("hier ebenfalls speichern", 5), "hier ebenfalls speichern (max. 4)");
}

TEST(DriveEntries, AtMostFourChecksAndNeverACdOrRamDisk) {
    const std::vector<DriveEntry> entries = {entry("/a/", DriveRemovable), entry("/cd/", DriveCdRom),
                                             entry("/b/", DriveRemovable), entry("/ram/", DriveRamDisk),
                                             entry("/c/", DriveFixed),     entry("/d/", DriveNetwork),
                                             entry("/e/", DriveRemovable)};
    const std::vector<bool> all(entries.size(), true);
    EXPECT_EQ(AllowedChecks(entries, all), (std::vector<bool>{true, false, true, false, true, true, false}));
    std::vector<bool> some(entries.size(), false);
    some[1] = some[6] = true;
    EXPECT_EQ(AllowedChecks(entries, some),
              (std::vector<bool>{false, false, false, false, false, false, true}));
}

TEST(DriveEntries, ColoursByKind) {
    EXPECT_EQ(EntryColourOf(entry("/cd/", DriveCdRom).description), EntryColour::Grey);
    EXPECT_EQ(EntryColourOf(entry("/r/", DriveRamDisk).description), EntryColour::Grey);
    EXPECT_EQ(EntryColourOf(entry("/x/", DriveNoRoot).description), EntryColour::Grey);
    EXPECT_EQ(EntryColourOf(entry("/n/", DriveNetwork).description), EntryColour::Olive);
    EXPECT_EQ(EntryColourOf(entry("/o/", DriveOther).description), EntryColour::Olive);
    EXPECT_EQ(EntryColourOf(entry("/s/", DriveRemovable).description), EntryColour::Black);
    EXPECT_EQ(EntryColourOf(entry("/f/", DriveFixed).description), EntryColour::Black);
}

TEST(DriveEntries, AFileLiesOnTheVolumeBelowItsRootOnly) {
    EXPECT_TRUE(LiesOnVolume("/media/op/STICK/lied.mp3", "/media/op/STICK/"));
    EXPECT_TRUE(LiesOnVolume("/dev/sr0/Track05.cda", "/dev/sr0/"));
    EXPECT_FALSE(LiesOnVolume("/media/op/STICK2/lied.mp3", "/media/op/STICK/"));
    EXPECT_FALSE(LiesOnVolume("sonstige Quelle", "/media/op/STICK/"));
    EXPECT_FALSE(LiesOnVolume("/media/x.mp3", ""));
}

TEST(DriveEntries, KindsFollowTheTextsInUseAndEntriesOfTheBuiltInTextsKeepTheirRules) {
    const DriveEntry ramGerman = entry("/ram/", DriveRamDisk);
    const DriveEntry netGerman = entry("/net/", DriveNetwork);
    QStringList texts = defaultUiTexts();
    texts[UiText::DriveRamDisk] = "RAM disk";
    texts[UiText::DriveNetwork] = "Network drive";
    setCurrentUiTexts(texts);
    const DriveEntry ram = entry("/ram/", DriveRamDisk);
    EXPECT_EQ(ram.description, "RAM disk ");
    EXPECT_TRUE(CannotBeChecked(ram.description));
    EXPECT_TRUE(CannotBeChecked(ramGerman.description)) << "made before the language changed";
    EXPECT_EQ(EntryColourOf(entry("/net/", DriveNetwork).description), EntryColour::Olive);
    EXPECT_EQ(EntryColourOf(netGerman.description), EntryColour::Olive);
    EXPECT_FALSE(CannotBeChecked(entry("/a/", DriveRemovable).description));
    setCurrentUiTexts(defaultUiTexts());
}
