// The port assignment without its window: the choice offered for each COM number, what is
// bound now, applying a choice and its refusals, listing again after a replug, and the
// question before a search.
#include "editor/PortAssignment.h"
#include "link/FixedPortCatalog.h"
#include "link/LinkFolderMap.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace zmt {
namespace {

using link::PortEntry;

PortEntry Device(const QString& path, const QString& description, const QString& serial = {},
                 bool busy = false) {
    PortEntry entry;
    entry.devicePath = path;
    entry.description = description;
    entry.serialNumber = serial;
    entry.busy = busy;
    return entry;
}

// A working folder, device files standing in for adapters, and the assignment over both.
class PortAssignmentTest : public ::testing::Test {
  public:
    PortAssignmentTest() {
        texts.FillLanguageText();
        QDir(folder.path()).mkdir("dev");
        for (const char* name : {"ttyUSB0", "ttyUSB1", "ttyACM0"}) {
            QFile file(device(name));
            file.open(QIODevice::WriteOnly);
        }
        QFile::link(device("ttyUSB1"), path("by-id-usb-FTDI_A1"));
    }
    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }
    QString device(const QString& name) const { return path("dev/" + name); }
    // Two adapters of one kind (told apart by their serial numbers) and a modem.
    std::vector<PortEntry> ThreeDevices() {
        PortEntry second = Device(device("ttyUSB1"), "FT232R USB UART", "A1");
        second.stablePath = path("by-id-usb-FTDI_A1");
        return {Device(device("ttyUSB0"), "FT232R USB UART", "B7"), second,
                Device(device("ttyACM0"), "USB modem", {}, true)};
    }
    void Bind(int number, const QString& target) {
        QFile::link(target, path(QStringLiteral("com%1").arg(number)));
    }
    QString LinkOf(int number) const {
        return QFileInfo(path(QStringLiteral("com%1").arg(number))).symLinkTarget();
    }
    PortAssignment& Assignment() {
        if (!assignment) {
            assignment = std::make_unique<PortAssignment>(
                link::PortSetup{catalog, std::make_shared<link::LinkFolderMap>(folder.path()), {}},
                texts, [this] { return language; });
            assignment->refresh();
        }
        return *assignment;
    }
    QStringList ChoiceTexts(int number) {
        QStringList list;
        for (const auto& choice : Assignment().choices(number)) list << choice.text;
        return list;
    }

    QTemporaryDir folder;
    LanguageText texts;
    int language = 0;
    std::shared_ptr<link::FixedPortCatalog> catalog = std::make_shared<link::FixedPortCatalog>();
    std::unique_ptr<PortAssignment> assignment;
};

TEST_F(PortAssignmentTest, OffersTheStandardDeviceAndEveryListedDeviceToldApart) {
    catalog->setEntries(ThreeDevices());
    EXPECT_EQ(ChoiceTexts(2),
              (QStringList{"Standard (/dev/ttyS1)", device("ttyUSB0") + ": FT232R USB UART (B7)",
                           device("ttyUSB1") + ": FT232R USB UART (A1)",
                           device("ttyACM0") + ": USB modem - belegt"}));
    const auto& choices = Assignment().choices(2);
    EXPECT_EQ(choices[0].bindPath, "");
    EXPECT_EQ(choices[2].bindPath, path("by-id-usb-FTDI_A1"));  // survives a replug
    EXPECT_TRUE(choices[3].busy);
    EXPECT_EQ(Assignment().devicesNote(), "Serielle Geräte gefunden: 3");
}

// What each COM number is bound to now is the choice shown; a binding the list does not
// know (a pseudo-terminal, a missing adapter, the user's own file) is offered as it is.
TEST_F(PortAssignmentTest, ShowsWhatEachComNumberIsBoundToNow) {
    catalog->setEntries(ThreeDevices());
    Bind(1, path("by-id-usb-FTDI_A1"));
    Bind(2, device("ttyUSB0"));
    Bind(3, "/dev/ttyUSB97");
    QFile own(path("com4"));
    own.open(QIODevice::WriteOnly);
    PortAssignment& a = Assignment();
    EXPECT_EQ(a.chosen(1), 2);
    EXPECT_EQ(a.chosen(2), 1);
    EXPECT_EQ(a.choices(3).size(), 5u);
    EXPECT_EQ(a.chosen(3), 4);
    EXPECT_EQ(a.choices(3)[4].text, "/dev/ttyUSB97 (nicht vorhanden)");
    EXPECT_EQ(a.choices(4)[a.chosen(4)].text, path("com4") + " (eigene Datei, keine Verknüpfung)");
    EXPECT_EQ(a.targetText(2), device("ttyUSB0") + " (keine serielle Hardware)");
    for (int number = 1; number <= 4; ++number) EXPECT_FALSE(a.changed(number));
}

TEST_F(PortAssignmentTest, ApplyBindsWhatChangedAndNothingElse) {
    catalog->setEntries(ThreeDevices());
    Bind(2, device("ttyUSB0"));
    QFile own(path("com4"));
    own.open(QIODevice::WriteOnly);
    PortAssignment& a = Assignment();
    a.choose(1, 2);
    a.choose(2, 0);
    std::vector<int> retargeted;
    QStringList problems;
    EXPECT_TRUE(a.apply(retargeted, problems));
    EXPECT_TRUE(problems.isEmpty());
    EXPECT_EQ(retargeted, (std::vector<int>{1, 2}));
    EXPECT_EQ(LinkOf(1), path("by-id-usb-FTDI_A1"));
    EXPECT_FALSE(QFileInfo::exists(path("com2")));
    EXPECT_TRUE(QFileInfo(path("com4")).isFile());  // unchanged, so not refused either
    EXPECT_EQ(a.chosen(1), 2);
    EXPECT_FALSE(a.changed(1));
}

