#include "editor/ActivationGate.h"

namespace zmt {

bool ActivationGate::Activated(bool fromOwnWindow) {
    const bool run = owed_ || fromOwnWindow;
    owed_ = false;
    return run;
}

bool ActivationGate::FallbackDue() {
    const bool run = owed_;
    owed_ = false;
    return run;
}

}  // namespace zmt
