#pragma once

// The simulated interfaces and meters on a virtual clock, with the virtual time driver
// watching their wires and the ports that talk to them.

#include "VirtualTime.h"
#include "link/SpComPort.h"
#include "sim/SimulatedBench.h"
#include "sim/SimulatedPort.h"

#include <memory>

namespace zmt::test {

struct VirtualBench {
    VirtualTime time;
    std::shared_ptr<sim::SimulatedBench> bench = std::make_shared<sim::SimulatedBench>(time.clock);

    VirtualBench() {
        bench->SetActivityListener(&VirtualTime::Wake);
        time.watchIdle([b = bench] { return b->Quiescent(); });
        time.watchDeadline([b = bench] { return b->NextEventAt(); });
        time.watchIdle([watched = watched_] { return !*watched || (*watched)->OutBufUsed() == 0; });
    }
    // The port whose written bytes must reach the wire before the clock moves on; one at a
    // time, so a test that starts the program again watches the new program's port only.
    void watchPort(link::TSpComPort& port) { *watched_ = &port; }
    // Before the watched port goes away.
    void forgetPort() { *watched_ = nullptr; }
    link::PlatformDeviceFactory deviceFactory() const { return sim::SimulatedDeviceFactory(bench); }
    std::chrono::milliseconds elapsedSince(Clock::TimePoint start) const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(time.clock.now() - start);
    }

  private:
    std::shared_ptr<link::TSpComPort*> watched_ = std::make_shared<link::TSpComPort*>(nullptr);
};

}  // namespace zmt::test
