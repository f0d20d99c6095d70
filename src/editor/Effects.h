#pragma once

#include <QString>

#include <vector>

namespace zmt {

// What a headless editor operation wants the window to show besides the model's own
// values: status memo operations in order, and beeps. The window replays them.
class Effects {
  public:
    struct MemOp {
        bool clear;  // true: clear the memo; false: add `line`
        QString line;
    };

    void clearMem() { mem_.push_back({true, {}}); }
    void addMem(const QString& line) { mem_.push_back({false, line}); }
    void beep() { ++beeps_; }

    const std::vector<MemOp>& memOps() const { return mem_; }
    int beeps() const { return beeps_; }

    // The memo lines that remain after replaying onto `before` (for tests and replay).
    std::vector<QString> applyTo(std::vector<QString> before) const {
        for (const auto& op : mem_) {
            if (op.clear)
                before.clear();
            else
                before.push_back(op.line);
        }
        return before;
    }

  private:
    std::vector<MemOp> mem_;
    int beeps_ = 0;
};

}  // namespace zmt
