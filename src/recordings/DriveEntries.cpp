#include "recordings/DriveEntries.h"
#include "settings/UiTexts.h"

#include <algorithm>
#include <initializer_list>

namespace recordings {

namespace {
int kindText(int kind) {
    switch (kind) {
    case DriveUnknown:
        return UiText::DriveUnknown;
    case DriveNoRoot:
        return UiText::DriveNoRoot;
    case DriveRemovable:
        return UiText::DriveRemovable;
    case DriveFixed:
        return UiText::DriveFixed;
    case DriveNetwork:
        return UiText::DriveNetwork;
    case DriveCdRom:
        return UiText::DriveCdRom;
    case DriveRamDisk:
        return UiText::DriveRamDisk;
    default:
        return UiText::DriveOther;
    }
}

// Whether the description begins with the name of one of the kinds, in the texts in use or built in (an
// entry keeps the description it got when its volume came).
bool isOfKind(const QString& description, std::initializer_list<int> kinds) {
    const QStringList builtIn = defaultUiTexts();
    return std::any_of(kinds.begin(), kinds.end(), [&](int kind) {
        return description.startsWith(DriveKindName(kind)) ||
               description.startsWith(builtIn.at(kindText(kind)));
    });
}
} // namespace

QString DriveKindName(int kind) {
    return uiText(kindText(kind));
}

DriveEntry DriveEntryOf(const Volume& volume) {
    return {volume.root, DriveKindName(volume.kind) + QLatin1Char(' ') + volume.label};
}

QString TargetLine(const DriveEntry& entry) {
    return entry.folder + QStringLiteral("  ") + entry.description.left(40);
}

int DriveGroupHeight(int entries, int room) {
    const int wanted = entries * (30 + 2) + 45;
    return wanted < room ? wanted : room;
}

QString DriveListHeading(const QString& saveHereToo, int entries) {
    return entries > 4 ? saveHereToo + QStringLiteral(" (max. 4)") : saveHereToo;
}

bool CannotBeChecked(const QString& description) {
    return isOfKind(description, {DriveCdRom, DriveRamDisk});
}

std::vector<bool> AllowedChecks(const std::vector<DriveEntry>& entries, const std::vector<bool>& checked) {
    std::vector<bool> allowed(entries.size(), false);
    int count = 0;
    for (std::size_t i = 0; i < entries.size() && i < checked.size(); ++i) {
        if (!checked[i] || count == 4 || CannotBeChecked(entries[i].description))
            continue;
        allowed[i] = true;
        ++count;
    }
    return allowed;
}

EntryColour EntryColourOf(const QString& description) {
    const QString kind = description.left(35);
    if (isOfKind(kind, {DriveCdRom, DriveRamDisk, DriveNoRoot}))
        return EntryColour::Grey;
    if (isOfKind(kind, {DriveNetwork, DriveOther}))
        return EntryColour::Olive;
    return EntryColour::Black;
}

bool LiesOnVolume(const QString& path, const QString& root) {
    return !root.isEmpty() && path.startsWith(root);
}

} // namespace recordings
