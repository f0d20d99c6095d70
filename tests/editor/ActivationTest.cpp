// When the main window's activation rule runs, without a window: the gate that owes the
// rule after the first show and a modal window, and the history that tells where the focus
// came from.
#include "ActivationGate.h"
#include "FocusHistory.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QWindow>

namespace zmt {
namespace {

TEST(ActivationGate, RunsWhenOwedOrTakingOverFromAnOwnWindow) {
    struct Step {
        const char* event;
        bool fromOwnWindow;  // for "activated"
        bool runs;
    };
    const Step steps[] = {
        {"owe", false, false},       {"activated", false, true},  // the first show
        {"activated", false, false},                              // back from elsewhere
        {"activated", true, true},                                // from a window of ours
        {"fallback", false, false},                               // nothing owed
        {"owe", false, false},       {"fallback", false, true},   // no activation reported
        {"activated", false, false},                              // not twice
        {"owe", false, false},       {"activated", true, true},
        {"fallback", false, false},  // the activation paid it
    };
    ActivationGate gate;
    int index = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << index++ << " " << step.event);
        const QString event = step.event;
        if (event == "owe") {
            gate.Owe();
            EXPECT_TRUE(gate.Owed());
            continue;
        }
        const bool ran =
            event == "activated" ? gate.Activated(step.fromOwnWindow) : gate.FallbackDue();
        EXPECT_EQ(ran, step.runs);
        EXPECT_FALSE(gate.Owed());
    }
}

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
