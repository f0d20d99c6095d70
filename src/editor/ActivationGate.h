#pragma once

namespace zmt {

// When the main window runs its activation rule (both lines sent again, the switches locked
// for a moment): at its first show and whenever it takes over from another window of the
// program, never when the user comes back from another application; there the rule would
// only lock the switches and, with a port that cannot be opened, add error lines at every
// return. A rule that is owed (the first show, a modal window of the program that returned)
// runs at the next activation or, where the platform reports none, at the fallback.
class ActivationGate {
  public:
    void Owe() { owed_ = true; }
    // An activation reported by the platform; true when the rule runs.
    bool Activated(bool fromOwnWindow);
    // The fallback's turn; true when the rule is still owed.
    bool FallbackDue();

  private:
    bool owed_ = false;
};

}  // namespace zmt
