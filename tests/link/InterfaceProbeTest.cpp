// The search for the programming interface: on the simulated interface and meter (virtual
// clock), on pseudo-terminals that stay silent, echo or answer garbage, on a port another
// component holds and on a device that is gone. (On the pseudo-terminal tool: sim tests.)
#include "PtyPorts.h"
#include "VirtualBench.h"
#include "link/InterfaceProbe.h"
#include "link/SpComPort.h"
#include "sim/SimulatedStation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

namespace zmt::link {
namespace {

using namespace std::chrono_literals;

PortEntry Entry(const QString& path, bool busy = false) {
    PortEntry entry;
    entry.devicePath = path;
    entry.busy = busy;
    return entry;
}

std::vector<ProbeOutcome> Outcomes(const InterfaceProbe& probe) {
    std::vector<ProbeOutcome> outcomes;
    for (const ProbeResult& result : probe.results()) outcomes.push_back(result.outcome);
    return outcomes;
}

// The simulated interfaces as devices "sim1".."sim9" on a virtual clock.
struct SimulatedDevices : ::testing::Test {
    zmt::test::VirtualBench vb;
    InterfaceProbe probe{[this](const QString& path) {
                             return MakeProbePort(vb.deviceFactory(), path.mid(3).toInt());
                         },
                         vb.time.clock};

