// The same latency measured with QSerialPort on the same kind of pair, for comparison.

#include "LatencyRun.h"

#include <QCoreApplication>
#include <QSerialPort>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    zmt::link::bench::BenchPty pty;
    QSerialPort port;
    port.setPortName(QString::fromStdString(pty.slavePath()));
    if (!port.open(QIODevice::ReadWrite)) {
        std::printf("QSerialPort could not open %s\n", pty.slavePath().c_str());
        return 1;
    }
    port.setBaudRate(QSerialPort::Baud9600);
    const auto rounds = zmt::link::bench::MeasureLatency(pty, [&](std::function<void()> received) {
        QObject::connect(&port, &QSerialPort::readyRead, [&port, received] {
            port.readAll();
            received();
        });
    });
    zmt::link::bench::PrintRounds("QSerialPort readyRead latency (us, median per round)", rounds,
                                  "us");
    return 0;
}
