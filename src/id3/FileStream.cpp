#include "FileStream.h"

bool FileStream::open(Mode mode) {
    switch (mode) {
    case Mode::Read:
        return file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    case Mode::ReadWrite:
        return file_.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered);
    case Mode::CreateNew:
        return file_.open(QIODevice::ReadWrite | QIODevice::NewOnly | QIODevice::Unbuffered);
    }
    return false;
}

void FileStream::seek(qint64 pos) {
    if (!file_.seek(pos))
        throw StreamReadError(file_.errorString().toStdString());
}

qint64 FileStream::read(char* data, qint64 max) {
    if (max <= 0)
        return 0;
    const qint64 got = file_.read(data, max);
    if (got < 0)
        throw StreamReadError(file_.errorString().toStdString());
    return got;
}

void FileStream::write(const char* data, qint64 n) {
    qint64 done = 0;
    while (done < n) {
        const qint64 put = file_.write(data + done, n - done);
        if (put <= 0)
            throw StreamWriteError(file_.errorString().toStdString());
        done += put;
    }
}

void FileStream::truncate() {
    if (!file_.resize(file_.pos()))
        throw StreamWriteError(file_.errorString().toStdString());
}