    SimulatedDevices() {
        vb.time.watchIdle([this] { return probe.settled(); });
    }
    bool RunToEnd() {
        return vb.time.runUntil([this] { return !probe.running(); });
    }
};

TEST_F(SimulatedDevices, FindsTheInterfaceAndReportsEveryOtherDeviceWithoutPoweringAMeter) {
    vb.bench->addStation(1)->setFault(sim::Fault::noInterface());  // silent
    vb.bench->addStation(2);                                       // echoes
    vb.bench->addStation(4);
    TSpComPort holder(nullptr, "holder", vb.deviceFactory());  // another instance on sim4
    holder.setComNumber(4);
    holder.Open();
    QSignalSpy finished(&probe, &InterfaceProbe::finished);
    QSignalSpy probing(&probe, &InterfaceProbe::probing);
    probe.start({Entry("sim1"), Entry("sim2"), Entry("sim3", true), Entry("sim4"), Entry("sim9")});
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(Outcomes(probe),
              (std::vector{ProbeOutcome::NoInterface, ProbeOutcome::Found, ProbeOutcome::Busy,
                           ProbeOutcome::Busy, ProbeOutcome::Vanished}));
    ASSERT_EQ(probe.found().size(), 1u);
    EXPECT_EQ(probe.found()[0].devicePath, "sim2");
    ASSERT_EQ(finished.size(), 1);
    EXPECT_FALSE(finished[0][0].toBool());
    EXPECT_EQ(probing.size(), 5);
    for (int n : {1, 2}) {
        EXPECT_EQ(vb.bench->station(n)->powerUps(), 0) << "sim" << n;
        EXPECT_FALSE(vb.bench->station(n)->isAttached()) << "sim" << n;
    }
    EXPECT_TRUE(holder.IsOpen());  // the other instance keeps its port
    holder.Close();
}

// A silent device gets 50 ms of quiet and then 300 ms for the echo, exactly.
TEST_F(SimulatedDevices, GivesASilentDeviceTheQuietAndTheEchoWaitOfVirtualTime) {
    vb.bench->addStation(1)->setFault(sim::Fault::noInterface());
    const auto start = vb.time.clock.now();
    probe.start({Entry("sim1")});
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(vb.elapsedSince(start),
              std::chrono::milliseconds(InterfaceProbe::QuietMs + InterfaceProbe::EchoWaitMs));
}

TEST_F(SimulatedDevices, CancelLeavesEveryPortClosedAndEveryLineLow) {
    auto silent = vb.bench->addStation(1);
    silent->setFault(sim::Fault::noInterface());
    vb.bench->addStation(2);
    QSignalSpy finished(&probe, &InterfaceProbe::finished);
    probe.start({Entry("sim1"), Entry("sim2")});
    ASSERT_TRUE(vb.time.runUntil([&] { return silent->isAttached(); }));
    EXPECT_FALSE(silent->dtr());
    EXPECT_FALSE(silent->rts());
    probe.cancel();
    EXPECT_FALSE(probe.running());
    EXPECT_FALSE(silent->isAttached());
    EXPECT_FALSE(silent->dtr());
    EXPECT_FALSE(silent->rts());
    ASSERT_EQ(finished.size(), 1);
    EXPECT_TRUE(finished[0][0].toBool());
    vb.time.runFor(2s);  // nothing of the cancelled run goes on
    EXPECT_TRUE(probe.results().empty());
    EXPECT_FALSE(vb.bench->station(2)->isAttached());
    EXPECT_EQ(vb.bench->station(2)->powerUps(), 0);
}

// ---------------------------------------------------------------- pseudo-terminals

// What the far end of a pseudo-terminal does with the command byte.
struct PeerCase {
    const char* name;
    std::optional<std::uint8_t> reply;  // none: silent
    ProbeOutcome outcome;
};

class PseudoTerminalPeer : public ::testing::TestWithParam<PeerCase> {};

TEST_P(PseudoTerminalPeer, IsJudgedByTheFirstByteBack) {
    test::PtyPeer peer;
    ASSERT_TRUE(peer.valid());
    std::vector<std::uint8_t> sent;
    std::thread far([&] {
        sent = peer.receive(1, 5000);
        if (!sent.empty() && GetParam().reply) peer.send({*GetParam().reply, 0x00});
    });
    InterfaceProbe probe(TerminalProbePorts(), SteadyClock());
    probe.start({Entry(QString::fromStdString(peer.slavePath()))});
    const bool ended = test::ProcessUntil([&] { return !probe.running(); });
    far.join();
    ASSERT_TRUE(ended);
    EXPECT_EQ(sent, std::vector<std::uint8_t>{InterfaceProbe::CommandByte});
    EXPECT_EQ(Outcomes(probe), std::vector{GetParam().outcome});
}

const PeerCase kPeerCases[] = {
    {"Echo", InterfaceProbe::CommandByte, ProbeOutcome::Found},
    {"Silent", std::nullopt, ProbeOutcome::NoInterface},
    {"Garbage", 0x55, ProbeOutcome::NoInterface},
};
INSTANTIATE_TEST_SUITE_P(Peers, PseudoTerminalPeer, ::testing::ValuesIn(kPeerCases),
                         [](const auto& info) { return std::string(info.param.name); });

// What comes in before the command byte (a meter losing its supply sends a byte or two) is
// dropped, and the quiet wait starts over.
TEST(InterfaceProbe, ABytePastThePurgeIsDroppedBeforeTheCommandByte) {
    test::PtyPeer peer;
    InterfaceProbe probe(TerminalProbePorts(), SteadyClock());
    probe.start({Entry(QString::fromStdString(peer.slavePath()))});
    ASSERT_TRUE(test::ProcessUntil([&] { return probe.awaitingQuiet(); }));
    ASSERT_TRUE(peer.send({0x00}));
    std::vector<std::uint8_t> sent;
    std::thread far([&] {
        sent = peer.receive(1, 5000);
        if (!sent.empty()) peer.send(sent);
    });
    const bool ended = test::ProcessUntil([&] { return !probe.running(); });
    far.join();
    ASSERT_TRUE(ended);
    EXPECT_EQ(sent, std::vector<std::uint8_t>{InterfaceProbe::CommandByte});
    EXPECT_EQ(Outcomes(probe), std::vector{ProbeOutcome::Found});
}

TEST(InterfaceProbe, ADeviceThatNeverFallsSilentIsNoInterfaceAndIsNotSentTheCommand) {
    test::PtyPeer peer;
    InterfaceProbe probe(TerminalProbePorts(), SteadyClock());
    probe.start({Entry(QString::fromStdString(peer.slavePath()))});
    ASSERT_TRUE(test::ProcessUntil([&] { return probe.awaitingQuiet(); }));
    std::atomic<bool> stop{false};
    std::vector<std::uint8_t> heard;
    std::thread chatter([&] {
        while (!stop) {
            peer.send({0x55});
            const auto got = peer.receive(1, 5);  // paces the chatter
            heard.insert(heard.end(), got.begin(), got.end());
        }
    });
    const bool ended = test::ProcessUntil([&] { return !probe.running(); });
    stop = true;
    chatter.join();
    ASSERT_TRUE(ended);
    EXPECT_EQ(Outcomes(probe), std::vector{ProbeOutcome::NoInterface});
    EXPECT_TRUE(heard.empty());
}

TEST(InterfaceProbe, APortAnotherComponentHoldsIsBusyAndKeepsItsLines) {
    test::PtyPorts ports(1);
    TSpComPort holder(nullptr, "holder");
    holder.setComNumber(1);
    holder.Open();
    InterfaceProbe probe(TerminalProbePorts(), SteadyClock());
    probe.start({Entry(QDir(QString::fromStdString(ports.directory().string())).filePath("com1"))});
    ASSERT_TRUE(test::ProcessUntil([&] { return !probe.running(); }));
    EXPECT_EQ(Outcomes(probe), std::vector{ProbeOutcome::Busy});
    EXPECT_TRUE(holder.IsOpen());
    holder.WriteChar(0x42);  // the holder's port still works
    EXPECT_EQ(ports.peer(1).receive(1, 5000), std::vector<std::uint8_t>{0x42});
    holder.Close();
}

TEST(InterfaceProbe, ADeviceGoneSinceItWasListedIsReportedSo) {
    QTemporaryDir folder;
    // The adapter's link leads nowhere. Not to a pseudo-terminal closed for the purpose:
    // the system hands its number to the next one opened, perhaps by a test beside this one.
    const QString adapter = QDir(folder.path()).filePath("ttyUSB0");
    ASSERT_TRUE(QFile::link(QDir(folder.path()).filePath("unplugged"), adapter));
    InterfaceProbe probe(TerminalProbePorts(), SteadyClock());
    probe.start({Entry(adapter), Entry(QDir(folder.path()).filePath("ttyUSB1"))});
    ASSERT_TRUE(test::ProcessUntil([&] { return !probe.running(); }));
    EXPECT_EQ(Outcomes(probe), (std::vector{ProbeOutcome::Vanished, ProbeOutcome::Vanished}));
}

}  // namespace
}  // namespace zmt::link
