#pragma once

#include "WindowTestSupport.h"

#include "VirtualTime.h"
#include "common/Beep.h"
#include "common/OneShotTimer.h"
#include "editor/ConfigModel.h"
#include "editor/PortController.h"
#include "editor/ZMT1.h"
#include "language/LanguageText.h"
#include "link/SpComPort.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

namespace zmt::test {

// The caption of a control as the user reads it.
inline QString CaptionOf(QObject* control) {
    if (auto* window = qobject_cast<QMainWindow*>(control)) return window->windowTitle();
    if (auto* menu = qobject_cast<QMenu*>(control)) return menu->title();
    if (auto* action = qobject_cast<QAction*>(control)) return action->text();
    if (auto* group = qobject_cast<QGroupBox*>(control)) return group->title();
    if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
    return QStringLiteral("<no caption>");
}

// Writes a settings file: the first-start lines with some lines replaced.
inline void WriteSettings(const QString& path, std::vector<std::pair<int, QString>> changes) {
    QStringList lines = {"4824-1", "V6.0",  "COM1",  "4",         "1",         "    0", "    0",
                         "   20",  " 2000", "   10", "device on", "signal on", " 2000", " 2000",
                         "gwnorm", "+ / -", "0",     "",          "",          ""};
    for (const auto& [line, text] : changes) lines[line] = text;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (const QString& line : lines) file.write(line.toLatin1() + "\r\n");
}

inline QStringList ReadLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
}

// The shared state, the port component over a recorded serial bench and the port
// controller over both, on a virtual clock: what the main window and the operation
// windows work on, without a window.
struct ControllerSetup {
    VirtualTime time;
    WorkingDirectory workDir;
    std::shared_ptr<SerialBench> bench = std::make_shared<SerialBench>();
    ConfigModel model;
    SessionState session;
    LanguageText texts;
    ConfigEditor editor{model, session, texts};
    link::TSpComPort port{nullptr, QStringLiteral("RS232"), BenchFactory(bench)};
    std::unique_ptr<PortController> controller;
    // The port assignment's devices and bindings: by default no device list and the comN
    // links of the working directory.
    link::PortSetup ports = link::WorkingFolderPortSetup();
    // The kernel's view of the machine: none by default, so that no test depends on the
    // serial hardware of the machine it runs on.
    link::SystemFolders system{QStringLiteral("no-proc"), QStringLiteral("no-sys"),
                               QStringLiteral("no-root")};
    Effects reported;  // everything the controller reported, in order

    ControllerSetup() { texts.FillLanguageText(); }
    ~ControllerSetup() {
        controller.reset();
        port.Close();
    }
    void CreateController() {
        controller = std::make_unique<PortController>(
            PortControllerContext{editor, port, time.clock, BenchFactory(bench),
                                  QStringLiteral("initdig.txt"), ports, system});
        QObject::connect(controller.get(), &PortController::changed, [this](const Effects& fx) {
            for (const Effects::MemOp& op : fx.memOps())
                op.clear ? reported.clearMem() : reported.addMem(op.line);
            for (int i = 0; i < fx.beeps(); ++i) reported.beep();
        });
    }
    QStringList ReportedLines() const {
        QStringList lines;
        for (const QString& line : reported.applyTo({})) lines << line;
        return lines;
    }
};

// A main window over fresh state, a recorded serial bench and scripted dialogs.
class MainWindowTest : public ::testing::Test, public ControllerSetup {
  protected:
    void TearDown() override {
        form.reset();
        controller.reset();
        port.Close();
    }

    // Creates the window as the program start does (initdig.txt is read if present).
    void CreateForm() {
        form.reset();
        CreateController();
        form = std::make_unique<TForm1>(Form1Context{*controller, dialogs, time.clock});
        form->setHooks(hooks);
    }
    // The window after a first start on COM1, without the first-start window.
    void CreateWithDefaults() {
        CreateForm();
        timer("starttimer")->setEnabled(false);
        controller->FirstStartChoice(1);
        form->ClearMem();
    }
    void ShowActive() {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    template <class Widget = QWidget>
    Widget* child(const QString& name) {
        auto* widget = form->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QLineEdit* field(const QString& name) { return child<QLineEdit>(name); }
    QString text(const QString& name) { return field(name)->text(); }
    QAction* action(const QString& name) { return child<QAction>(name); }
    OneShotTimer* timer(const QString& name) { return child<OneShotTimer>(name); }
    QString caption(const QString& name) {
        return CaptionOf(name == "Form1" ? form.get() : form->findChild<QObject*>(name));
    }
    QString glyph(const QString& name) { return child(name)->property("glyph").toString(); }

    ScriptedDialogs dialogs;
    ErrorCapture errors;
    Form1Hooks hooks;
    std::unique_ptr<TForm1> form;
};

}  // namespace zmt::test
