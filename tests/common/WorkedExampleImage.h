#pragma once

#include "sim/MeterImage.h"

namespace zmt::test {

// The image a meter holds after the worked example was written, with unity gain of its own
// and no calibration.
inline sim::ImageWords WorkedExampleImage() {
    return {0, 0, 8192, 2049, 0, 0, 4047, 4047, 0, 10000, 12000, 10000, 12000, 12000, 12000, 1};
}

}  // namespace zmt::test
