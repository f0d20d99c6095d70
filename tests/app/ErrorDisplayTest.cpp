// An exception that escapes a handler ends that handler, shows its message once, and the
// program goes on.
#include "common/ErrorDisplay.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <stdexcept>

namespace zmt {
namespace {

class ThrowingObject : public QObject {
  public:
    int handled = 0;

  protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User) return QObject::event(event);
        ++handled;
        throw std::runtime_error("'abc' is not a valid floating point value");
    }
};

class ErrorDisplayTest : public ::testing::Test {
  protected:
    ErrorDisplayTest()
        : previous_(SetErrorDisplayHook([this](const QString& m) { messages << m; })) {}
    ~ErrorDisplayTest() override { SetErrorDisplayHook(std::move(previous_)); }

    QStringList messages;

  private:
    ErrorDisplayHook previous_;
};

TEST_F(ErrorDisplayTest, ExceptionFromAnEventHandlerIsShownOnceAndTheLoopGoesOn) {
    const std::pair<const char*, bool> routes[] = {{"sent", false}, {"posted", true}};
    for (const auto& [route, posted] : routes) {
        SCOPED_TRACE(route);
        messages.clear();
        ThrowingObject target;
        if (posted) {
            QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
            QCoreApplication::processEvents();
        } else {
            QEvent event(QEvent::User);
            EXPECT_NO_THROW(QCoreApplication::sendEvent(&target, &event));
        }
        EXPECT_EQ(target.handled, 1);
        EXPECT_EQ(messages, QStringList{"'abc' is not a valid floating point value"});
    }
}

TEST_F(ErrorDisplayTest, GuardedHandlerShowsWhatEscapesAndNothingElse) {
    RunGuarded([] {});
    EXPECT_TRUE(messages.isEmpty());
    RunGuarded([] { throw std::out_of_range("Settings line 4: '9' is not a device type"); });
    EXPECT_EQ(messages, QStringList{"Settings line 4: '9' is not a device type"});
}

}  // namespace
}  // namespace zmt
