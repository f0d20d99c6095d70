#include "link/SignalBoard.h"

#include <gtest/gtest.h>

#include <ostream>

#include <atomic>
#include <chrono>
#include <thread>

namespace zmt::link {
namespace {

constexpr std::uint32_t A = 0x1, B = 0x2, C = 0x4;

struct BoardCase {
    const char* name;
    std::uint32_t manual, set, mask;
    std::uint32_t first, second;  // two takes in a row
};

void PrintTo(const BoardCase& c, std::ostream* os) {
    *os << c.name;
}

class SignalBoardTakes : public ::testing::TestWithParam<BoardCase> {};

TEST_P(SignalBoardTakes, FollowTheResetKind) {
    const BoardCase& c = GetParam();
    SignalBoard board(c.manual);
    board.set(c.set);
    EXPECT_EQ(board.take(c.mask), c.first);
    EXPECT_EQ(board.take(c.mask), c.second);
}

INSTANTIATE_TEST_SUITE_P(Cases, SignalBoardTakes,
                         ::testing::Values(BoardCase{"AutoResetIsTakenOnce", 0, A, A, A, 0},
                                           BoardCase{"ManualResetStays", A, A, A, A, A},
                                           BoardCase{"LowestFirst", 0, B | C, A | B | C, B, C},
                                           BoardCase{"OutsideTheMaskIsLeft", 0, C, A | B, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SignalBoard, AWaitEndsWhenAnotherThreadSets) {
    SignalBoard board;
    std::thread setter([&] { board.set(B); });
    // The long limit only bounds a failing run.
    EXPECT_EQ(board.waitAny(A | B, 30000), B);
    setter.join();
}

TEST(SignalBoard, WaitSetLeavesTheSignalAndResetClearsIt) {
    SignalBoard board;
    EXPECT_FALSE(board.waitSet(A, 10));
    board.set(A);
    EXPECT_TRUE(board.waitSet(A, 10));
    EXPECT_TRUE(board.isSet(A));
    board.reset(A);
    EXPECT_EQ(board.waitAny(A, 10), 0u);
}

TEST(CancellableLock, AWaiterGivesUpWhenItsConditionEnds) {
    CancellableLock lock;
    std::atomic<bool> keepWaiting{true};
    lock.lock();
    bool took = true;
    std::thread waiter([&] { took = lock.lockWhile(keepWaiting); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    keepWaiting = false;
    lock.wake();
    waiter.join();  // would wait for the holder forever without the wake-up
    EXPECT_FALSE(took);
    lock.unlock();
    EXPECT_FALSE(lock.lockWhile(keepWaiting));
}

TEST(CancellableLock, AWaiterTakesTheLockWhenReleased) {
    CancellableLock lock;
    std::atomic<bool> keepWaiting{true};
    lock.lock();
    bool took = false;
    std::thread waiter([&] { took = lock.lockWhile(keepWaiting); });
    lock.unlock();
    waiter.join();
    EXPECT_TRUE(took);
    lock.unlock();
}

}  // namespace
}  // namespace zmt::link
