#pragma once

#include <QByteArray>
#include <QRandomGenerator>
#include <vector>

namespace music {

// The songs random playback has not drawn yet. Its count is always the number of songs in it: a number is
// taken out wherever it sits and only when it is there, and an empty pool is filled again with all songs.
class RandomPool {
public:
    explicit RandomPool(int songCount = 0);

    int RandomPoolCount() const { return static_cast<int>(songs_.size()); }
    // Takes a song played from the list out of the pool; false when it was not in it.
    bool Remove(int number);
    // Draws entry r (1 to RandomPoolCount()) and takes it out.
    int DrawEntry(int r);
    // Draws an entry uniformly, filling the pool with songs 1 to songCount first when it is empty; 0 when
    // there are no songs at all.
    int Draw(QRandomGenerator& random);
    // Fills the pool again with songs 1 to songCount.
    void Refill() { *this = RandomPool(songCount_); }
    // The pool as the two upper-case hexadecimal digits and "," of each song (three digits above 255).
    QByteArray RandomSongPool() const;

private:
    int songCount_;
    std::vector<int> songs_;
};

} // namespace music
