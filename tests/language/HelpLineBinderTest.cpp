#include "QtPrinters.h"
#include "language/HelpLineBinder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include <memory>

namespace zmt {
namespace {

const QString kUntouched = QStringLiteral("<untouched>");

// Counts the pointer movements it gets, to prove the binder passes them on.
class CountingLabel : public QLabel {
  public:
    using QLabel::QLabel;
    int moves = 0;

  protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        ++moves;
        QLabel::mouseMoveEvent(event);
    }
};

template <typename W>
W* Place(QWidget* parent, const char* name, QRect geometry) {
    auto* widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

// A small main window with the real object names: a group with a bound field and an
// unbound label, a memo, an unnamed container with a button, an unbound list and the two
// state-dependent buttons, plus a dialog parented to the window.
class HelpLineBinderTest : public testing::Test {
  protected:
    void SetUp() override {
        texts.FillLanguageText();
        root = std::make_unique<QWidget>();
        root->setObjectName(QStringLiteral("Form1"));
        root->setGeometry(0, 0, 600, 475);
        auto* box = Place<QGroupBox>(root.get(), "Skalierbox", {10, 10, 300, 200});
        Place<QLabel>(box, "Label5", {10, 30, 100, 20});
        Place<QLineEdit>(box, "Skalin1", {10, 60, 80, 20});
        Place<QLineEdit>(box, "RelaisOn", {10, 90, 80, 20});
        Place<QPlainTextEdit>(root.get(), "Mem", {320, 10, 250, 150});
        auto* container = Place<QWidget>(root.get(), "", {10, 220, 300, 100});
        Place<QPushButton>(container, "Readbutt", {10, 10, 120, 25});
        Place<QLabel>(root.get(), "SelectRange", {320, 170, 100, 20});
        Place<QToolButton>(root.get(), "polaritaet", {320, 200, 40, 20});
        Place<QToolButton>(root.get(), "Grenzwertart", {370, 200, 40, 20});
        Place<CountingLabel>(root.get(), "Testout1", {320, 230, 80, 20});
        dialog = new QDialog(root.get());
        dialog->setObjectName(QStringLiteral("ProgramForm"));
        Place<QWidget>(dialog, "Skalin2", {10, 10, 80, 20});
        binder = new HelpLineBinder(root.get(), texts,
                                    {[this] { return polarity; }, [this] { return limitMode; },
                                     [this] { return language; }},
                                    [this](const QString& text) { helpLine = text; });
        root->show();
    }

    QWidget* find(const char* name) const { return root->findChild<QWidget*>(QLatin1String(name)); }

    // A pointer movement at the centre of `target`, delivered as the window system would:
    // to the widget itself, passed on to its parents while nobody accepts it.
    void moveOver(QWidget* target) { moveOver(target, QRectF(target->rect()).center()); }

    void moveOver(QWidget* target, QPointF local) {
        QMouseEvent move(QEvent::MouseMove, local, target->mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
    }

    void enter(QWidget* target, Qt::FocusReason reason = Qt::TabFocusReason) {
        QFocusEvent focus(QEvent::FocusIn, reason);
        QApplication::sendEvent(target, &focus);
    }

    QString row(int r) const { return texts.text(r, language); }

    LanguageText texts;
    std::unique_ptr<QWidget> root;
    QDialog* dialog = nullptr;
    HelpLineBinder* binder = nullptr;
    QString helpLine = kUntouched;
    QString polarity = QStringLiteral("+ / -");
    QString limitMode = QStringLiteral("gwnorm");
    int language = 1;
};

TEST_F(HelpLineBinderTest, PointerOverAControlShowsItsBinding) {
    struct Case {
        const char* target;  // widget the pointer is over; "" for the memo's viewport
        int expectedRow;     // -1: emptied, -2: untouched
    };
    const Case cases[] = {
        {"Skalin1", 51},    {"RelaisOn", 68},     {"Readbutt", 81},
        {"polaritaet", 70}, {"Grenzwertart", 72}, {"Skalierbox", -1},
        {"Label5", -2},     {"SelectRange", -2},  {"", 55},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        helpLine = kUntouched;
        QWidget* target =
            *c.target ? find(c.target)
                      : find("Mem")->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"));
        ASSERT_NE(target, nullptr);
        moveOver(target);
        const QString expected = c.expectedRow == -2
                                     ? kUntouched
                                     : (c.expectedRow == -1 ? QString() : row(c.expectedRow));
        EXPECT_EQ(helpLine, expected);
    }
}

TEST_F(HelpLineBinderTest, BackgroundEmptiesTheLineAndItsCopiesForParentsDoNot) {
    moveOver(find("Readbutt")->parentWidget(), {200, 80});  // unnamed container
    EXPECT_EQ(helpLine, QString());
    helpLine = kUntouched;
    moveOver(root.get(), {590, 460});
    EXPECT_EQ(helpLine, QString());
    helpLine = kUntouched;
    moveOver(root.get(), {20, 45});  // over Label5: only Label5 may act, and it has no binding
    EXPECT_EQ(helpLine, kUntouched);
}

TEST_F(HelpLineBinderTest, FocusThenPointerOnAThresholdField) {
    enter(find("RelaisOn"));
    EXPECT_EQ(helpLine, row(66));
    moveOver(find("RelaisOn"));
    EXPECT_EQ(helpLine, row(68));
}

TEST_F(HelpLineBinderTest, FocusRegainedWithTheWindowLeavesTheLine) {
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        helpLine = kUntouched;
        enter(find("Skalin1"), reason);
        EXPECT_EQ(helpLine, kUntouched);
    }
    enter(find("Skalin1"), Qt::MouseFocusReason);
    EXPECT_EQ(helpLine, row(51));
}

TEST_F(HelpLineBinderTest, StateIsReadAtTheMomentOfTheMovement) {
    polarity = QStringLiteral("+");
    moveOver(find("polaritaet"));
    EXPECT_EQ(helpLine, row(71));
    polarity = QStringLiteral("+ / -");
    moveOver(find("polaritaet"));
    EXPECT_EQ(helpLine, row(70));
    limitMode = QStringLiteral("gwno");
    language = 0;
    moveOver(find("Grenzwertart"));
    EXPECT_EQ(helpLine, texts.text(74, 0));
}

TEST_F(HelpLineBinderTest, LanguageSwitchKeepsTheLineUntilTheNextEvent) {
    moveOver(find("Skalin1"));
    language = 0;
    EXPECT_EQ(helpLine, texts.text(51, 1));
    moveOver(find("Skalin1"));
    EXPECT_EQ(helpLine, texts.text(51, 0));
}

TEST_F(HelpLineBinderTest, OtherWindowsParentedToTheMainWindowAreLeftAlone) {
    QWidget* dialogField = dialog->findChild<QWidget*>(QStringLiteral("Skalin2"));
    moveOver(dialogField);
    enter(dialogField);
    EXPECT_EQ(helpLine, kUntouched);
    EXPECT_FALSE(dialogField->hasMouseTracking());
}

TEST_F(HelpLineBinderTest, ControlsAddedLaterAreBoundWhenPolished) {
    auto* late = Place<QLineEdit>(root.get(), "Skalout2", {320, 260, 80, 20});
    late->show();
    EXPECT_TRUE(late->hasMouseTracking());
    moveOver(late);
    EXPECT_EQ(helpLine, row(54));
}

TEST_F(HelpLineBinderTest, EventsStillReachTheControls) {
    auto* counting = static_cast<CountingLabel*>(find("Testout1"));
    moveOver(counting);
    EXPECT_EQ(counting->moves, 1);
    EXPECT_EQ(helpLine, row(60));
    EXPECT_TRUE(find("Skalin1")->hasMouseTracking());
    EXPECT_TRUE(root->hasMouseTracking());
}

TEST(HelpLineBinderNames, InternalPartsStandForTheirNamedAncestor) {
    QWidget top;
    top.setObjectName(QStringLiteral("Form1"));
    auto* memo = new QPlainTextEdit(&top);
    memo->setObjectName(QStringLiteral("Mem"));
    auto* plain = new QWidget(&top);
    auto* orphan = new QWidget();
    const struct {
        const QWidget* widget;
        const char* name;
    } cases[] = {{memo->viewport(), "Mem"}, {memo, "Mem"}, {plain, "Form1"}, {orphan, ""}};
    for (const auto& c : cases) EXPECT_EQ(HelpLineBinder::ControlNameOf(c.widget), c.name);
    delete orphan;
}

}  // namespace
}  // namespace zmt
