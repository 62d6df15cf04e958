#include "LevelControl.h"

namespace recording {

int LevelOf(std::int32_t channelLevel) {
    if (channelLevel == -1)
        return 0;
    return static_cast<int>(static_cast<std::uint32_t>(channelLevel) & 0xFFFFu);
}

int VolumeStepDown(int position) {
    return position > 0 ? position - 1 : position;
}

int VolumeStepUp(int position) {
    return position < 100 ? position + 1 : position;
}

float InputVolumeOf(int position) {
    return static_cast<float>(position) / 100.0f;
}

LevelMonitor::Step LevelMonitor::Tick(std::int32_t channelLevel, int sliderPosition,
                                      bool autoLevelReduction) {
    Step step{LevelOf(channelLevel), PeakLevel, false};
    if (++PeakHoldTicks >= PeakHoldWindow) {
        PeakHoldTicks = 0;
        PeakLevel = 0;
    }
    if (step.level > PeakLevel)
        PeakLevel = step.level;
    if (step.level >= OverloadLevel && sliderPosition > LowestAutoPosition && autoLevelReduction)
        ++OverloadTicks;
    else
        OverloadTicks = 0;
    if (OverloadTicks == 2) {
        step.lowerVolume = true;
        OverloadTicks = 0;
    }
    return step;
}

} // namespace recording
