#include "app/demo/DemoProgram.h"

#include "app/demo/DemoComPortMap.h"
#include "app/demo/VirtualMeterWindow.h"
#include "editor/ZMT1.h"
#include "journal/JournalLocation.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

namespace zmt::demo {

namespace {

constexpr int WindowSpacing = 12;

ProgramOptions ProgramOptionsFor(const DemoOptions& options, DemoBench& bench) {
    ProgramOptions program;
    program.deviceFactory = bench.deviceFactory();
    program.dialogs = options.dialogs;
    program.settingsPath = options.settingsPath;
    program.clock = &bench.clock();
    program.ports = DemoPortSetup(bench);
    program.portDialogs = options.portDialogs;
    // The virtual meter's operations stay out of the journal of real meters.
    program.journalPath = journal::JournalPath(QStringLiteral("zmt4824-demo"));
    return program;
}

}  // namespace

DemoProgram::DemoProgram(DemoOptions options)
    : bench_(std::make_unique<DemoBench>(options.timing,
                                         options.clock ? *options.clock : SteadyClock())),
      program_(std::make_unique<ZMT6v01>(ProgramOptionsFor(options, *bench_))) {
    // The meter on the bench starts as the type the last configuration was made for.
    if (program_->model.SelectRange >= 0) bench_->setMeterType(program_->model.SelectRange);
    // It speaks the program's language and looks up which one at every refresh.
    meterWindow_ =
        std::make_unique<VirtualMeterWindow>(*bench_, program_->texts, program_->session);
    meterWindow_->setAttribute(Qt::WA_ShowWithoutActivating);
}

// The window goes before the program closes its port, the bench after both.
DemoProgram::~DemoProgram() {
    meterWindow_.reset();
    program_.reset();
}

void DemoProgram::Show() {
    placeMeterWindow();
    meterWindow_->show();
    program_->Show();
    program_->Form1().activateWindow();
}

int DemoProgram::Run() {
    Show();
    return QCoreApplication::exec();
}

// Beside the main window where the screen has room, else below its top-left corner.
void DemoProgram::placeMeterWindow() {
    const QWidget& main = program_->Form1();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize meterSize = meterWindow_->sizeHint();
    QPoint spot(main.x() + main.width() + WindowSpacing, main.y());
    if (screen && spot.x() + meterSize.width() > screen->availableGeometry().right())
        spot = QPoint(main.x() + WindowSpacing, main.y() + WindowSpacing);
    meterWindow_->move(spot);
}

}  // namespace zmt::demo
