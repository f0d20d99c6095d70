#include "language/HelpLineBinder.h"

#include <QChildEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QWidget>

namespace zmt {

namespace {

template <typename T>
T ValueOr(const std::function<T()>& source, T fallback) {
    return source ? source() : fallback;
}

bool HasUsableName(const QWidget* widget) {
    const QString name = widget->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

}  // namespace

HelpLineBinder::HelpLineBinder(QWidget* root, const LanguageText& texts, StateSources sources,
                               HelpLineSetter setHelpLine)
    : QObject(root),
      root_(root),
      texts_(texts),
      sources_(std::move(sources)),
      setHelpLine_(std::move(setHelpLine)) {
    watchTree(root);
}

QString HelpLineBinder::ControlNameOf(const QWidget* widget) {
    while (widget != nullptr && !HasUsableName(widget)) widget = widget->parentWidget();
    return widget != nullptr ? widget->objectName() : QString();
}

bool IsDeepestUnderPointer(const QWidget* receiver, const QPoint& localPos) {
    return receiver->rect().contains(localPos) && receiver->childAt(localPos) == nullptr;
}

bool IsFocusEntry(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

void HelpLineBinder::watchTree(QWidget* top) {
    watch(top);
    for (QWidget* child : top->findChildren<QWidget*>()) watch(child);
}

void HelpLineBinder::watch(QWidget* widget) {
    if (!belongsToRootWindow(widget)) return;
    widget->installEventFilter(this);  // installing twice keeps a single filter
    widget->setMouseTracking(true);
}

bool HelpLineBinder::belongsToRootWindow(const QWidget* widget) const {
    return root_ != nullptr && widget->window() == root_->window();
}

bool HelpLineBinder::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) return false;
    switch (event->type()) {
        case QEvent::MouseMove: {
            const auto* move = static_cast<QMouseEvent*>(event);
            if (IsDeepestUnderPointer(widget, move->position().toPoint()))
                showHelpFor(HelpEvent::MouseMove, widget);
            break;
        }
        case QEvent::FocusIn:
            if (IsFocusEntry(static_cast<QFocusEvent*>(event)->reason()))
                showHelpFor(HelpEvent::FocusEntry, widget);
            break;
        case QEvent::ChildPolished:
            if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
                watchTree(child);
            break;
        default:
            break;
    }
    return false;
}

void HelpLineBinder::showHelpFor(HelpEvent helpEvent, const QWidget* control) {
    const std::optional<QString> text =
        HelpLineText(helpEvent, ControlNameOf(control), ValueOr(sources_.polarityCaption, {}),
                     ValueOr(sources_.limitMode, {}), texts_, ValueOr(sources_.languageIndex, 0));
    if (text && setHelpLine_) setHelpLine_(*text);
}

}  // namespace zmt

#include "moc_HelpLineBinder.cpp"
