#include "app/ZMT6v01.h"
#include "common/ErrorDisplay.h"
#include "link/PortSetup.h"

int main(int argc, char** argv) {
    zmt::Application application(argc, argv);
    zmt::Application::setApplicationName(QStringLiteral("zmt4824"));
    // Lets Wayland desktops match the windows to the installed desktop entry.
    zmt::Application::setDesktopFileName(QStringLiteral("com.example.zmt4824"));
    zmt::ProgramOptions options;
    options.ports = zmt::link::MachinePortSetup();  // the machine's own serial devices
    zmt::ZMT6v01 program(std::move(options));
    return program.Run();
}