struct RefusalCase {
    const char* name;
    bool userFileAsCom3;
    std::function<void(PortAssignmentTest&)> spoil;  // after the choice, before applying
    const char* problem;                             // %1: the folder
};

class PortAssignmentRefusal : public PortAssignmentTest,
                              public ::testing::WithParamInterface<RefusalCase> {};

// A refusal names the reason, changes no binding and keeps the user's choices.
TEST_P(PortAssignmentRefusal, ChangesNothingAndSaysWhy) {
    catalog->setEntries(ThreeDevices());
    if (GetParam().userFileAsCom3) {
        QFile own(path("com3"));
        own.open(QIODevice::WriteOnly);
    }
    PortAssignment& a = Assignment();
    a.choose(1, 1);
    a.choose(3, 2);
    GetParam().spoil(*this);
    std::vector<int> retargeted;
    QStringList problems;
    EXPECT_FALSE(a.apply(retargeted, problems));
    EXPECT_EQ(problems, QStringList{QString::fromUtf8(GetParam().problem).arg(folder.path())});
    EXPECT_TRUE(retargeted.empty());
    EXPECT_FALSE(QFileInfo::exists(path("com1")));
    EXPECT_EQ(QFileInfo(path("com3")).isFile(), GetParam().userFileAsCom3);
    EXPECT_FALSE(QFileInfo(path("com3")).isSymLink());
    EXPECT_EQ(a.chosen(1), 1);
    EXPECT_TRUE(a.changed(1));
}

const RefusalCase kRefusals[] = {
    {"ComIsTheUsersFile", true, [](PortAssignmentTest&) {},
     "%1/com3 ist keine symbolische Verknüpfung und wird nicht ersetzt; bitte selbst entfernen."},
    {"DeviceUnpluggedMeanwhile", false,
     [](PortAssignmentTest& t) { QFile::remove(t.device("ttyUSB0")); },
     "%1/dev/ttyUSB0 ist nicht mehr vorhanden."},
};
INSTANTIATE_TEST_SUITE_P(Refusals, PortAssignmentRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

// After a replug the list is read again; the user's choice stays while it is offered.
TEST_F(PortAssignmentTest, RefreshKeepsTheChoiceOfADeviceStillListed) {
    catalog->setEntries({ThreeDevices()[0]});
    Bind(3, device("ttyUSB0"));
    PortAssignment& a = Assignment();
    a.choose(1, 1);
    a.choose(2, 1);
    a.choose(3, 0);  // back to the standard device
    catalog->setEntries({ThreeDevices()[1], ThreeDevices()[0]});
    a.refresh();
    EXPECT_EQ(a.choices(1).size(), 3u);
    EXPECT_EQ(a.choices(1)[a.chosen(1)].bindPath, device("ttyUSB0"));
    EXPECT_EQ(a.chosen(3), 0);
    EXPECT_TRUE(a.changed(3));
    catalog->setEntries({ThreeDevices()[1]});  // ttyUSB0 unplugged
    a.refresh();
    EXPECT_EQ(a.chosen(2), 0);
    EXPECT_FALSE(a.changed(2));
}

TEST_F(PortAssignmentTest, AnEmptyListSaysSoAndLeavesTheStandardDevice) {
    Bind(2, device("ttyUSB0"));
    PortAssignment& a = Assignment();
    EXPECT_EQ(a.devicesNote(), "Keine seriellen Geräte gefunden; \"Standard\" bleibt wählbar.");
    EXPECT_EQ(ChoiceTexts(1), QStringList{"Standard (/dev/ttyS0)"});
    EXPECT_EQ(ChoiceTexts(2), (QStringList{"Standard (/dev/ttyS1)",
                                           device("ttyUSB0") + " (keine serielle Hardware)"}));
    EXPECT_TRUE(a.findQuestion().isEmpty());
    a.choose(2, 0);
    std::vector<int> retargeted;
    QStringList problems;
    EXPECT_TRUE(a.apply(retargeted, problems));
    EXPECT_FALSE(QFileInfo::exists(path("com2")));
}

TEST_F(PortAssignmentTest, TheSearchQuestionListsTheFreeDevicesTheBusyOnesAndTheWarning) {
    catalog->setEntries(ThreeDevices());
    language = 1;
    const QStringList lines = Assignment().findQuestion().split('\n');
    ASSERT_GE(lines.size(), 8);
    EXPECT_EQ(lines[0], "The programming interface is searched for on these devices:");
    EXPECT_EQ(lines[1], "    " + device("ttyUSB0") + ": FT232R USB UART (B7)");
    EXPECT_EQ(lines[2], "    " + device("ttyUSB1") + ": FT232R USB UART (A1)");
    EXPECT_EQ(lines[4], "Held by another program, not touched:");
    EXPECT_EQ(lines[5], "    " + device("ttyACM0") + ": USB modem - busy");
    EXPECT_TRUE(lines.last().startsWith("Make sure that no other device (e.g. a mouse)"));
    catalog->setEntries({ThreeDevices()[2]});
    Assignment().refresh();
    EXPECT_TRUE(Assignment().findQuestion().isEmpty());
}

}  // namespace
}  // namespace zmt
