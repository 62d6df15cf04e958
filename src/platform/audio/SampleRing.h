#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

// Lock-free ring of 16-bit samples between one writer (the capture callback) and one reader. Samples are
// addressed by their absolute index since the ring was made; the reader copies any range still held and then
// releases what it no longer needs.
class SampleRing {
public:
    explicit SampleRing(std::uint64_t capacityPow2) : buffer_(capacityPow2), mask_(capacityPow2 - 1) {}

    // Writer: index of the next sample to be written (all below it are readable).
    std::uint64_t written() const { return written_.load(std::memory_order_acquire); }
    // Index of the oldest sample still held.
    std::uint64_t released() const { return released_.load(std::memory_order_acquire); }
    std::uint64_t room() const { return buffer_.size() - (written() - released()); }

    // Writer: appends `count` samples, each multiplied by `gain` and clipped; returns their peak (0..32768).
    // Whole frames of `channels` samples that do not fit are dropped and counted.
    int write(const std::int16_t* in, std::uint64_t count, int channels, float gain) {
        const std::uint64_t head = written_.load(std::memory_order_relaxed);
        std::uint64_t fits = std::min<std::uint64_t>(count, buffer_.size() - (head - released()));
        fits -= fits % static_cast<std::uint64_t>(channels);
        int peak = 0;
        for (std::uint64_t i = 0; i < fits; ++i) {
            float value = static_cast<float>(in[i]) * gain;
            value = value > 32767.0f ? 32767.0f : (value < -32768.0f ? -32768.0f : value);
            const auto sample = static_cast<std::int16_t>(value);
            buffer_[(head + i) & mask_] = sample;
            peak = std::max(peak, sample < 0 ? -static_cast<int>(sample) : static_cast<int>(sample));
        }
        written_.store(head + fits, std::memory_order_release);
        dropped_.fetch_add(count - fits, std::memory_order_relaxed);
        const std::uint64_t fill = head + fits - released();
        if (fill > peakFill_.load(std::memory_order_relaxed))
            peakFill_.store(fill, std::memory_order_relaxed);
        return peak;
    }

    // Reader: copies samples [from, to) (which must be held) into `out`.
    void copy(std::uint64_t from, std::uint64_t to, std::int16_t* out) const {
        for (std::uint64_t i = from; i < to; ++i)
            *out++ = buffer_[i & mask_];
    }
    // Reader: gives the samples below `index` back to the writer.
    void release(std::uint64_t index) {
        if (index > released())
            released_.store(index, std::memory_order_release);
    }
    std::uint64_t dropped() const { return dropped_.load(std::memory_order_relaxed); }
    // The most samples held at once, and how many the ring can hold.
    std::uint64_t peakFill() const { return peakFill_.load(std::memory_order_relaxed); }
    std::uint64_t capacity() const { return buffer_.size(); }

private:
    std::vector<std::int16_t> buffer_;
    std::uint64_t mask_;
    std::atomic<std::uint64_t> written_{0};
    std::atomic<std::uint64_t> released_{0};
    std::atomic<std::uint64_t> dropped_{0};
    std::atomic<std::uint64_t> peakFill_{0};
};
