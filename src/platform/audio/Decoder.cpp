#include "Decoder.h"

#include "CdAddress.h"
#include "CdTrackDecoder.h"
#include "Mpg123Decoder.h"
#include "SndfileDecoder.h"
#include "common/AudioLibrary.h"

#include <QFile>

namespace {
// Containers libsndfile reads; everything else is tried as MPEG audio.
bool isSndfileContainer(const QByteArray& head) {
    return head.startsWith("RIFF") || head.startsWith("RIFX") || head.startsWith("OggS") ||
           head.startsWith("fLaC") || head.startsWith("FORM");
}
} // namespace

std::unique_ptr<Decoder> openDecoder(const QString& path, int& error) {
    // A CD track is no file: <device>/TrackNN.cda.
    if (const std::optional<cd::TrackPath> track = cd::parseTrackPath(path))
        return CdTrackDecoder::open(track->device, track->number, error);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = AudioError::FileOpen;
        return nullptr;
    }
    const QByteArray head = file.read(4);
    file.close();
    if (head.size() < 4) {
        error = AudioError::FileForm;
        return nullptr;
    }
    if (isSndfileContainer(head))
        return SndfileDecoder::open(path, error);
    return Mpg123Decoder::open(path, error);
}
