// The receive path with arbitrary bytes and arbitrary timing: the transfer engine runs one or
// more exchanges over a port that delivers whatever the input says, when the input says,
// then the opening read's evaluation takes the received data with an arbitrary count,
// judges it and writes it into a fresh editor. Nothing may be read or written outside the
// transfer buffers, and the engine keeps its exchange rule whatever arrives.
//
// Input layout, read front to back (missing bytes read as 0):
//   frame byte   0 read frame, 1 write frame, 2 interface check,
//                3 free: ExpectedCount (4 bytes, little endian), TransferKind, command byte
//   then steps, each an opcode byte followed by its operands:
//   0 Start      the window is shown
//   1 Timer t    timer t % 7 runs out, if it is enabled (veryfirsttimer .. Timer1)
//   2 Arrive n   n % 16 bytes follow and reach the driver's input
//   3 Notify c   a receive notification; c = 0: the driver counts truly, else it claims c - 1
//   4 Echo a     the interface echoes the last byte sent, the meter answers a
//   5 Port m     m % 4: 0 works, 1 reads fail, 2 unplugged, 3 closed by the window
//   opcodes above 5 end the steps; the next byte, if odd, is followed by a ReceiveCount
//   (4 bytes) that replaces the one the engine left.

#include "FuzzSupport.h"

#include "device/DeviceImage.h"
#include "editor/ConfigEditor.h"
#include "language/LanguageText.h"
#include "link/TransferEngine.h"

#include <algorithm>
#include <deque>
#include <stdexcept>
#include <vector>

namespace zmt::fuzz {
namespace {

using link::TransferEngine;

// A port whose far end is the fuzzer. It fails the way the port component does: reads and
// writes raise on a closed or unplugged port, a read with nothing waiting raises.
class FuzzedPort : public link::TransferPort {
  public:
    enum class Mode { Working, ReadsFail, Unplugged };

    std::deque<std::uint8_t> waiting;
    std::vector<std::uint8_t> written;
    std::vector<std::uint8_t> taken;  // every byte a read handed out, since the exchange began
    Mode mode = Mode::Working;
    int claimedCount = -1;  // what InBufUsed reports; -1: the true count
    bool open = false;

    void Open() { open = mode != Mode::Unplugged; }
    void Arrive(std::uint8_t byte) {
        if (open && mode != Mode::Unplugged) waiting.push_back(byte);
    }

    void Close() override {
        open = false;
        waiting.clear();
    }
    void PurgeRx() override {
        FailIfUnplugged();
        waiting.clear();
    }
    void PurgeTx() override { FailIfUnplugged(); }
    int InBufUsed() override {
        if (!open || mode == Mode::Unplugged) return 0;
        return claimedCount >= 0 ? claimedCount : static_cast<int>(waiting.size());
    }
    std::uint8_t ReadChar() override {
        if (!open || mode != Mode::Working || waiting.empty())
            throw std::runtime_error("Read data error - RS232 ");
        const std::uint8_t byte = waiting.front();
        waiting.pop_front();
        taken.push_back(byte);
        return byte;
    }
    void WriteChar(std::uint8_t byte) override {
        if (!open || mode == Mode::Unplugged)
            throw std::runtime_error("Write data error [requested: 1, free: 0] - RS232 ");
        written.push_back(byte);
    }
    void setDTR(bool) override { FailIfUnplugged(); }
    void setRTS(bool) override { FailIfUnplugged(); }

  private:
    void FailIfUnplugged() const {
        if (mode == Mode::Unplugged) throw std::runtime_error("device gone");
    }
};

constexpr void (TransferEngine::*kTimerSteps[TransferEngine::TimerCount])() = {
    &TransferEngine::veryfirsttimerTimer, &TransferEngine::firsttimerTimer,
    &TransferEngine::inittimerTimer,      &TransferEngine::inittimer1Timer,
    &TransferEngine::inittimer2Timer,     &TransferEngine::writetimerTimer,
    &TransferEngine::Timer1Timer,
};

enum Op : std::uint8_t { StartOp, TimerOp, ArriveOp, NotifyOp, EchoOp, PortOp, OpCount };

void FillFrame(ByteReader& in, TransferState& state) {
    const DeviceState device;
    switch (in.byte() % 4) {
        case 0:
            return PrepareReadFrame(device, state);
        case 1:
            return PrepareWriteFrame(device, state);
        case 2:
            BuildSendBuffer(device, state);
            state.SendCount = 1;
            state.ExpectedCount = 2;
            state.TransferKind = 1;
            return;
        default:
            BuildSendBuffer(device, state);
            state.ExpectedCount = in.int32();
            state.TransferKind = in.byte();
            state.SendBuffer[0] = in.byte();
    }
}

// Bytes the engine may send in one exchange: the first at the start, then one after each
// even count below ExpectedCount, never past the send buffer.
std::size_t MostBytesSent(const TransferState& state) {
    if (state.TransferKind == 1) return 1;
    const std::int64_t afterAnswers = (static_cast<std::int64_t>(state.ExpectedCount) - 1) / 2;
    return 1 + static_cast<std::size_t>(
                   std::clamp<std::int64_t>(afterAnswers, 0, TransferState::SendCapacity - 1));
}

class ExchangeRun {
  public:
    explicit ExchangeRun(ByteReader& in) : in_(in) {
        FillFrame(in_, state_);
        engine_.setPortLinesHook([this](bool, bool) { port_.Open(); });
        QObject::connect(&engine_, &TransferEngine::exchangeEnded, [this] { ++ends_; });
        QObject::connect(&engine_, &TransferEngine::memoLineAdded, [this](const QString& line) {
            if (line == QLatin1String("transfer data...")) ExchangeBegins();
        });
    }

