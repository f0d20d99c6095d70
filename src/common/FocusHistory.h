#pragma once

#include <QObject>

class QWindow;

namespace zmt {

// Which window had the keyboard focus before a window became active: another window of the
// program, the same window (back from one of its menus), or none, which means the user came
// from another application. Follows the application's announcements of the focus window and
// of its own state; a menu or tool tip counts as part of the window that opened it.
class FocusHistory : public QObject {
    Q_OBJECT
  public:
    enum class Source { OtherApplication, SameWindow, OtherWindow };

    explicit FocusHistory(QObject* parent = nullptr);

    // Where the focus came from as `target` becomes active. The activation may be delivered
    // before or after the application announces the new focus window; both give one answer.
    Source cameFrom(const QWindow* target) const;
    // A new focus window; null when the focus left the program.
    void record(const QWindow* focused);

  private:
    struct Entry {
        const QWindow* window = nullptr;  // compared, never dereferenced: it may be gone
        bool popup = false;
        bool operator==(const Entry&) const = default;
    };

    Entry last_;
    Entry beforeLast_;
};

}  // namespace zmt
