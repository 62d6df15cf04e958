#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

// The recording inputs: input 0 is the system's default source, the others the capture devices by name.
// Each input is switched on or off and has a volume 0..1 that becomes the gain of the captured samples; input
// -1 is the master volume, used when no input is on. Capture uses the input switched on last.
class CaptureInputs {
public:
    void reset(const QStringList& deviceNames);
    void clear() { inputs_.clear(); }

    std::optional<QString> name(int input) const;
    // Flags (0x10000 = off) or -1 for an input that does not exist.
    std::int32_t flags(int input) const;
    // Applies flags (0x10000 off, 0x20000 on) and a volume (negative keeps it); false for an unknown input.
    bool set(int input, std::uint32_t flags, float volume);

    // Device name of the input in use (empty: the system's default).
    QString device() const;
    float gain() const;

private:
    struct Input {
        QString name;
        QString device;
        bool on = false;
        float volume = 1.0f;
    };
    int current() const;

    std::vector<Input> inputs_;
    std::vector<int> onOrder_;
    float master_ = 1.0f;
};
