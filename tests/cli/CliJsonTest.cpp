// With --json every command that ran prints exactly one JSON object on standard output,
// whose exit code is the tool's; questions and prompts go beside it to standard error.
// And the two renderers of a result, on their own.
#include "CliFixture.h"

#include "FileSizeLimit.h"
#include "cli/CommandResult.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace zmt::cli {
namespace {

struct JsonCase {
    const char* name;
    std::function<void(sim::SimulatedStation&, ScriptedConsole&)> setUp;
    QStringList arguments;
    int exitCode;
    QStringList keys;  // besides command and exitCode
};

void Nothing(sim::SimulatedStation&, ScriptedConsole&) {}

// One meter for all, in this order: the verify finds what the write before it wrote, the
// fault comes last.
const JsonCase kCases[] = {
    {"read", Nothing, {"read", "--port", "COM1"}, Success, {"configuration", "test", "image"}},
    {"write", Nothing, {"write", "--port", "COM1", "example.dig"}, Success, {"messages"}},
    {"write --verify",
     Nothing,
     {"write", "--port", "COM1", "example.dig", "--verify"},
     Success,
     {"messages", "equal", "differences", "image"}},
    {"verify",
     Nothing,
     {"verify", "--port", "COM1", "four.dig"},
     Differences,
     {"equal", "differences", "image"}},
    {"show", Nothing, {"show", "example.dig"}, Success, {"file", "writable", "messages"}},
    {"report", Nothing, {"report", "example.dig", "--output", "sheet"}, Success, {"sheet"}},
    {"ports", Nothing, {"ports"}, Success, {"devices", "com"}},
    {"find, nothing found", Nothing, {"find", "sim9"}, NoInterface, {"results"}},
    {"calibrate",
     [](sim::SimulatedStation& meter, ScriptedConsole& console) {
         meter.setOffsetError(7);
         console.input = {"7", "2026"};
     },
     {"calibrate", "--port", "COM1", "example.dig"},
     Success,
     {"messages"}},
    {"write, no interface",
     [](sim::SimulatedStation& meter, ScriptedConsole&) {
         meter.setFault(sim::Fault::noInterface());
     },
     {"write", "--port", "COM1", "example.dig"},
     NoInterface,
     {"messages"}},
};

TEST_F(CliTest, EachCommandPrintsOneJsonObjectWithItsExitCode) {
    AddMeter();
    WriteConfiguration("example.dig");
    WriteConfiguration("four.dig", {{5, "    4"}});
    for (const JsonCase& test : kCases) {
        SCOPED_TRACE(test.name);
        console = {};
        test.setUp(*station, console);
        EXPECT_EQ(Run(test.arguments + QStringList{"--json", "--quiet", "--lang", "en"}),
                  test.exitCode);
        ASSERT_EQ(console.out.size(), 1) << Out().toStdString();
        QJsonParseError error;
        const QJsonObject json = QJsonDocument::fromJson(Out().toUtf8(), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << Out().toStdString();
        EXPECT_EQ(json["command"].toString(), test.arguments.first());
        EXPECT_EQ(json["exitCode"].toInt(-1), test.exitCode);
        for (const QString& key : test.keys) EXPECT_TRUE(json.contains(key)) << key.toStdString();
    }
}

TEST_F(CliTest, CalibratePromptsBesideItsJsonResult) {
    AddMeter()->setOffsetError(7);
    WriteConfiguration("example.dig");
    console.input = {"7", "2026"};
    EXPECT_EQ(Run({"calibrate", "--port", "COM1", "example.dig", "--json", "--lang", "en"}),
              Success);
    EXPECT_TRUE(console.err.contains("fill in displayed data at device:")) << Err().toStdString();
    const QJsonObject json = QJsonDocument::fromJson(Out().toUtf8()).object();
    EXPECT_TRUE(json["messages"].toArray().contains(
        QJsonValue("device calibration and configuration successfull")))
        << Out().toStdString();
}

// The JSON says what the tool exits with: a read whose output cannot be saved is a failure.
TEST_F(CliTest, ReadWhoseOutputCannotBeSavedSaysSoInItsJson) {
    AddMeter();
    int code = 0;
    {
        test::FileSizeLimit limit(40);
        code = Run({"read", "--port", "COM1", "--output", "out.dig", "--json", "--quiet"});
    }
    EXPECT_EQ(code, FileError);
    const QJsonObject json = QJsonDocument::fromJson(Out().toUtf8()).object();
    EXPECT_EQ(json["exitCode"].toInt(), FileError) << Out().toStdString();
    EXPECT_TRUE(json.contains("configuration"));
    EXPECT_TRUE(Err().contains("out.dig")) << Err().toStdString();
}

TEST(CommandResultTest, EachFormatPutsEachPartWhereItBelongs) {
    const CommandResult operation{.exitCode = NoMeter,
                                  .lines = {"result"},
                                  .textWarnings = {"the window's line"},
                                  .command = "write",
                                  .fields = {{"messages", "the window's line"}},
                                  .warnings = {"a warning"}};
    const CommandResult help{.lines = {"usage"}};
    struct Case {
        const CommandResult& result;
        bool json;
        QStringList out, err;
    };
    const Case cases[] = {
        {operation, false, {"result"}, {"a warning", "the window's line"}},
        {operation,
         true,
         {R"({"command":"write","exitCode":5,"messages":"the window's line"})"},
         {"a warning"}},
        {help, false, {"usage"}, {}},
        {help, true, {"usage"}, {}},
    };
    for (const Case& test : cases) {
        ScriptedConsole console;
        (test.json ? RenderJson : RenderText)(test.result, console);
        EXPECT_EQ(console.out, test.out) << test.json;
        EXPECT_EQ(console.err, test.err) << test.json;
    }
}

}  // namespace
}  // namespace zmt::cli
