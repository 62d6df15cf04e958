#include "music/RandomPool.h"

#include <algorithm>
#include <numeric>

namespace music {

RandomPool::RandomPool(int songCount)
    : songCount_(std::max(0, songCount)), songs_(static_cast<std::size_t>(songCount_)) {
    std::iota(songs_.begin(), songs_.end(), 1);
}

bool RandomPool::Remove(int number) {
    const auto found = std::find(songs_.begin(), songs_.end(), number);
    if (found == songs_.end())
        return false;
    songs_.erase(found);
    return true;
}

int RandomPool::DrawEntry(int r) {
    if (r < 1 || r > RandomPoolCount())
        return 0;
    const int number = songs_[static_cast<std::size_t>(r - 1)];
    songs_.erase(songs_.begin() + (r - 1));
    return number;
}

int RandomPool::Draw(QRandomGenerator& random) {
    if (songs_.empty())
        *this = RandomPool(songCount_);
    if (songs_.empty())
        return 0;
    return DrawEntry(static_cast<int>(random.bounded(RandomPoolCount())) + 1);
}

QByteArray RandomPool::RandomSongPool() const {
    QByteArray text;
    for (int number : songs_)
        text += QByteArray::number(number, 16).toUpper().rightJustified(2, '0') + ',';
    return text;
}

} // namespace music
