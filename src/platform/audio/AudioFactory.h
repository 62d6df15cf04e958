#pragma once

#include "AudioEngine.h"
#include "NullBackend.h"
#include "common/AudioLibrary.h"

#include <memory>

// The audio library on the system's devices.
std::unique_ptr<AudioLibrary> createAudioLibrary();

// The audio library on devices without hardware, for tests: `backend` (owned by `library`) runs the virtual
// clock and supplies the input signal.
struct NullAudioLibrary {
    std::unique_ptr<AudioEngine> library;
    NullBackend* backend = nullptr;
};
NullAudioLibrary createNullAudioLibrary(NullBackend::Options options = {});
