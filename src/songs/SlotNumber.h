#pragma once

#include <QString>
#include <optional>

// A typed song number in a meeting slot field and what the slot handler does with it.

struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb&) const = default;
};
constexpr Rgb SlotValidColour{255, 255, 255};
constexpr Rgb SlotInvalidColour{242, 43, 43};

// The field's text as an integer (the whole text a number, leading blanks allowed), or none.
std::optional<int> slotNumber(const QString& text);

enum class SlotState {
    NotANumber, // nothing changes, the player is not told
    OutOfRange, // uncheck the slot, colour it red, run CheckBox1Click
    Found,      // SlotFiles[n] := file, enable and check the slot, SlotChosen, white, run CheckBox1Click
    NoFile,     // no file matches: the slot keeps file, check box and colour; hide the picker
};

struct SlotCheck {
    SlotState state = SlotState::NotANumber;
    int number = 0;
    QString file; // full path (folder + file name) when Found
};

// Where the slot's song comes from: pfad_lk, SongLanguageCode, SongFileExt, liedanzahl.
struct SongSource {
    QString folder;
    QString languageCode;
    QString ext;
    int songCount = 135;
};

// Checks a slot field's text and finds its song file (with fallback to any language code).
SlotCheck checkSlot(const QString& text, const SongSource& source);
// The colour of a slot field for a state that changes it (OutOfRange red, Found white), none otherwise.
std::optional<Rgb> slotColour(SlotState state);
