#include "CaptureInputs.h"

#include "common/AudioLibrary.h"

#include <algorithm>

void CaptureInputs::reset(const QStringList& deviceNames) {
    inputs_.clear();
    onOrder_.clear();
    inputs_.push_back(Input{QStringLiteral("Default"), QString(), true, 1.0f});
    onOrder_.push_back(0);
    for (const QString& name : deviceNames)
        inputs_.push_back(Input{name, name, false, 1.0f});
}

std::optional<QString> CaptureInputs::name(int input) const {
    if (input < 0 || input >= static_cast<int>(inputs_.size()))
        return std::nullopt;
    return inputs_[static_cast<size_t>(input)].name;
}

std::int32_t CaptureInputs::flags(int input) const {
    if (input < 0 || input >= static_cast<int>(inputs_.size()))
        return -1;
    return inputs_[static_cast<size_t>(input)].on ? 0 : static_cast<std::int32_t>(AudioLibrary::InputOff);
}

bool CaptureInputs::set(int input, std::uint32_t flags, float volume) {
    if (input == -1 && !inputs_.empty()) {
        if (volume >= 0.0f)
            master_ = std::min(volume, 1.0f);
        return true;
    }
    if (input < 0 || input >= static_cast<int>(inputs_.size()))
        return false;
    Input& entry = inputs_[static_cast<size_t>(input)];
    if (flags & (AudioLibrary::InputOff | AudioLibrary::InputOn)) {
        onOrder_.erase(std::remove(onOrder_.begin(), onOrder_.end(), input), onOrder_.end());
        entry.on = (flags & AudioLibrary::InputOn) != 0;
        if (entry.on)
            onOrder_.push_back(input);
    }
    if (volume >= 0.0f)
        entry.volume = std::min(volume, 1.0f);
    return true;
}

int CaptureInputs::current() const {
    return onOrder_.empty() ? -1 : onOrder_.back();
}

QString CaptureInputs::device() const {
    const int input = current();
    return input < 0 ? QString() : inputs_[static_cast<size_t>(input)].device;
}

float CaptureInputs::gain() const {
    const int input = current();
    return input < 0 ? master_ : inputs_[static_cast<size_t>(input)].volume;
}
