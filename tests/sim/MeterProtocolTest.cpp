#include "SimTestSupport.h"
#include "sim/MeterProtocol.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace zmt::sim {
namespace {

using test::ReadFrame;
using test::SampleImage;
using test::WriteFrame;

std::vector<std::optional<std::uint8_t>> Feed(MeterProtocol& meter, ImageWords& stored,
                                              const std::vector<std::uint8_t>& bytes) {
    std::vector<std::optional<std::uint8_t>> answers;
    for (std::uint8_t b : bytes) answers.push_back(meter.receive(b, stored).byte);
    return answers;
}

TEST(MeterProtocol, ReadFrameIsAnsweredWithTheStoredImageLowByteFirst) {
    ImageWords stored = SampleImage();
    MeterProtocol meter;
    const auto answers = Feed(meter, stored, ReadFrame());
    ASSERT_EQ(answers.size(), 33u);
    EXPECT_EQ(answers[0], CommandByte);
    EXPECT_EQ(answers[1], 0xFD);  // w0 = 65533 low
    EXPECT_EQ(answers[2], 0xFF);  // w0 high
    EXPECT_EQ(answers[3], 100);   // w1 low
    for (int i = 0; i < ImageByteCount; ++i)
        EXPECT_EQ(answers[static_cast<std::size_t>(i + 1)], ImageByte(stored, i)) << i;
    EXPECT_EQ(stored, SampleImage());
}

TEST(MeterProtocol, WriteFrameStoresTheImage) {
    ImageWords stored = FactoryImage();
    MeterProtocol meter;
    const auto answers = Feed(meter, stored, WriteFrame(SampleImage()));
    EXPECT_EQ(stored, SampleImage());
    EXPECT_FALSE(meter.inFrame());
    // The read part still handed out the image held before the write.
    EXPECT_EQ(answers[7], ImageByte(FactoryImage(), 6));
}

struct OutsideFrameCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
};

TEST(MeterProtocol, StaysSilentOutsideAFrame) {
    const std::vector<OutsideFrameCase> cases = {
        {"zero byte", {0x00}},
        {"other command", {0xA5}},
        {"several", {0x01, 0xFF, 0x53}},
    };
    for (const auto& c : cases) {
        ImageWords stored = FactoryImage();
        MeterProtocol meter;
        for (const auto& answer : Feed(meter, stored, c.bytes)) EXPECT_FALSE(answer) << c.name;
        EXPECT_FALSE(meter.inFrame()) << c.name;
    }
}

TEST(MeterProtocol, UnfinishedWriteIsDroppedOnReset) {
    ImageWords stored = FactoryImage();
    MeterProtocol meter;
    auto frame = WriteFrame(SampleImage());
    frame.resize(50);
    Feed(meter, stored, frame);
    meter.reset();
    EXPECT_EQ(stored, FactoryImage());
    EXPECT_FALSE(meter.inFrame());
    // After the reset the next command byte opens a fresh frame.
    EXPECT_EQ(meter.receive(CommandByte, stored).byte, CommandByte);
}

TEST(MeterProtocol, FramesFollowOneAnother) {
    ImageWords stored = FactoryImage();
    MeterProtocol meter;
    Feed(meter, stored, WriteFrame(SampleImage()));
    const auto answers = Feed(meter, stored, ReadFrame());
    EXPECT_EQ(test::ImageFromAnswers([&] {
                  std::vector<std::uint8_t> wire;  // as echo/answer pairs
                  for (const auto& a : answers) wire.insert(wire.end(), {0, a.value_or(0)});
                  return wire;
              }()),
              SampleImage());
}

}  // namespace
}  // namespace zmt::sim
