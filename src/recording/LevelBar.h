#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace recording {

inline constexpr int LevelBarWidth = 130;
inline constexpr int LevelBarHeight = 10;

// Colours of the level bar: white 255,255,255; yellow 255,255,0; red 255,0,0; green 0,128,0.
enum class LevelColour : std::uint8_t { White, Yellow, Red, Green };

// Fill of the columns left..right-1 over the bar's full height.
struct LevelFill {
    int left;
    int right;
    LevelColour colour;
    bool operator==(const LevelFill&) const = default;
};

// Bar position of a level 0..32768: Round(level × 0.00396), halves to the even neighbour, computed exactly
// (full scale 32768 → 130).
int LevelPixels(int level);

// The fills of DrawLevelMeter(level, peak) in the order they are made, clipped to the bar, empty ones left
// out. W = LevelWarnPixels, P = LevelPeakPixels. The two columns from Round(peak × 0.00396) − 2 on are not
// filled when the bar stays below them: they keep their colour and form the peak marker. Columns W and P are
// never filled by the bar itself.
std::vector<LevelFill> DrawLevelMeter(int level, int peak, int warnPixels, int peakPixels);

// The colours of the bar's columns, kept between draws (the peak marker is what earlier draws left).
class LevelBar {
public:
    LevelBar() { Clear(); }
    // Applies DrawLevelMeter's fills.
    void Draw(int level, int peak, int warnPixels, int peakPixels);
    // The whole bar white (the stop of a recording).
    void Clear() { columns_.fill(LevelColour::White); }
    LevelColour column(int x) const { return columns_.at(static_cast<std::size_t>(x)); }
    const std::array<LevelColour, LevelBarWidth>& columns() const { return columns_; }

private:
    std::array<LevelColour, LevelBarWidth> columns_{};
};

} // namespace recording
