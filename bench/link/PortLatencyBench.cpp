// Notification latency of our port: byte written to the master until OnDataRecived ran.

#include "LatencyRun.h"
#include "link/SpComPort.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    zmt::link::bench::BenchPty pty;
    zmt::link::TSpComPort port;
    port.setBaudRate(zmt::link::br9600);
    port.setComNumber(1);
    port.setEventThreadPriority(zmt::link::tpHighest);
    port.setWriteThreadPriority(zmt::link::tpHigher);
    port.Loaded();
    port.Open();
    const auto rounds = zmt::link::bench::MeasureLatency(pty, [&](std::function<void()> received) {
        port.OnDataRecived = [received](zmt::link::TSpComPort* sender, int) {
            std::uint8_t sink[256];
            if (const int n = std::min(sender->InBufUsed(), 256); n > 0) sender->ReadData(sink, n);
            received();
        };
    });
    zmt::link::bench::PrintRounds("TSpComPort notification latency (us, median per round)", rounds,
                                  "us");
    port.Close();
    return 0;
}
