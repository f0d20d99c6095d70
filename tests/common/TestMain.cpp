#include "common/Beep.h"
#include "common/ErrorDisplay.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Every test starts on the German default locale; one that leaves another behind would make
// later tests pass or fail by their order, so it is named and the run fails.
class LocaleLeakCheck : public ::testing::EmptyTestEventListener {
  public:
    explicit LocaleLeakCheck(QLocale expected) : expected_(std::move(expected)) {}
    void OnTestEnd(const ::testing::TestInfo& test) override {
        if (QLocale() == expected_) return;
        std::fprintf(stderr, "%s.%s left the default locale at %s\n", test.test_suite_name(),
                     test.name(), qPrintable(QLocale().name()));
        QLocale::setDefault(expected_);
        leaked_ = true;
    }
    bool leaked() const { return leaked_; }

  private:
    QLocale expected_;
    bool leaked_ = false;
};

}  // namespace

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
    const QLocale german(QLocale::German, QLocale::Germany);
    QLocale::setDefault(german);
    auto* localeCheck = new LocaleLeakCheck(german);  // the listener list owns it
    ::testing::UnitTest::GetInstance()->listeners().Append(localeCheck);
    // Tests count beeps but cannot hear them: no sound system is asked.
    zmt::SetBeepSound(nullptr);
    zmt::SetResultSounds(nullptr, nullptr);
    const int failed = RUN_ALL_TESTS();
    return failed != 0 || localeCheck->leaked() ? 1 : 0;
}
