#pragma once

#include "app/TForm1.h"
#include "app/recording/RecordingControl.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>

// Runs the event loop for `ms` and returns the longest gap between two recording ticks of the window (or
// from the start to the first, from the last to the end) in milliseconds.
inline qint64 longestTickGap(TForm1& form, int ms) {
    QElapsedTimer timer;
    timer.start();
    qint64 last = 0;
    qint64 longest = 0;
    const QMetaObject::Connection tick =
        QObject::connect(&form.recordingControl().posTimer(), &QTimer::timeout, [&] {
            longest = std::max(longest, timer.elapsed() - last);
            last = timer.elapsed();
        });
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(tick);
    return std::max(longest, timer.elapsed() - last);
}
