#pragma once

#include <QApplication>
#include <QString>

#include <functional>

namespace zmt {

// The application's standard error display: one message box with the text of an exception
// that ended an event handler. The program goes on afterwards.
//
// Tests replace the message box with a hook that records the message; the hook returns
// the previous one so that a test can restore it.
using ErrorDisplayHook = std::function<void(const QString& message)>;
ErrorDisplayHook SetErrorDisplayHook(ErrorDisplayHook hook);

// Shows `message` through the current hook (a modal message box when none is set).
void ShowErrorMessage(const QString& message);

// Runs `handler`; an exception that escapes it is shown by the error display instead of
// ending the program.
void RunGuarded(const std::function<void()>& handler);

// The program's application object: every event goes through notify(), so an exception
// that escapes any handler lands in the error display.
class Application : public QApplication {
    Q_OBJECT
  public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace zmt
