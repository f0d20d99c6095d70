#include "common/ErrorDisplay.h"

#include <QMessageBox>

#include <exception>

namespace zmt {

namespace {

ErrorDisplayHook& CurrentHook() {
    static ErrorDisplayHook hook;
    return hook;
}

void ShowMessageBox(const QString& message) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), message,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

QString MessageOf(const std::exception& error) {
    return QString::fromUtf8(error.what());
}

}  // namespace

ErrorDisplayHook SetErrorDisplayHook(ErrorDisplayHook hook) {
    ErrorDisplayHook previous = std::move(CurrentHook());
    CurrentHook() = std::move(hook);
    return previous;
}

void ShowErrorMessage(const QString& message) {
    if (CurrentHook())
        CurrentHook()(message);
    else
        ShowMessageBox(message);
}

void RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowErrorMessage(MessageOf(error));
    }
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        // The handler is over; the event counts as handled so nobody acts on it twice.
        ShowErrorMessage(MessageOf(error));
        return true;
    }
}

}  // namespace zmt

#include "moc_ErrorDisplay.cpp"
