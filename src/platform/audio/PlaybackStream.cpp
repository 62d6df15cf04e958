#include "PlaybackStream.h"

#include <SDL2/SDL_audio.h>
#include <algorithm>

PlaybackStream::PlaybackStream(AudioHandle handle, QString path, std::unique_ptr<Decoder> decoder,
                               AudioFormat device)
    : handle_(handle), path_(std::move(path)), rate_(decoder->rate()), channels_(decoder->channels()),
      length_(decoder->lengthFrames()), device_(device), decoder_(std::move(decoder)) {
    samples_.resize(static_cast<size_t>(ChunkCount) * ChunkFrames * channels_);
    converter_ = SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(channels_), rate_, AUDIO_S16SYS,
                                    static_cast<Uint8>(device_.channels), device_.rate);
}

PlaybackStream::~PlaybackStream() {
    if (converter_)
        SDL_FreeAudioStream(converter_);
}

void PlaybackStream::seek(std::int64_t frame) {
    // Drop what is buffered before the new generation becomes visible to the decoder thread.
    consumed_.store(written_.load(std::memory_order_acquire), std::memory_order_release);
    generationStart_.store(frame, std::memory_order_release);
    generation_.fetch_add(1, std::memory_order_acq_rel);
    chunkOffset_ = 0;
    sourceDone_ = false;
    SDL_AudioStreamClear(converter_);
    base_ = frame;
    handed_ = frame;
    output_ = 0;
    position_.store(frame, std::memory_order_release);
    ended_.store(false, std::memory_order_release);
    readFailed_.store(false, std::memory_order_release);
    stalled_.store(false, std::memory_order_release);
}

bool PlaybackStream::mix(std::int32_t* mix, int frames, std::int16_t* scratch) {
    const int deviceFrameBytes = 2 * device_.channels;
    const int want = frames * deviceFrameBytes;
    const std::uint32_t generation = generation_.load(std::memory_order_relaxed);
    while (!sourceDone_) {
        const int available = SDL_AudioStreamAvailable(converter_);
        if (available >= want)
            break;
        const std::uint32_t index = consumed_.load(std::memory_order_relaxed);
        if (index == written_.load(std::memory_order_acquire))
            break;
        const Chunk& chunk = chunks_[index % ChunkCount];
        if (chunk.generation != generation) {
            consumed_.store(index + 1, std::memory_order_release);
            chunkOffset_ = 0;
            continue;
        }
        int remain = chunk.frames - chunkOffset_;
        if (remain > 0) {
            // Hand the converter about what the device needs, so the position follows the output closely.
            const std::int64_t missing = (want - available) / deviceFrameBytes;
            const int count =
                static_cast<int>(std::min<std::int64_t>(remain, missing * rate_ / device_.rate + 2));
            const size_t offset =
                (static_cast<size_t>(index % ChunkCount) * ChunkFrames + static_cast<size_t>(chunkOffset_)) *
                static_cast<size_t>(channels_);
            SDL_AudioStreamPut(converter_, samples_.data() + offset, count * frameBytes());
            chunkOffset_ += count;
            remain -= count;
            handed_ = chunk.start + chunkOffset_;
        }
        if (remain == 0) {
            if (chunk.last) {
                SDL_AudioStreamFlush(converter_);
                sourceDone_ = true;
            }
            consumed_.store(index + 1, std::memory_order_release);
            chunkOffset_ = 0;
        }
    }
    const int got = std::max(0, SDL_AudioStreamGet(converter_, scratch, want));
    for (int i = 0; i < got / 2; ++i)
        mix[i] += scratch[i];
    // The position is what has come out of the converter (a resampler holds some frames back).
    output_ += got / deviceFrameBytes;
    position_.store(std::min(handed_, base_ + output_ * rate_ / device_.rate), std::memory_order_release);
    if (sourceDone_ && SDL_AudioStreamAvailable(converter_) == 0) {
        position_.store(length_, std::memory_order_release);
        ended_.store(true, std::memory_order_release);
        stalled_.store(false, std::memory_order_release);
        state_.store(AudioLibrary::Stopped, std::memory_order_release);
        return false;
    }
    stalled_.store(got < want, std::memory_order_release);
    return true;
}

