#include "common/FocusHistory.h"

#include <QGuiApplication>
#include <QWindow>

namespace zmt {

FocusHistory::FocusHistory(QObject* parent) : QObject(parent) {
    auto* application = qGuiApp;
    if (!application) return;
    connect(application, &QGuiApplication::focusWindowChanged, this,
            [this](QWindow* window) { record(window); });
    // Some platforms report leaving the program by the application state only.
    connect(application, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive) record(nullptr);
            });
    record(QGuiApplication::focusWindow());
}

void FocusHistory::record(const QWindow* focused) {
    const bool popup = focused && (focused->type() == Qt::Popup || focused->type() == Qt::ToolTip);
    const Entry entry{popup ? nullptr : focused, popup};
    if (entry == last_) return;
    beforeLast_ = last_;
    last_ = entry;
}

FocusHistory::Source FocusHistory::cameFrom(const QWindow* target) const {
    // Announced already: the entry before it is where the focus came from.
    const Entry& from = last_.window == target && !last_.popup ? beforeLast_ : last_;
    if (from.popup || from.window == target) return Source::SameWindow;
    return from.window ? Source::OtherWindow : Source::OtherApplication;
}

}  // namespace zmt

#include "moc_FocusHistory.cpp"
