// The warning sound: the desktop's event sound where it can be played, else the toolkit's
// beep; every beep counts either way.
#include "common/Beep.h"
#include "common/EventSound.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace zmt {
namespace {

// Installs a sound for one test and puts the tests' silent choice back afterwards.
class BeepTest : public ::testing::Test {
  protected:
    void TearDown() override {
        SetBeepSound(nullptr);
        SetResultSounds(nullptr, nullptr);
    }
};

TEST_F(BeepTest, WithoutAnEventSoundTheToolkitBeeps) {
    SetBeepSound(nullptr);
    const int beeps = BeepCount(), fallbacks = FallbackBeepCount();
    Beep();
    Beep();
    EXPECT_EQ(BeepCount() - beeps, 2);
    EXPECT_EQ(FallbackBeepCount() - fallbacks, 2);
}

// A sound system that cannot be reached (here: a driver that does not exist) gives no
// error and no wait: the toolkit beeps instead, and the driver is not asked again.
TEST_F(BeepTest, AnEventSoundThatCannotPlayFallsBackAndCounts) {
    const QByteArray previousDriver = qgetenv("CANBERRA_DRIVER");
    qputenv("CANBERRA_DRIVER", "zmt-no-such-driver");
    auto sound = std::make_shared<EventSound>();
    EXPECT_TRUE(sound->available());  // nothing is opened before the first beep
    SetBeepSound(sound);
    const int beeps = BeepCount(), fallbacks = FallbackBeepCount();
    Beep();
    EXPECT_FALSE(sound->available());
    Beep();
    EXPECT_EQ(BeepCount() - beeps, 2);
    EXPECT_EQ(FallbackBeepCount() - fallbacks, 2);
    EXPECT_FALSE(sound->Play());
    if (previousDriver.isNull())
        qunsetenv("CANBERRA_DRIVER");
    else
        qputenv("CANBERRA_DRIVER", previousDriver);
}

// A series' pass and failure are two sounds of their own: each counts apart and apart from
// the warning beep, and each falls back to the toolkit's beep where it cannot play.
TEST_F(BeepTest, ResultSoundsCountApartFromEachOtherAndFromTheWarningBeep) {
    const QByteArray previousDriver = qgetenv("CANBERRA_DRIVER");
    qputenv("CANBERRA_DRIVER", "zmt-no-such-driver");
    SetResultSounds(std::make_shared<EventSound>("complete"),
                    std::make_shared<EventSound>("dialog-error"));
    const int passes = ResultSoundCount(true), failures = ResultSoundCount(false);
    const int beeps = BeepCount(), fallbacks = FallbackBeepCount();
    ResultSound(true);
    ResultSound(false);
    ResultSound(false);
    EXPECT_EQ(ResultSoundCount(true) - passes, 1);
    EXPECT_EQ(ResultSoundCount(false) - failures, 2);
    EXPECT_EQ(BeepCount(), beeps);
    EXPECT_EQ(FallbackBeepCount() - fallbacks, 3);
    if (previousDriver.isNull())
        qunsetenv("CANBERRA_DRIVER");
    else
        qputenv("CANBERRA_DRIVER", previousDriver);
}

}  // namespace
}  // namespace zmt
