// A record's time says the local offset as ISO 8601 does, in every zone, and the offset
// that earlier versions wrote as a character code reads as the offset it meant.
#include "journal/JournalRecord.h"
#include "journal/OperationJournal.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QRegularExpression>
#include <QTimeZone>

#include <cstdlib>
#include <ctime>

namespace zmt::journal {
namespace {

// TZ set for the test's time, as a user's session would have it (POSIX zone rules, so no
// zone database is needed: "XXX-5:30" is five and a half hours east of UTC).
class LocalZone {
  public:
    explicit LocalZone(const char* rule)
        : saved_(qgetenv("TZ")), had_(qEnvironmentVariableIsSet("TZ")) {
        qputenv("TZ", rule);
        ::tzset();
    }
    ~LocalZone() {
        if (had_)
            qputenv("TZ", saved_);
        else
            qunsetenv("TZ");
        ::tzset();
    }
    LocalZone(const LocalZone&) = delete;
    LocalZone& operator=(const LocalZone&) = delete;

  private:
    QByteArray saved_;
    bool had_;
};

TEST(JournalTimeTest, TheRecordTimeCarriesTheLocalOffset) {
    const struct {
        const char* rule;
        const char* offset;
    } cases[] = {{"UTC0", "+00:00"},     {"CET-1", "+01:00"},   {"EST5", "-05:00"},
                 {"IST-5:30", "+05:30"}, {"NST3:30", "-03:30"}, {"NPT-5:45", "+05:45"}};
    const QRegularExpression iso(
        QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d$)"));
    for (const auto& c : cases) {
        const LocalZone zone(c.rule);
        const QString time = RecordTime();
        EXPECT_TRUE(iso.match(time).hasMatch()) << c.rule << ": " << time.toStdString();
        EXPECT_TRUE(time.endsWith(QLatin1String(c.offset))) << c.rule << ": " << time.toStdString();
        // Read back, it is the same moment.
        const QDateTime parsed = QDateTime::fromString(time, Qt::ISODateWithMs);
        ASSERT_TRUE(parsed.isValid()) << time.toStdString();
        EXPECT_LT(std::abs(parsed.msecsTo(QDateTime::currentDateTime())), 60'000) << c.rule;
    }
}

TEST(JournalTimeTest, AMomentInAnyZoneIsWrittenWithItsOffset) {
    const QDateTime utc(QDate(2026, 12, 10), QTime(1, 2, 31, 694), Qt::UTC);
    const struct {
        int offsetSeconds;
        const char* expected;
    } cases[] = {{0, "2026-12-10T01:02:31.694+00:00"},
                 {3600, "2026-12-10T02:02:31.694+01:00"},
                 {-5 * 3600, "2026-12-09T20:02:31.694-05:00"},
                 {-(3 * 3600 + 1800), "2026-12-09T21:32:31.694-03:30"},
                 {5 * 3600 + 2700, "2026-12-10T06:47:31.694+05:45"}};
    for (const auto& c : cases)
        EXPECT_EQ(IsoTime(utc.toTimeZone(QTimeZone(c.offsetSeconds))), c.expected);
}

TEST(JournalTimeTest, TheBrokenOffsetOfEarlierRecordsIsMended) {
    const struct {
        const char* read;
        const char* shown;
    } cases[] = {
        {"2026-12-10T01:02:31.6944300:00", "2026-12-10T01:02:31.694+00:00"},
        {"2026-12-10T01:02:31.6944301:00", "2026-12-10T01:02:31.694+01:00"},
        {"2026-12-09T20:02:31.0004505:00", "2026-12-09T20:02:31.000-05:00"},
        {"2026-12-09T21:32:31.1234503:30", "2026-12-09T21:32:31.123-03:30"},
        // Already right, or no time this program wrote: kept as they are.
        {"2026-12-10T01:02:31.694+01:00", "2026-12-10T01:02:31.694+01:00"},
        {"2026-12-10T01:02:31.69443", "2026-12-10T01:02:31.69443"},
        {"yesterday", "yesterday"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MendedTime(c.read), c.shown);
        const ParsedRecord parsed =
            FromJson(QJsonObject{{"id", "a"}, {"time", c.read}, {"operation", "read"}});
        ASSERT_TRUE(parsed.record);
        EXPECT_EQ(parsed.record->time, c.shown);
    }
}

}  // namespace
}  // namespace zmt::journal
