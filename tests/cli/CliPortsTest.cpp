// The serial devices as the tool lists them, and the search for the programming interface
// over the simulated interfaces on the virtual clock.
#include "CliFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zmt::cli {
namespace {

link::PortEntry Device(const char* path, const char* description, bool busy = false) {
    link::PortEntry entry;
    entry.devicePath = QString::fromLatin1(path);
    entry.description = QString::fromLatin1(description);
    entry.busy = busy;
    return entry;
}

TEST_F(CliTest, PortsListsTheDevicesAndWhatEachComNumberReaches) {
    catalog->setEntries({Device("sim1", "Simulated interface"), Device("sim2", "Other", true)});
    EXPECT_EQ(Run({"ports", "--lang", "en"}), Success);
    EXPECT_EQ(console.out.first(), "Serial devices found: 2");
    EXPECT_EQ(console.out.filter("COM").size(), 4);
    EXPECT_TRUE(console.out.filter("busy").size() == 1) << Out().toStdString();

    console = {};
    catalog->setEntries({});
    EXPECT_EQ(Run({"ports", "--json"}), Success);
    const QJsonObject json = QJsonDocument::fromJson(Out().toUtf8()).object();
    EXPECT_TRUE(json["devices"].toArray().isEmpty());
    ASSERT_EQ(json["com"].toArray().size(), 4);
    EXPECT_EQ(json["com"].toArray().at(0)["port"].toString(), "COM1");
}

TEST_F(CliTest, FindSearchesTheFreeDevicesAndLeavesABusyOneAlone) {
    sim.bench->addStation(2);  // an interface with its meter on sim2 only
    sim.bench->addStation(3)->setFault(sim::Fault::noInterface());
    catalog->setEntries({Device("sim1", "nothing behind it"), Device("sim2", "interface"),
                         Device("sim3", "silent"), Device("sim4", "held", true)});
    EXPECT_EQ(Run({"find", "--yes", "--json", "--quiet"}), Success);
    const QJsonArray results =
        QJsonDocument::fromJson(Out().toUtf8()).object()["results"].toArray();
    QStringList outcomes;
    for (const QJsonValue& result : results)
        outcomes << result["path"].toString() + u' ' + result["outcome"].toString();
    EXPECT_EQ(outcomes, QStringList({"sim1 no longer there", "sim2 interface found",
                                     "sim3 no interface", "sim4 busy, not touched"}));
    EXPECT_FALSE(sim.bench->station(2)->isAttached());  // closed again
    EXPECT_FALSE(sim.bench->station(2)->dtr());
}

TEST_F(CliTest, FindAsksFirstAndProbesNothingWithoutAYes) {
    sim.bench->addStation(1);
    catalog->setEntries({Device("sim1", "interface")});
    console.input = {"n"};
    EXPECT_EQ(Run({"find", "--lang", "de", "--quiet"}), NoInterface);
    EXPECT_TRUE(console.out.contains("Weiter? (j/n)"));
    EXPECT_TRUE(console.err.contains("Suche abgebrochen."));
    EXPECT_EQ(sim.bench->station(1)->powerUps(), 0);

    console = {};
    console.input = {"j"};
    EXPECT_EQ(Run({"find", "--lang", "de", "--quiet"}), Success);
    EXPECT_TRUE(console.out.contains("sim1: Interface gefunden")) << Out().toStdString();

    console = {};
    EXPECT_EQ(Run({"find", "sim9", "--lang", "en", "--quiet"}), NoInterface);
    EXPECT_TRUE(console.out.contains("No programming interface found.")) << Out().toStdString();
}

}  // namespace
}  // namespace zmt::cli
