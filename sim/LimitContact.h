#pragma once

#include "sim/MeterImage.h"

namespace zmt::sim {

enum class ContactState { Open, Closed, NotUsed };

const char* ContactStateName(ContactState state);

// The limit contact. It compares the raw reading with the 2048 bias against the ON word
// w6 and the OFF word w7, both signed; between the two it keeps its state. Normally it
// closes at or above ON and opens at or below OFF; with the inverted flag it closes at or
// below ON and opens at or above OFF. ON wins where both apply. ON = 5000 means not used.
class LimitContact {
  public:
    // The relay falls off whenever the meter starts or loses its supply.
    void reset() { closed_ = false; }
    ContactState update(const ImageWords& image, double raw);
    ContactState state(const ImageWords& image) const;

  private:
    bool closed_ = false;
};

inline constexpr double RawBias = 2048;

}  // namespace zmt::sim