    TransferState& state() { return state_; }

    void RunSteps() {
        while (!in_.done()) {
            const std::uint8_t op = in_.byte();
            if (op >= OpCount) return;
            Step(static_cast<Op>(op));
            RequireExchangeRule();
        }
    }

  private:
    void Step(Op op) {
        switch (op) {
            case StartOp:
                if (!engine_.Running()) ++starts_;
                return engine_.Start();
            case TimerOp:
                return RunOut(static_cast<TransferEngine::TimerId>(in_.byte() % 7));
            case ArriveOp:
                for (int n = in_.byte() % 16; n > 0; --n) port_.Arrive(in_.byte());
                return;
            case NotifyOp:
                port_.claimedCount = static_cast<int>(in_.byte()) - 1;
                return engine_.RS232DataRecived();
            case EchoOp:
                if (!port_.written.empty()) port_.Arrive(port_.written.back());
                return port_.Arrive(in_.byte());
            case PortOp:
                return SetPortMode(in_.byte() % 4);
            case OpCount:
                return;
        }
    }

    // A timer that is not enabled cannot run out.
    void RunOut(TransferEngine::TimerId id) {
        if (engine_.timer(id).enabled()) (engine_.*kTimerSteps[id])();
    }

    void SetPortMode(int mode) {
        if (mode == 3) return port_.Close();
        port_.mode = static_cast<FuzzedPort::Mode>(mode);
    }

    void ExchangeBegins() {
        sentBefore_ = port_.written.size();
        port_.taken.clear();
    }

    void RequireExchangeRule() {
        Require(engine_.Progress() >= 0 && engine_.Progress() <= 100, "progress within the bar");
        Require(ends_ <= starts_, "one end per exchange");
        Require(state_.ReceiveCount >= 0, "a count never below 0");
        Require(state_.ByteReceived == (state_.ReceiveCount > 0), "ByteReceived means a byte");
        Require(port_.written.size() - sentBefore_ <= MostBytesSent(state_),
                "no byte past the frame");
        RequireEveryReadByteStored();
    }

    // Exactly one entry per byte read, in order, as far as the buffer holds them.
    void RequireEveryReadByteStored() {
        const auto& taken = port_.taken;
        Require(static_cast<std::size_t>(state_.ReceiveCount) == taken.size(),
                "every read counted");
        const std::size_t stored =
            std::min<std::size_t>(taken.size(), TransferState::ReceiveCapacity);
        for (std::size_t k = 0; k < stored; ++k)
            Require(state_.ReceiveBuffer[k] == taken[k], "every read stored in order");
    }

    ByteReader& in_;
    TransferState state_;
    FuzzedPort port_;
    VirtualClock clock_;  // the fuzzer runs every step itself
    TransferEngine engine_{state_, port_, clock_};
    int starts_ = 0;
    int ends_ = 0;
    std::size_t sentBefore_ = 0;
};

// The checks as documented: echo of the command, the meter's answer to it, then the count.
ExchangeCheck ExpectedCheck(const TransferState& state, CountTolerance tolerance) {
    if (state.received(0) != state.SendBuffer[0]) return ExchangeCheck::InterfaceMissing;
    if (state.received(1) != state.SendBuffer[0]) return ExchangeCheck::ConnectionFailed;
    const std::int64_t count = state.ReceiveCount;
    const std::int64_t expected = state.ExpectedCount;
    if (count == expected || (tolerance == CountTolerance::OneExtra && count == expected + 1))
        return ExchangeCheck::Passed;
    return ExchangeCheck::DataIncomplete;
}

void EvaluateLikeTheOpeningRead(const TransferState& state) {
    for (const CountTolerance tolerance : {CountTolerance::OneExtra, CountTolerance::Exact})
        Require(CheckExchange(state, tolerance) == ExpectedCheck(state, tolerance), "checks");
    DeviceState device;
    TakeReceivedData(device, state);
    for (int i = 0; i < ReadWordCount; ++i) {
        const int low = state.received(3 + 4 * i), high = state.received(5 + 4 * i);
        Require(device.ReadWords[i] == ((low + 256 * high) & 0xFFFF), "word from its answers");
    }
    ConfigModel model;
    SessionState session;
    ConfigEditor editor(model, session, Texts());
    Effects fx;
    try {
        ImageToConfig(device, editor, fx);
    } catch (const ConversionError&) {
        // The test input is not read back; a bad one is reported, as in the program.
    }
}

}  // namespace
}  // namespace zmt::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zmt::fuzz::EnsureApplication();
    QLocale::setDefault(zmt::fuzz::kLocales[0]);
    zmt::fuzz::Texts();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zmt::fuzz;
    ByteReader in(data, size);
    ExchangeRun run(in);
    run.RunSteps();
    zmt::TransferState& state = run.state();
    if (in.byte() & 1) state.ReceiveCount = in.int32();
    EvaluateLikeTheOpeningRead(state);
    return 0;
}
