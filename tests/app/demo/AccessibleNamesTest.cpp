// What a screen reader says of every window: each control a user can operate, and each
// field that shows a value, has a name, and no two controls of a window share one, in
// both languages.
#include "MainWindowFixture.h"
#include "VirtualBench.h"
#include "app/JournalWindow.h"
#include "app/SeriesWindow.h"
#include "app/demo/DemoProgram.h"
#include "app/demo/VirtualMeterWindow.h"
#include "device/ZMTU1.h"
#include "device/ZMTUnit1.h"
#include "editor/ComSelectUnit.h"
#include "editor/PortAssignForm.h"
#include "language/ZMT1info.h"
#include "language/ZMThelp.h"
#include "language/ZMThilfe.h"
#include "link/ZMTCOMU1.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <iostream>
#include <map>
#include <vector>

namespace zmt::demo {
namespace {

// A control the user operates: it takes the keyboard or is clicked.
bool IsInteractive(const QWidget* widget) {
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QAbstractSlider*>(widget) ||
           qobject_cast<const QAbstractItemView*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           (widget->focusPolicy() & Qt::TabFocus);
}

// A field that shows a value: a framed panel, or a picture the program draws itself (the
// virtual meter's display and lights). Its text is the value, so it needs a name of its own.
bool IsInformationField(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->frameShape() != QFrame::NoFrame;
    const bool ownDrawing = !QByteArray(widget->metaObject()->className()).contains("::Q") &&
                            !QByteArray(widget->metaObject()->className()).startsWith('Q');
    return ownDrawing && widget->findChildren<QWidget*>().isEmpty();
}

// Parts of a composite control (a table's scroll bars, a spin box's line edit) are named
// by the control they belong to.
bool IsPartOfComposite(const QWidget* widget, const QWidget* window) {
    for (const QWidget* up = widget->parentWidget(); up && up != window; up = up->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(up) ||
            qobject_cast<const QAbstractSpinBox*>(up) || qobject_cast<const QComboBox*>(up))
            return true;
    return widget->objectName().startsWith(QLatin1String("qt_"));
}

struct NameCheck {
    int controls = 0;
    int fields = 0;
    QStringList problems;
};

QString Describe(const QWidget* widget) {
    return QStringLiteral("%1 (%2)").arg(widget->objectName(),
                                         QString::fromLatin1(widget->metaObject()->className()));
}

NameCheck CheckNames(QWidget& window) {
    NameCheck check;
    std::map<QString, QString> named;  // interactive controls by their name
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->window() != &window || !widget->isVisibleTo(&window) ||
            IsPartOfComposite(widget, &window))
            continue;
        const bool interactive = IsInteractive(widget);
        if (!interactive && !IsInformationField(widget)) continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        const QString name = accessible ? accessible->text(QAccessible::Name).trimmed() : QString();
        if (!interactive) {
            ++check.fields;
            if (widget->accessibleName().trimmed().isEmpty())
                check.problems << QStringLiteral("field without a name: ") + Describe(widget);
            continue;
        }
        ++check.controls;
        if (name.isEmpty()) {
            check.problems << QStringLiteral("control without a name: ") + Describe(widget);
            continue;
        }
        const auto [place, fresh] = named.emplace(name, Describe(widget));
        if (!fresh)
            check.problems << QStringLiteral("\"%1\" names both %2 and %3")
                                  .arg(name, place->second, Describe(widget));
    }
    return check;
}

struct AccessibleNamesTest : ::testing::Test {
    test::VirtualBench time;
    test::WorkingDirectory workDir;
    test::ScriptedDialogs dialogs;
    test::ScriptedPortDialogs portDialogs;
    std::unique_ptr<DemoProgram> demo;

    void SetUp() override {
        DemoOptions options{{}, &dialogs};
        options.clock = &time.time.clock;
        options.portDialogs = &portDialogs;
        demo = std::make_unique<DemoProgram>(options);
    }
    void TearDown() override {
        demo->program().Form1().close();
        QCoreApplication::processEvents();
        demo.reset();
    }

    std::vector<std::pair<const char*, QWidget*>> Windows() {
        ZMT6v01& program = demo->program();
        return {{"main window", &program.Form1()},
                {"operation window", &program.ProgramForm()},
                {"series window", &program.SeriesForm()},
                {"journal window", &program.JournalForm()},
                {"port assignment", &program.PortAssign()},
                {"virtual meter", &demo->meterWindow()},
                {"first start", &program.ComPreSelect()},
                {"legacy calibration", &program.Form2()},
                {"transfer window", &program.ZMTCom()},
                {"help (German)", &program.ZMTHelpDeu()},
                {"help (English)", &program.ZMTHelpEng()},
                {"about box", &program.ZMT1about()}};
    }
};

TEST_F(AccessibleNamesTest, EveryControlOfEveryWindowHasItsOwnNameInBothLanguages) {
    int controls = 0, fields = 0;
    for (int language = 0; language < 2; ++language) {
        for (const auto& [what, window] : Windows()) {
            // Every window puts its texts on when it is shown.
            if (window != &demo->program().Form1()) window->show();
            QCoreApplication::processEvents();
            const NameCheck check = CheckNames(*window);
            EXPECT_TRUE(check.problems.isEmpty()) << what << " in language " << language << ":\n"
                                                  << check.problems.join(u'\n').toStdString();
            EXPECT_GT(check.controls, 0) << what;
            controls += check.controls;
            fields += check.fields;
            if (window != &demo->program().Form1()) window->hide();
        }
        demo->program().Form1().findChild<QAction*>("MLanguage")->trigger();
    }
    std::cout << "[ checked  ] " << controls << " controls and " << fields
              << " information fields in " << Windows().size() << " windows, both languages\n";
}

}  // namespace
}  // namespace zmt::demo
