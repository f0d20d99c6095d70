#include "common/Beep.h"
#include "common/ErrorDisplay.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>

// One main for every test program: the program's own application object on the offscreen
// platform, so that its error display is under test too, and a German default locale.
int main(int argc, char** argv) {
    // Tests never need a real display; a desktop theme must not leak in either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_QPA_PLATFORMTHEME");
    // The journal of every operation a test runs goes to a folder of this run, never to
    // the user's data folder; tools the tests start inherit it.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    qputenv("LOCALAPPDATA", QFile::encodeName(dataHome.path()));  // the same on Windows
    ::testing::InitGoogleTest(&argc, argv);
    zmt::Application app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // Tests count beeps but cannot hear them: no sound system is asked.
    zmt::SetBeepSound(nullptr);
    zmt::SetResultSounds(nullptr, nullptr);
    return RUN_ALL_TESTS();
}
