#pragma once

#include <QString>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class AudioLibrary;
class QThread;

// The exact lengths of the song files, measured once per file on a thread of its own at the lowest
// priority, so that the filler's best fit works with the songs that are really there.
class SongLengths {
public:
    explicit SongLengths(AudioLibrary& audio);
    ~SongLengths();

    // Measures the files not measured yet (song number and path), one after the other.
    void measure(const std::vector<std::pair<int, QString>>& songs);
    // The measured length of song `number` in whole seconds, 0 when it is not known (yet).
    int seconds(int number) const;
    // Songs measured so far.
    std::size_t measured() const;

private:
    AudioLibrary& audio_;
    mutable std::mutex mutex_;
    std::map<int, int> seconds_;
    std::map<QString, int> byFile_;
    std::unique_ptr<QThread> worker_;
    std::atomic<bool> stop_{false};
};
