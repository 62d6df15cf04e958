#include "AudioFactory.h"

#include "SdlBackend.h"

// The one place that picks a device backend per platform; SDL serves Linux and Windows alike.
std::unique_ptr<AudioLibrary> createAudioLibrary() {
    return std::make_unique<AudioEngine>(std::make_unique<SdlBackend>());
}

NullAudioLibrary createNullAudioLibrary(NullBackend::Options options) {
    auto backend = std::make_unique<NullBackend>(std::move(options));
    NullBackend* raw = backend.get();
    return NullAudioLibrary{std::make_unique<AudioEngine>(std::move(backend)), raw};
}
