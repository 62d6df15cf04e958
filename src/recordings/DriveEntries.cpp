#include "recordings/DriveEntries.h"

#include <algorithm>

namespace recordings {

QString DriveKindName(int kind) {
    switch (kind) {
    case DriveUnknown:
        return QStringLiteral("konnte nicht ermittelt werden");
    case DriveNoRoot:
        return QStringLiteral("Existiert nicht");
    case DriveRemovable:
        return QStringLiteral("Wechseldatenträger");
    case DriveFixed:
        return QStringLiteral("Festplatte");
    case DriveNetwork:
        return QStringLiteral("Netzlaufwerk");
    case DriveCdRom:
        return QStringLiteral("CDROM");
    case DriveRamDisk:
        return QStringLiteral("RAMdisk");
    default:
        return QStringLiteral("Unbekannt");
    }
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
    return description.startsWith(QLatin1String("CDROM")) || description.startsWith(QLatin1String("RAMdisk"));
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
    for (const char* grey : {"CDROM", "RAMdisk", "Existiert nicht"})
        if (kind.startsWith(QLatin1String(grey)))
            return EntryColour::Grey;
    for (const char* olive : {"Netzlaufwerk", "Unbekannt"})
        if (kind.startsWith(QLatin1String(olive)))
            return EntryColour::Olive;
    return EntryColour::Black;
}

bool LiesOnVolume(const QString& path, const QString& root) {
    return !root.isEmpty() && path.startsWith(root);
}

} // namespace recordings
