#pragma once

#include <cstdint>

namespace recording {

// Lowest level that counts as overload (about 76 % of full scale).
inline constexpr int OverloadLevel = 25001;
// The automatic reduction lowers the volume only while the slider stands above this position.
inline constexpr int LowestAutoPosition = 40;
// Ticks of one peak-hold window (1.05 s at 50 ms).
inline constexpr int PeakHoldWindow = 21;

// The level of a channel as the library reports it: -1 (no value) is 0, otherwise the low 16 bits.
int LevelOf(std::int32_t channelLevel);

// Position after the "-" button (Button5Click) and the "+" button (Button6Click); the slider spans 0..100.
int VolumeStepDown(int position);
int VolumeStepUp(int position);

// Volume 0..1 given to the input for a slider position (ApplyInputLevel).
float InputVolumeOf(int position);

// The level steps of RecordingTick: peak hold and automatic reduction. PeakLevel, PeakHoldTicks and the
// overload counter keep their values between recordings.
class LevelMonitor {
public:
    struct Step {
        int level;        // level to draw
        int meterPeak;    // peak to draw: the peak up to the previous tick
        bool lowerVolume; // move the slider one position down (which applies the new volume)
    };

    // One tick with the channel's level as the library reported it, the slider's position and whether the
    // automatic reduction is on.
    Step Tick(std::int32_t channelLevel, int sliderPosition, bool autoLevelReduction);

    int PeakLevel = 0;
    int PeakHoldTicks = 0;
    int OverloadTicks = 0;
};

} // namespace recording
