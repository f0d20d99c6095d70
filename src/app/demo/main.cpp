// zmt4824-demo: the program with a simulated programming interface and meter on every
// COM port and the virtual meter window beside it; no serial device of the machine is used.

#include "app/demo/DemoProgram.h"
#include "common/ErrorDisplay.h"

int main(int argc, char** argv) {
    zmt::Application application(argc, argv);
    zmt::Application::setApplicationName(QStringLiteral("zmt4824"));
    // Lets a Wayland desktop match the windows with the installed desktop entry.
    zmt::Application::setDesktopFileName(QStringLiteral("com.example.zmt4824"));
    zmt::demo::DemoProgram demo;
    return demo.Run();
}
