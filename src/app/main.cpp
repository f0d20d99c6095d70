#include "ErrorDisplay.h"
#include "ZMT6v01.h"

int main(int argc, char** argv) {
    zmt::Application application(argc, argv);
    zmt::Application::setApplicationName(QStringLiteral("zmt4824"));
    // Lets Wayland desktops match the windows to the installed desktop entry.
    zmt::Application::setDesktopFileName(QStringLiteral("com.example.zmt4824"));
    zmt::ZMT6v01 program;
    return program.Run();
}
