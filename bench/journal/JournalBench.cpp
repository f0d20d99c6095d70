// What the journal costs: one append of a full record in its own write, flushed to the disk
// (median of many), and reading and listing a journal of 100,000 records (median of a few).
//
//   journal_bench [folder]      (default: a temporary folder under the current one)

#include "Median.h"
#include "journal/JournalFile.h"
#include "journal/JournalListing.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

using namespace zmt::journal;
using zmt::bench::Median;

JournalRecord FullRecord(int n) {
    JournalRecord record;
    record.id = QStringLiteral("0b7c6f3e-1111-4222-8333-%1").arg(n, 12, 10, QLatin1Char('0'));
    record.time = "2024-05-06T07:08:09.010+02:00";
    record.version = "6.01";
    record.operation = "write";
    record.port = "COM1";
    record.device = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    record.operatorName = "technician";
    record.file = "/home/technician/plant/line3/meter-17.dig";
    record.fileSha256 = QString(64, u'a');
    record.language = "de";
    record.asFound = Image{65533, 100,  8233,  2049, 192,   2,     3438,  3538,
                           7,     9450, 12000, 9000, 11500, 11400, 11500, 1};
    record.asFoundValid = true;
    record.written =
        Image{0, 0, 8192, 2048, 128, 4, 5000, 4500, 0, 10000, 12000, 10000, 12000, 12000, 12000, 1};
    record.result = zmt::journal::JournalResult::Succeeded;
    record.verdict = {"Interface... O.K.", "Verbindung zum Gerät... O.K.", "Daten... O.K.",
                      "Das Gerät wurde mit den Vorgabewerten erfolgreich parametriert!"};
    record.exitCode = 0;
    return record;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary(QDir::current().filePath("journal-bench-XXXXXX"));
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    const QString appends = QDir(folder).filePath("appends.jsonl");
    std::vector<double> appendMs;
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!AppendRecord(appends, FullRecord(i)).ok) {
            std::fprintf(stderr, "append failed\n");
            return 1;
        }
        appendMs.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("append with fsync: median %.3f ms over %zu appends (%lld bytes a record)\n",
                Median(appendMs), appendMs.size(), qlonglong(ToLine(FullRecord(0)).size()));

    const QString large = QDir(folder).filePath("large.jsonl");
    {
        QFile file(large);
        if (!file.open(QIODevice::WriteOnly)) return 1;
        for (int i = 0; i < 100000; ++i) file.write(ToLine(FullRecord(i)));
    }
    std::vector<double> listMs;
    size_t listed = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        const JournalContents contents = ReadJournal(large);
        listed = ListRecords(contents.records, QString(), ResultFilter::All).size();
        listMs.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("read and list 100000 records: median %.0f ms over %zu runs (%zu listed)\n",
                Median(listMs), listMs.size(), listed);
    return 0;
}
