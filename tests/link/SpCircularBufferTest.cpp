#include "link/SpCircularBuffer.h"

#include <gtest/gtest.h>

#include <ostream>

#include <numeric>
#include <vector>

namespace zmt::link {
namespace {

std::vector<std::uint8_t> Bytes(std::uint32_t n, std::uint8_t first = 0) {
    std::vector<std::uint8_t> bytes(n);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

// Reads everything stored, in the two linear pieces a writer would see.
std::vector<std::uint8_t> Contents(TSpCircularBuffer ring) {
    std::vector<std::uint8_t> out;
    while (const std::uint32_t n = ring.LinearUsed()) {
        out.insert(out.end(), ring.ReadPointer(), ring.ReadPointer() + n);
        ring.Remove(n);
    }
    return out;
}

struct RingStep {
    char op;  // 'w' write n bytes, 'r' remove n, 'c' clear
    std::uint32_t n;
    bool accepted;
    std::uint32_t used, linearUsed;
};

struct RingCase {
    const char* name;
    std::uint32_t capacity;
    std::vector<RingStep> steps;
};

void PrintTo(const RingCase& c, std::ostream* os) {
    *os << c.name;
}

class SpCircularBufferRules : public ::testing::TestWithParam<RingCase> {};

TEST_P(SpCircularBufferRules, Hold) {
    TSpCircularBuffer ring(GetParam().capacity);
    std::uint8_t next = 0;
    int step = 0;
    for (const RingStep& s : GetParam().steps) {
        SCOPED_TRACE(step++);
        bool accepted = true;
        if (s.op == 'w') {
            const auto bytes = Bytes(s.n, next);
            accepted = ring.Write(bytes.data(), s.n);
            if (accepted) next = static_cast<std::uint8_t>(next + s.n);
        } else if (s.op == 'r') {
            accepted = ring.Remove(s.n);
        } else {
            ring.Clear();
        }
        EXPECT_EQ(accepted, s.accepted);
        EXPECT_EQ(ring.Used(), s.used);
        EXPECT_EQ(ring.FreeSpace(), GetParam().capacity - s.used);
        EXPECT_EQ(ring.LinearUsed(), s.linearUsed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpCircularBufferRules,
    ::testing::Values(RingCase{"FillsToExactlyFreeSpaceAndRefusesOneMore",
                               8,
                               {{'w', 3, true, 3, 3}, {'w', 5, true, 8, 8}, {'w', 1, false, 8, 8}}},
                      RingCase{
                          "RefusesEmptyAndOversizedWrites",
                          8,
                          {{'w', 0, false, 0, 0}, {'w', 9, false, 0, 0}, {'w', 8, true, 8, 8}}},
                      RingCase{"FullAfterWrapIsTellFromEmpty",
                               8,
                               {{'w', 6, true, 6, 6},
                                {'r', 4, true, 2, 2},
                                {'w', 6, true, 8, 4},  // 2 at the end, 4 wrapped to position 0
                                {'r', 4, true, 4, 4},
                                {'r', 4, true, 0, 0}}},
                      RingCase{"WriteEndingExactlyAtTheEndWrapsThePosition",
                               8,
                               {{'w', 8, true, 8, 8}, {'r', 8, true, 0, 0}, {'w', 2, true, 2, 2}}},
                      RingCase{"RemoveMoreThanStoredChangesNothing",
                               8,
                               {{'w', 3, true, 3, 3}, {'r', 4, false, 3, 3}, {'r', 0, true, 3, 3}}},
                      RingCase{"ClearEmptiesAFullRing",
                               4,
                               {{'w', 4, true, 4, 4}, {'c', 0, true, 0, 0}, {'w', 4, true, 4, 4}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpCircularBuffer, AWrappedWriteKeepsTheByteOrder) {
    TSpCircularBuffer ring(8);
    const auto first = Bytes(6, 10);
    ASSERT_TRUE(ring.Write(first.data(), 6));
    ASSERT_TRUE(ring.Remove(5));
    const auto second = Bytes(7, 50);
    ASSERT_TRUE(ring.Write(second.data(), 7));
    std::vector<std::uint8_t> expected{15};
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(Contents(ring), expected);
}

TEST(SpCircularBuffer, ARefusedWriteStoresNothing) {
    TSpCircularBuffer ring(4);
    const auto bytes = Bytes(3, 1);
    ASSERT_TRUE(ring.Write(bytes.data(), 3));
    const auto more = Bytes(2, 100);
    EXPECT_FALSE(ring.Write(more.data(), 2));
    EXPECT_EQ(Contents(ring), bytes);
}

}  // namespace
}  // namespace zmt::link
