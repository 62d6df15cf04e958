#include "SlotNumber.h"

#include "SongFiles.h"
#include "common/KandolorError.h"

std::optional<int> slotNumber(const QString& text) {
    try {
        return strToInt(text);
    } catch (const KandolorError&) {
        return std::nullopt;
    }
}

SlotCheck checkSlot(const QString& text, const SongSource& source) {
    SlotCheck check;
    const std::optional<int> number = slotNumber(text);
    if (!number)
        return check;
    check.number = *number;
    if (*number < 1 || *number > source.songCount) {
        check.state = SlotState::OutOfRange;
        return check;
    }
    const QString name = FindSongFile(source.folder, source.languageCode, source.ext, *number, true);
    if (name.isEmpty()) {
        check.state = SlotState::NoFile;
        return check;
    }
    check.state = SlotState::Found;
    check.file = source.folder + name;
    return check;
}

std::optional<Rgb> slotColour(SlotState state) {
    switch (state) {
    case SlotState::OutOfRange:
        return SlotInvalidColour;
    case SlotState::Found:
        return SlotValidColour;
    default:
        return std::nullopt;
    }
}
