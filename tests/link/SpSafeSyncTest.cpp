#include "link/SpSafeSync.h"

#include "PtyPorts.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace zmt::link {
namespace {

using test::ProcessUntil;

// Longer than the test may run: a worker that is not released shows as the test's time-out.
constexpr int NeverMs = 120000;

bool OnGuiThread() {
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

void WaitForQueuedCall() {
    for (int i = 0; i < 500 && SafeSyncPendingCalls() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

class Registrations {
  public:
    ~Registrations() {
        for (std::uint32_t id : ids) SafeSyncUnregister(id);
    }
    std::uint32_t add(SafeSyncMethod method) {
        const std::uint32_t id = SafeSyncRegister(std::move(method));
        if (id) ids.push_back(id);
        return id;
    }
    std::vector<std::uint32_t> ids;
};

TEST(SpSafeSync, SixtyFourSlotsThenZero) {
    Registrations r;
    for (int i = 0; i < SafeSyncSlotCount; ++i) EXPECT_NE(r.add([](int) {}), 0u) << i;
    EXPECT_EQ(SafeSyncRegister([](int) {}), 0u);
    SafeSyncUnregister(r.ids.back());
    r.ids.pop_back();
    EXPECT_NE(r.add([](int) {}), 0u);  // a freed slot is taken again
}

TEST(SpSafeSync, IdsSkipZeroWhenTheCounterWraps) {
    Registrations r;
    SafeSyncSetNextId(0xFFFFFFFFu);
    EXPECT_EQ(r.add([](int) {}), 0xFFFFFFFFu);
    EXPECT_EQ(r.add([](int) {}), 1u);
}

struct RefusedCase {
    const char* name;
    bool registered, enabled;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

class SpSafeSyncRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(SpSafeSyncRefused, CallsReturnFalseWithoutRunning) {
    Registrations r;
    int runs = 0;
    std::uint32_t id = 0;
    if (GetParam().registered) id = r.add([&](int) { ++runs; });
    SafeSyncSetEnabled(id, GetParam().enabled);
    bool result = true;
    std::thread worker([&] { result = SafeSyncCall(id, NeverMs); });
    worker.join();
    QCoreApplication::sendPostedEvents();  // a queued call would run now
    EXPECT_FALSE(result);
    EXPECT_EQ(runs, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, SpSafeSyncRefused,
                         ::testing::Values(RefusedCase{"IdZero", false, true},
                                           RefusedCase{"Disabled", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SpSafeSync, ACallRunsOnTheGuiThreadAndTheWorkerWaitsForIt) {
    Registrations r;
    std::atomic<bool> returned{false};
    bool ranOnGui = false, workerWaited = false;
    int slotIndex = -1;
    const std::uint32_t id = r.add([&](int index) {
        ranOnGui = OnGuiThread();
        workerWaited = !returned;
        slotIndex = index;
    });
    SafeSyncSetEnabled(id, true);
    bool result = false;
    std::thread worker([&] {
        result = SafeSyncCall(id, NeverMs);
        returned = true;
    });
    EXPECT_TRUE(ProcessUntil([&] { return returned.load(); }));
    worker.join();
    EXPECT_TRUE(result);
    EXPECT_TRUE(ranOnGui);
    EXPECT_TRUE(workerWaited);
    EXPECT_EQ(slotIndex, 0);
}

TEST(SpSafeSync, DisablingReleasesAWaitingWorkerAndTheCallNeverRuns) {
    Registrations r;
    int runs = 0;
    const std::uint32_t id = r.add([&](int) { ++runs; });
    SafeSyncSetEnabled(id, true);
    bool result = true;
    std::thread worker([&] { result = SafeSyncCall(id, NeverMs); });
    WaitForQueuedCall();
    ASSERT_EQ(SafeSyncPendingCalls(), 1);
    SafeSyncSetEnabled(id, false);
    worker.join();  // would stall here for the whole limit without the release
    QCoreApplication::sendPostedEvents();  // a queued call would run now
    EXPECT_FALSE(result);
    EXPECT_EQ(runs, 0);
}

TEST(SpSafeSync, ATimedOutCallNeverTouchesWhatItsOwnerFreed) {
    auto owner = std::make_unique<int>(0);
    auto ran = std::make_shared<std::atomic<int>>(0);
    const std::uint32_t id = SafeSyncRegister([target = owner.get(), ran](int) {
        ++*ran;
        ++*target;
    });
    SafeSyncSetEnabled(id, true);
    bool result = false;
    std::thread worker([&] { result = SafeSyncCall(id, 50); });
    worker.join();
    EXPECT_TRUE(result);  // a time-out alone does not fail the call
    SafeSyncUnregister(id);
    owner.reset();
    QCoreApplication::sendPostedEvents();  // a queued call would run now
    EXPECT_EQ(*ran, 0);
    EXPECT_EQ(SafeSyncPendingCalls(), 0);
}

TEST(SpSafeSync, ACallFromTheGuiThreadRunsAtOnce) {
    Registrations r;
    int runs = 0;
    const std::uint32_t id = r.add([&](int) { ++runs; });
    SafeSyncSetEnabled(id, true);
    EXPECT_TRUE(SafeSyncCall(id, NeverMs));
    EXPECT_EQ(runs, 1);
}

struct RaisedCase {
    const char* name;
    std::function<void(std::uint32_t id)> fromWorker;
};

void PrintTo(const RaisedCase& c, std::ostream* os) {
    *os << c.name;
}

class SpSafeSyncExceptions : public ::testing::TestWithParam<RaisedCase> {};

TEST_P(SpSafeSyncExceptions, ReachTheHandlerOnTheGuiThread) {
    Registrations r;
    std::vector<std::string> shown;
    bool onGui = true;
    SafeSyncSetExceptionHandler([&](std::exception_ptr error) {
        onGui = onGui && OnGuiThread();
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            shown.push_back(e.what());
        }
    });
    const std::uint32_t id = r.add([](int) { throw std::runtime_error("boom"); });
    SafeSyncSetEnabled(id, true);
    std::thread worker([&] { GetParam().fromWorker(id); });
    EXPECT_TRUE(ProcessUntil([&] { return !shown.empty(); }));
    worker.join();
    SafeSyncSetExceptionHandler({});
    EXPECT_EQ(shown, std::vector<std::string>{"boom"});
    EXPECT_TRUE(onGui);
}

INSTANTIATE_TEST_SUITE_P(Cases, SpSafeSyncExceptions,
                         ::testing::Values(RaisedCase{"FromAMethod",
                                                      [](std::uint32_t id) {
                                                          SafeSyncCall(id, NeverMs);
                                                      }},
                                           RaisedCase{"Raised",
                                                      [](std::uint32_t) {
                                                          SafeSyncRaise(std::make_exception_ptr(
                                                              std::runtime_error("boom")));
                                                      }}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zmt::link
