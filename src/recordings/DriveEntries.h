#pragma once

#include "common/Drives.h"

#include <QString>
#include <vector>

namespace recordings {

// The name the drive list shows for a kind code, from the texts in use.
QString DriveKindName(int kind);

// One entry of the drive list: the folder to write to (the volume's root, or a folder the operator chose on
// it, with a closing "/") and the description (kind name, a blank, the label).
struct DriveEntry {
    QString folder;
    QString description;
    QString text() const { return folder + QLatin1Char('/') + description; }
};

// The entry of a volume, at its root.
DriveEntry DriveEntryOf(const Volume& volume);

// A line of the copy dialog's target list: the folder, two blanks, at most 40 characters of the description.
QString TargetLine(const DriveEntry& entry);

// Height of the "Optionen" group for `entries` entries, at most `room`.
int DriveGroupHeight(int entries, int room);

// The caption over the list: `saveHereToo`, with " (max. 4)" when more than four entries are listed.
QString DriveListHeading(const QString& saveHereToo, int entries);

// Entries of these kinds can never be checked (CD drives and RAM disks).
bool CannotBeChecked(const QString& description);

// The check marks after a change: at most the first four checked entries in list order stay, and never one
// that CannotBeChecked.
std::vector<bool> AllowedChecks(const std::vector<DriveEntry>& entries, const std::vector<bool>& checked);

// How an entry's text is drawn.
enum class EntryColour { Black, Grey, Olive };
EntryColour EntryColourOf(const QString& description);

// Whether `path` lies on the volume at `root` (which ends in "/").
bool LiesOnVolume(const QString& path, const QString& root);

} // namespace recordings