bool PlaybackStream::ready(int frames) const {
    if (sourceDone_ || SDL_AudioStreamAvailable(converter_) >= frames * 2 * device_.channels)
        return true;
    const std::uint32_t generation = generation_.load(std::memory_order_relaxed);
    const std::int64_t needed = static_cast<std::int64_t>(frames) * rate_ / device_.rate + 2;
    std::int64_t buffered = -chunkOffset_;
    const std::uint32_t end = written_.load(std::memory_order_acquire);
    for (std::uint32_t i = consumed_.load(std::memory_order_relaxed); i != end; ++i) {
        const Chunk& chunk = chunks_[i % ChunkCount];
        if (chunk.generation != generation)
            continue;
        buffered += chunk.frames;
        if (chunk.last || buffered >= needed)
            return true;
    }
    return false;
}

bool PlaybackStream::fill() {
    if (written_.load(std::memory_order_relaxed) - consumed_.load(std::memory_order_acquire) >= ChunkCount)
        return false;
    const std::uint32_t generation = generation_.load(std::memory_order_acquire);
    if (!decoder_ && failedGeneration_ == generation)
        return false;
    if (generation != decodedGeneration_) {
        decodedGeneration_ = generation;
        nextFrame_ = generationStart_.load(std::memory_order_acquire);
        atEnd_ = false;
        // A file that has gone or cannot be positioned ends the stream where it stands.
        if (!(decoder_ || reload()) || !decoder_->seek(nextFrame_)) {
            failedGeneration_ = generation;
            decoder_.reset();
            atEnd_ = true;
            readFailed_.store(nextFrame_ < length_, std::memory_order_release);
            publish(nextFrame_, 0, true);
            return true;
        }
    }
    if (atEnd_)
        return false;
    std::int16_t* out =
        samples_.data() + static_cast<size_t>(written_.load(std::memory_order_relaxed) % ChunkCount) *
                              ChunkFrames * static_cast<size_t>(channels_);
    const std::int64_t read = decoder_->read(out, ChunkFrames);
    const std::int64_t got = std::max<std::int64_t>(0, read);
    const bool last = got == 0 || nextFrame_ + got >= length_;
    // A decoding error, or the file's end well before its length: the file was damaged while it played.
    if (read < 0 || (got == 0 && length_ - nextFrame_ > rate_ / 4))
        readFailed_.store(true, std::memory_order_release);
    publish(nextFrame_, static_cast<int>(got), last);
    nextFrame_ += got;
    atEnd_ = last;
    return true;
}

void PlaybackStream::publish(std::int64_t start, int frames, bool last) {
    const std::uint32_t index = written_.load(std::memory_order_relaxed);
    chunks_[index % ChunkCount] = Chunk{start, frames, decodedGeneration_, last};
    written_.store(index + 1, std::memory_order_release);
}

bool PlaybackStream::reload() {
    int error = AudioError::Ok;
    std::unique_ptr<Decoder> decoder = openDecoder(path_, error);
    if (!decoder || decoder->rate() != rate_ || decoder->channels() != channels_ ||
        decoder->lengthFrames() != length_)
        return false;
    samples_.resize(static_cast<size_t>(ChunkCount) * ChunkFrames * channels_);
    decoder_ = std::move(decoder);
    return true;
}

bool PlaybackStream::unload(AudioBackend& backend) {
    {
        PlaybackLock lock(backend);
        if (state() == AudioLibrary::Playing)
            return false;
        // A new generation at the current position: loading again continues from there.
        const bool wasEnded = ended();
        const bool wasFailed = readFailed();
        const std::int64_t position = positionFrames();
        seek(position);
        ended_.store(wasEnded, std::memory_order_release);
        readFailed_.store(wasFailed, std::memory_order_release);
    }
    decoder_.reset();
    samples_.clear();
    samples_.shrink_to_fit();
    decodedGeneration_ = 0;
    return true;
}
