#include "LevelBar.h"

#include <algorithm>

namespace recording {

int LevelPixels(int level) {
    // level × 0.00396 = level × 396 / 100000, rounded half to even without floating point.
    const long long scaled = static_cast<long long>(level) * 396;
    const long long denominator = 100000;
    long long whole = scaled / denominator;
    long long rest = scaled % denominator;
    if (rest < 0) {
        --whole;
        rest += denominator;
    }
    if (rest * 2 > denominator || (rest * 2 == denominator && whole % 2 != 0))
        ++whole;
    return static_cast<int>(whole);
}

std::vector<LevelFill> DrawLevelMeter(int level, int peak, int warnPixels, int peakPixels) {
    std::vector<LevelFill> fills;
    const auto fill = [&fills](int left, int right, LevelColour colour) {
        left = std::max(left, 0);
        right = std::min(right, LevelBarWidth);
        if (left < right)
            fills.push_back({left, right, colour});
    };
    const int w = warnPixels;
    const int p = peakPixels;
    const int peakX = LevelPixels(peak) - 2;
    const int barX = LevelPixels(level);

    if (peak == 0)
        fill(0, LevelBarWidth, LevelColour::White);
    if (barX < peakX) {
        fill(barX, peakX, LevelColour::White);
        fill(peakX + 2, LevelBarWidth, LevelColour::White);
    }
    fill(w + 1, w + 3, LevelColour::Yellow);
    fill(p + 1, p + 2, LevelColour::Red);
    if (level == 0 && peak == 0)
        return fills;
    if (barX < w) {
        fill(0, barX, LevelColour::Green);
        return fills;
    }
    fill(0, w, LevelColour::Green);
    if (barX < p) {
        fill(w + 1, barX, LevelColour::Yellow);
        return fills;
    }
    fill(w + 1, p, LevelColour::Yellow);
    fill(p + 1, barX, LevelColour::Red);
    return fills;
}

void LevelBar::Draw(int level, int peak, int warnPixels, int peakPixels) {
    for (const LevelFill& f : DrawLevelMeter(level, peak, warnPixels, peakPixels))
        std::fill(columns_.begin() + f.left, columns_.begin() + f.right, f.colour);
}

} // namespace recording
