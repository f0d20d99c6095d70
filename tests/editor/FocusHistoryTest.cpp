// Where the focus came from when a window becomes active, without showing a window: what
// decides whether the main window's activation rule runs (the window itself is tested in
// MainWindowPortTest).
#include "QtPrinters.h"
#include "common/FocusHistory.h"

#include <gtest/gtest.h>

#include <QWindow>

namespace zmt {
namespace {

// The platform may deliver the activation before or after it announces the new focus
// window: both orders give the same answer.
TEST(FocusHistory, TellsWhereTheFocusCameFrom) {
    QWindow main, other, menu;
    menu.setFlags(Qt::Popup);
    using Source = FocusHistory::Source;
    struct Case {
        const char* what;
        std::vector<const QWindow*> before;  // focus windows announced before the activation
        Source source;
    };
    const Case cases[] = {
        {"the first activation", {}, Source::OtherApplication},
        {"another window of the program", {&main, &other}, Source::OtherWindow},
        {"another application", {&main, &other, nullptr}, Source::OtherApplication},
        {"another application, back to ours", {&main, nullptr, &other}, Source::OtherWindow},
        {"a menu of the window", {&main, &menu}, Source::SameWindow},
        {"a menu of another window", {&other, &menu}, Source::SameWindow},
        {"a menu, then elsewhere", {&main, &menu, nullptr}, Source::OtherApplication},
    };
    for (const Case& c : cases) {
        for (const bool announcedFirst : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.what << (announcedFirst ? ", announced" : ""));
            FocusHistory history;
            for (const QWindow* window : c.before) history.record(window);
            if (announcedFirst) history.record(&main);
            EXPECT_EQ(history.cameFrom(&main), c.source);
        }
    }
}

}  // namespace
}  // namespace zmt
