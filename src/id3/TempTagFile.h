#pragma once

#include "FileStream.h"

#include <QString>
#include <memory>

// A temporary file of the tag writer: the first free "TagTemp.tNN" (NN upper-case hexadecimal, at least
// two digits) in the given folder, created new and removed again when this object goes, unless kept.
class TempTagFile {
public:
    // Throws FileCreateError when no such file can be created.
    explicit TempTagFile(const QString& folder);
    ~TempTagFile();
    TempTagFile(const TempTagFile&) = delete;
    TempTagFile& operator=(const TempTagFile&) = delete;

    FileStream& stream() { return *stream_; }
    const QString& path() const { return path_; }
    // Leaves the file in place (it holds data that exists nowhere else).
    void keep() { keep_ = true; }

    static QString NameFor(const QString& folder, int n);

private:
    QString path_;
    std::unique_ptr<FileStream> stream_;
    bool keep_ = false;
};
