#pragma once

#include "Decoder.h"

#include <vector>

struct _CdIo;

// One audio track of a CD in a drive or of a disc image, read as raw CD-DA sectors through libcdio.
class CdTrackDecoder : public Decoder {
public:
    // Track `number` of the disc in `device` (a drive or a .cue image). Null with `error` FileOpen when the
    // device holds no readable disc or no such track, FileForm when the track is not audio.
    static std::unique_ptr<CdTrackDecoder> open(const QString& device, int number, int& error);
    ~CdTrackDecoder() override;

    int rate() const override { return 44100; }
    int channels() const override { return 2; }
    std::int64_t lengthFrames() const override;
    bool seek(std::int64_t frame) override;
    std::int64_t read(std::int16_t* out, std::int64_t frames) override;

private:
    explicit CdTrackDecoder(_CdIo* cdio) : cdio_(cdio) {}

    _CdIo* cdio_;
    int firstSector_ = 0; // LSN
    int sectors_ = 0;
    std::int64_t position_ = 0;
    std::vector<unsigned char> buffer_;
};
