#pragma once

#include "common/AudioLibrary.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

// Sample format of a device: 16-bit signed interleaved PCM at `rate` Hz with `channels` channels.
struct AudioFormat {
    int rate = 44100;
    int channels = 2;
};

// The mixer side of the playback device; render() runs on the device's thread.
class PlaybackSource {
public:
    virtual ~PlaybackSource() = default;
    // Fills `frames` frames of the device format.
    virtual void render(std::int16_t* out, int frames) = 0;
    // For a backend with virtual time only: waits (bounded) until render() can run without starving a stream.
    virtual void waitUntilReady(int frames) = 0;
    // A device has just become the one that takes the frames (opened, or put in place of another); called
    // under the playback lock before its first render().
    virtual void deviceStarted() = 0;
};

// The receiving side of the capture device; captured() runs on the device's thread.
class CaptureSink {
public:
    virtual ~CaptureSink() = default;
    // Takes `frames` captured frames of the capture format.
    virtual void captured(const std::int16_t* in, int frames) = 0;
    // For a backend with virtual time only: waits (bounded) until `frames` frames can be taken without loss.
    virtual void waitForRoom(int frames) = 0;
};

// One playback device and one capture device.
class AudioBackend {
public:
    virtual ~AudioBackend() = default;
    // Opens the default playback device in `format` and starts calling `source`; returns an AudioError code.
    virtual int openPlayback(AudioFormat format, PlaybackSource& source) = 0;
    virtual void closePlayback() = 0;
    // True when the open playback device has gone (unplugged, server gone).
    virtual bool playbackLost() = 0;
    // Seconds without a playing stream after which the mixer closes the playback device until the next play
    // (0: never): an open device wakes its thread for every buffer, silent or not.
    virtual double playbackIdleSeconds() const { return 0; }
    // Seconds of sound the open playback device may still hold queued after a render() (0: none to drop).
    virtual double playbackQueueSeconds() const { return 0; }
    // Puts a new playback device in place of the open one, so that what the old one holds queued is never
    // heard: the new one takes `source`'s next frames at once. Returns an AudioError code; on failure the old
    // device goes on as it was.
    virtual int renewPlayback(AudioFormat format, PlaybackSource& source) {
        (void)format;
        (void)source;
        return AudioError::NotAvail;
    }
    // Excludes render() while held (changes to the mixer's state are made under it).
    virtual void lockPlayback() = 0;
    virtual void unlockPlayback() = 0;

    // Names of the capture devices; an error code (AudioError) when capture is not possible at all.
    virtual int captureDevices(QStringList& names) = 0;
    // Opens capture device `name` (empty: the system's default) in `format`; returns an AudioError code.
    virtual int openCapture(const QString& name, AudioFormat format, CaptureSink& sink) = 0;
    virtual void closeCapture() = 0;
    // True when the open capture device has gone (unplugged, server gone).
    virtual bool captureLost() = 0;
    // For a backend with virtual time only: `settled` tells whether the thread that opens and closes a device
    // has done what was last asked of it; the time does not run on before it has (bounded wait).
    virtual void watchDevice(std::function<bool()> settled) { (void)settled; }
    // The devices' clock in seconds: the wall clock, or the virtual time of a backend without hardware
    // (any thread, also the device callbacks).
    virtual double clockSeconds() const = 0;
};

// Holds the playback lock for a scope.
class PlaybackLock {
public:
    explicit PlaybackLock(AudioBackend& backend) : backend_(backend) { backend_.lockPlayback(); }
    ~PlaybackLock() { backend_.unlockPlayback(); }
    PlaybackLock(const PlaybackLock&) = delete;
    PlaybackLock& operator=(const PlaybackLock&) = delete;

private:
    AudioBackend& backend_;
};
