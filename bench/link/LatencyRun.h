#pragma once

// One latency measurement: a byte written to the pseudo-terminal's master until the
// receiving side's handler ran on the GUI thread.

#include "BenchPty.h"

#include <QEventLoop>
#include <QTimer>

#include <functional>
#include <thread>

namespace zmt::link::bench {

inline constexpr int Rounds = 5;
inline constexpr int SamplesPerRound = 200;

// `arm` gets the function the receiver calls from its handler; returns the medians of
// each round in microseconds.
inline std::vector<double> MeasureLatency(BenchPty& pty,
                                          const std::function<void(std::function<void()>)>& arm) {
    double receivedAt = 0;
    QEventLoop loop;
    arm([&] {
        receivedAt = NowMicroseconds();
        loop.quit();
    });
    std::vector<double> rounds;
    for (int round = 0; round < Rounds; ++round) {
        std::vector<double> samples;
        for (int i = 0; i < SamplesPerRound; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2 + i % 3));
            receivedAt = 0;
            const std::uint8_t byte = static_cast<std::uint8_t>(i);
            const double sentAt = NowMicroseconds();
            if (::write(pty.master(), &byte, 1) != 1) continue;
            QTimer::singleShot(1000, &loop, &QEventLoop::quit);
            if (receivedAt == 0) loop.exec();
            if (receivedAt > 0) samples.push_back(receivedAt - sentAt);
        }
        rounds.push_back(Median(samples));
    }
    return rounds;
}

}  // namespace zmt::link::bench
