// Failing-encoder benchmark. A recording whose first encoder stalls (stops reading after two seconds) and
// whose second exits early (after a little audio), each replaced by the next as soon as the engine reports it
// gone, the way the window does. Prints, per round and in the median:
//   lost:    samples of the recording in none of the files (goal 0), against the samples lost when the
//            recording stops at the first failure (what the first file lacks of the recording);
//   overlap: samples in two files, against the engine's refeed allowance;
//   found:   seconds from the stall to its replacement, against the stall limit.
// Usage: bench_encoder [seconds after the failures = 10] [rounds = 3]
#include "AudioSamples.h"
#include "platform/audio/AudioFactory.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>
#include <optional>

namespace {

constexpr int Rate = 22050;

using audiosamples::counter;
using audiosamples::counterStart;

QString script(const QTemporaryDir& dir, const QString& name, const QByteArray& body) {
    QFile file(dir.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write("#!/bin/sh\n" + body + "\n");
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    return file.fileName();
}

struct Round {
    bool ok = false;
    double lost = 0;
    double baseline = 0;
    double overlap = 0;
    double found = 0;
};

Round runRound(double after) {
    Round round;
    QTemporaryDir dir;
    const QStringList programs = {
        script(dir, QStringLiteral("stalls"), "( sleep 2; kill -STOP $$ ) &\nexec cat > \"$1\""),
        script(dir, QStringLiteral("exits"), "exec head -c 100000 > \"$1\""),
        script(dir, QStringLiteral("plain"), "exec cat > \"$1\"")};
    const auto output = [&](int i) { return dir.filePath(QString::number(i)); };
    const auto commandLine = [&](int i) {
        return QLatin1Char('"') + programs[i] + QStringLiteral("\" \"") + output(i) + '"';
    };
    NullAudioLibrary audio = createNullAudioLibrary();
    audio.backend->setInputSignal([](std::uint64_t frame, int) { return counter(frame); });
    AudioEngine& lib = *audio.library;
    lib.RecordInit(-1);
    const AudioHandle channel = lib.RecordStart(Rate, 1, 0);
    AudioHandle current = lib.EncodeStart(channel, commandLine(0), 0);
    std::vector<std::future<int>> exits;
    int restarts = 0;
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    double afterFailures = -1;
    // The window's 50 ms tick, in step with the wall clock.
    while (current != 0 && elapsed() < 60.0 && (afterFailures < 0 || elapsed() - afterFailures < after)) {
        audio.backend->advance(0.05);
        QThread::msleep(50);
        if (restarts < 2 && lib.EncodeIsActive(current) == AudioLibrary::Stopped) {
            if (restarts == 0)
                round.found = elapsed() - 2.0;
            auto exited = std::make_shared<std::promise<int>>();
            exits.push_back(exited->get_future());
            current = lib.EncodeRestart(current, commandLine(++restarts),
                                        [exited](int error) { exited->set_value(error); });
            if (restarts == 2)
                afterFailures = elapsed();
        }
    }
    if (current == 0 || restarts < 2)
        return round;
    lib.ChannelStop(channel);
    auto exited = std::make_shared<std::promise<int>>();
    exits.push_back(exited->get_future());
    lib.EncodeStop(current, [exited](int error) { exited->set_value(error); });
    for (std::future<int>& exit : exits)
        if (exit.wait_for(std::chrono::seconds(30)) != std::future_status::ready)
            return round;

    const auto total = static_cast<std::uint64_t>(lib.ChannelGetPosition(channel) / 2);
    std::vector<std::pair<std::uint64_t, std::uint64_t>> runs;
    for (int i = 0; i <= restarts; ++i) {
        const std::vector<std::int16_t> samples = audiosamples::wavSamples(output(i));
        const std::optional<std::uint64_t> first = counterStart(samples);
        if (!samples.empty() && !first)
            return round; // a file out of order
        if (first)
            runs.emplace_back(*first, *first + samples.size());
    }
    // The union of the files' runs against the recording.
    std::sort(runs.begin(), runs.end());
    std::uint64_t covered = 0;
    std::uint64_t reach = 0;
    std::uint64_t overlap = 0;
    for (const auto& [from, to] : runs) {
        overlap += reach > from ? std::min(reach, to) - from : 0;
        if (to > reach) {
            covered += to - std::max(from, reach);
            reach = to;
        }
    }
    round.ok = true;
    round.lost = static_cast<double>(total - std::min(total, covered));
    round.baseline = static_cast<double>(
        total - (runs.empty() || runs.front().first != 0 ? 0 : std::min(total, runs.front().second)));
    round.overlap = static_cast<double>(overlap);
    return round;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void printRatio(const char* what, double value, double baseline, const char* unit) {
    std::printf("%-44s %10.3f %-7s baseline %10.3f %-7s ratio %7.3f\n", what, value, unit, baseline, unit,
                baseline > 0 ? value / baseline : 0.0);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const double after = argc > 1 ? std::atof(argv[1]) : 10.0;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    std::vector<double> lost, baseline, overlap, found;
    bool ok = true;
    for (int i = 0; i < rounds; ++i) {
        const Round round = runRound(after);
        ok &= round.ok;
        std::printf("round %d: %s, lost %.0f samples, overlap %.0f samples, stall replaced after %.1f s\n",
                    i + 1, round.ok ? "ok" : "FAILED", round.lost, round.overlap, round.found);
        lost.push_back(round.lost);
        baseline.push_back(round.baseline);
        overlap.push_back(round.overlap);
        found.push_back(round.found);
    }
    printRatio("audio lost across the failed encoders", median(lost), median(baseline), "samples");
    printRatio("audio in two files", median(overlap) / Rate, Recorder::RefeedSeconds * 2, "s");
    printRatio("stall replaced after", median(found), Recorder::StallSeconds, "s");
    return ok ? 0 : 1;
}
