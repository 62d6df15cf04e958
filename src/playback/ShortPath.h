#pragma once

#include <QString>
#include <functional>

namespace playback {

// The path shortened until `fits` accepts it: its folders give way to "..." one after the other from the
// front ("/.../Musik/Lied.mp3", then "/.../Lied.mp3"); the file name is always kept whole.
QString ShortenPath(const QString& path, const std::function<bool(const QString&)>& fits);

} // namespace playback
