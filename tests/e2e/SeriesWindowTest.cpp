// The series window in the program against the simulated bench, on the virtual clock: the
// main window's configuration into one meter after another, each unit in the list with
// its journal record, the meter unpowered after Stop, and a configuration that cannot be
// written refused with the write guard's lines before the meter is touched.
#include "OperationFixture.h"

#include "app/JournalView.h"
#include "app/SeriesWindow.h"
#include "common/Beep.h"
#include "device/WriteCheck.h"
#include "journal/JournalFile.h"
#include "journal/JournalLocation.h"
#include "language/AddedRows.h"
#include "language/LanguageText.h"
#include "language/OriginalRows.h"

#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTableWidget>

namespace zmt::e2e {
namespace {

class SeriesWindowTest : public OperationTest {
  protected:
    TSeriesForm& series() { return program->SeriesForm(); }
    template <class Widget = QWidget>
    Widget& part(const char* name) {
        auto* widget = series().findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }
    QString label(const char* name) { return part<QLabel>(name).text(); }
    QString cell(int row, int column) {
        const QTableWidgetItem* item = part<QTableWidget>("SeriesUnits").item(row, column);
        return item ? item->text() : QString();
    }
    QString words(int row) { return program->texts.text(row, 1); }
    QString german(int row) { return program->texts.text(row, 0); }
    // The result field's two colours: they must never be one.
    std::pair<QColor, QColor> resultColours() {
        const QPalette shown = part<QLabel>("SeriesResult").palette();
        return {shown.color(QPalette::Window), shown.color(QPalette::WindowText)};
    }
    // The neutral look is the window's own pair.
    bool resultNeutral() {
        const QPalette own = series().palette();
        return resultColours() ==
               std::make_pair(own.color(QPalette::Window), own.color(QPalette::WindowText));
    }
    SeriesLoop& loop() { return series().loop(); }

    // Opens the window from the menu and runs `scenario` in it; closed afterwards.
    void InSeriesWindow(const std::function<void()>& scenario) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            if (QTest::qWaitFor([&] { return series().isVisible(); }, 5000)) scenario();
            series().close();
            EXPECT_TRUE(WaitFor([&] { return !series().isVisible(); }));
            ran = true;
        });
        program->Form1().findChild<QAction*>("Serie1")->trigger();
        EXPECT_TRUE(ran);
    }
    void PlugInNextMeter() {
        ASSERT_TRUE(WaitFor([&] { return loop().phase() == SeriesPhase::WaitingForRemoval; }));
        station->setMeterPlugged(false);
        ASSERT_TRUE(WaitFor([&] { return loop().phase() == SeriesPhase::WaitingForMeter; }));
        station->setStoredImage(sim::FactoryImage());
        station->setMeterPlugged(true);
    }
    // The units list names a record by the short id the journal window lists.
    bool HasRecord(const QString& shortId) {
        for (const auto& record : journal::ReadJournal(journal::JournalPath()).records)
            if (ShortJournalId(record.id) == shortId) return true;
        return false;
    }
    QString HelpLineOver(const char* name) {
        QWidget& target = part(name);
        const QPoint local(2, 2);
        QMouseEvent move(QEvent::MouseMove, local, target.mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &move);
        return label("SeriesHelpPanel");
    }
};

TEST_F(SeriesWindowTest, MenuItemSitsBeforeThePortAssignment) {
    AddMeter(sim::FactoryImage());
    StartProgram(1);
    const QList<QAction*> items = program->Form1().findChild<QMenu*>("Kommunikation1")->actions();
    const auto at = [&](const char* name) {
        for (int i = 0; i < items.size(); ++i)
            if (items[i]->objectName() == QLatin1String(name)) return i;
        return -1;
    };
    EXPECT_EQ(at("Serie1") + 1, at("PortAssign1"));
    EXPECT_GT(at("Serie1"), at("MenueVergleichen"));
    EXPECT_EQ(items[at("Serie1")]->text(), words(rows::MenuSeriesKeyed));
}

TEST_F(SeriesWindowTest, TwoMetersOneAfterTheOtherThenStopLeavesTheMeterUnpowered) {
    AddMeter(sim::FactoryImage());
    StartProgram(1);
    const int passSounds = ResultSoundCount(true), failSounds = ResultSoundCount(false);
    InSeriesWindow([&] {
        EXPECT_EQ(series().windowTitle(), words(rows::SeriesWindowTitle));
        EXPECT_TRUE(part<QCheckBox>("SeriesVerify").isChecked());
        EXPECT_FALSE(part<QCheckBox>("SeriesSheets").isChecked());
        EXPECT_TRUE(label("SeriesSummary").startsWith(words(rows::SeriesSourceEditor)));
        EXPECT_EQ(HelpLineOver("SeriesStart"), words(rows::SeriesHelpStart));
        EXPECT_EQ(HelpLineOver("SeriesVerify"), words(rows::SeriesHelpVerify));
        EXPECT_EQ(HelpLineOver("SeriesResult"), words(rows::SeriesHelpResult));

        part<QPushButton>("SeriesStart").click();
        ASSERT_TRUE(WaitFor([&] { return loop().passed() == 1; }));
        EXPECT_EQ(label("SeriesResult"), words(rows::SeriesOk));
        const QColor shown = part<QLabel>("SeriesResult").palette().color(QPalette::Window);
        EXPECT_GT(shown.green(), 100);
        EXPECT_LT(shown.red(), 50);
        EXPECT_EQ(label("SeriesPassed"), words(rows::SeriesPassedCount).arg(1));
        EXPECT_EQ(label("SeriesFailed"), words(rows::SeriesFailedCount).arg(0));
        EXPECT_EQ(cell(0, 0), "1");
        EXPECT_EQ(cell(0, 2), words(rows::SeriesOk));
        EXPECT_TRUE(HasRecord(cell(0, 3))) << cell(0, 3).toStdString();
        EXPECT_FALSE(part<QPushButton>("SeriesStart").isEnabled());

        PlugInNextMeter();
        ASSERT_TRUE(WaitFor([&] { return loop().passed() == 2; }));
        EXPECT_EQ(part<QTableWidget>("SeriesUnits").rowCount(), 2);
        EXPECT_EQ(cell(1, 0), "2");
        EXPECT_NE(cell(1, 3), cell(0, 3));
        EXPECT_TRUE(HasRecord(cell(1, 3)));
        EXPECT_EQ(station->imagesStored(), 2);  // each meter written once

        part<QPushButton>("SeriesStop").click();
        ASSERT_TRUE(WaitFor([&] { return !loop().Running(); }));
        Pass(std::chrono::seconds(5));
        EXPECT_FALSE(station->dtr());
        EXPECT_FALSE(station->rts());
        EXPECT_TRUE(part<QPushButton>("SeriesStart").isEnabled());
    });
    EXPECT_EQ(ResultSoundCount(true) - passSounds, 2);
    EXPECT_EQ(ResultSoundCount(false) - failSounds, 0);
}

TEST_F(SeriesWindowTest, ConfigurationThatCannotBeEvaluatedIsRefusedWithTheWriteGuardsLines) {
    AddMeter(sim::FactoryImage());
    StartProgram(1);
    program->model.setField(Field::Skalin2, "2x");
    const QStringList expected{
        words(rows::InputError),
        WriteProblemLine(CheckWritableConfiguration(program->model), program->texts, 1)};
    const int records = int(journal::ReadJournal(journal::JournalPath()).records.size());
    InSeriesWindow([&] {
        part<QPushButton>("SeriesStart").click();
        EXPECT_FALSE(loop().Running());
        EXPECT_EQ(label("SeriesMessages").split('\n'), expected);
        EXPECT_EQ(label("SeriesResult"), expected.last());
        const QColor shown = part<QLabel>("SeriesResult").palette().color(QPalette::Window);
        EXPECT_GT(shown.red(), 150);
        Pass(std::chrono::seconds(5));
        EXPECT_EQ(station->imagesStored(), 0);
        EXPECT_FALSE(station->dtr());
    });
    EXPECT_EQ(int(journal::ReadJournal(journal::JournalPath()).records.size()), records);
}

// The window checks the sheet folder as the tool does, before any meter is written.
TEST_F(SeriesWindowTest, ASheetFolderThatIsAFileIsRefusedBeforeTheSeriesStarts) {
    AddMeter(sim::FactoryImage());
    StartProgram(1);
    QTemporaryDir folder;
    const QString file = folder.filePath("not-a-folder");
    QFile(file).open(QIODevice::WriteOnly);
    InSeriesWindow([&] {
        part<QCheckBox>("SeriesSheets").setChecked(true);
        part<QLineEdit>("SeriesSheetFolder").setText(file);
        part<QPushButton>("SeriesStart").click();
        EXPECT_FALSE(loop().Running());
        EXPECT_TRUE(label("SeriesMessages").startsWith(file))
            << label("SeriesMessages").toStdString();
        Pass(std::chrono::seconds(3));
        EXPECT_EQ(station->imagesStored(), 0);
    });
}

// OK or a failure stands only for the meter plugged in now, the status never trails it,
// and the field always reads.
TEST_F(SeriesWindowTest, ResultFieldShowsTheUnitUnderWayItsResultAndClearsWhenTheMeterIsOff) {
    AddMeter(sim::FactoryImage());
    StartProgram(1);
    InSeriesWindow([&] {
        part<QPushButton>("SeriesStart").click();
        ASSERT_TRUE(WaitFor([&] { return loop().phase() == SeriesPhase::Writing; }));
        EXPECT_EQ(label("SeriesResult"), words(rows::SeriesUnitStarting).arg(1));
        EXPECT_EQ(label("SeriesResult"), "programming unit 1...");
        EXPECT_TRUE(resultNeutral());
        ASSERT_TRUE(WaitFor([&] { return loop().passed() == 1; }));
        EXPECT_EQ(label("SeriesResult"), words(rows::SeriesOk));
        EXPECT_EQ(resultColours().second, QColor(Qt::white));
        for (int row : {rows::SeriesWriting, rows::SeriesVerifying})
            EXPECT_NE(label("SeriesStatus"), words(row).arg(1));
        ASSERT_TRUE(WaitFor([&] { return loop().phase() == SeriesPhase::WaitingForRemoval; }));
        EXPECT_EQ(label("SeriesStatus"), words(rows::SeriesWaitingForRemoval));
        EXPECT_EQ(label("SeriesResult"), words(rows::SeriesOk));
        station->setMeterPlugged(false);
        ASSERT_TRUE(WaitFor([&] { return loop().phase() == SeriesPhase::WaitingForMeter; }));
        EXPECT_EQ(label("SeriesResult"), QString());
        EXPECT_TRUE(resultNeutral());
        part<QPushButton>("SeriesStop").click();
    });
}

// Stop in the middle of a unit: the write frame under way ends, the unit is counted and
// listed as cancelled, and its reason reads on the window's own colours.
TEST_F(SeriesWindowTest, StopDuringAUnitCountsItAndShowsItsReasonReadably) {
    AddMeter(sim::FactoryImage());
    StartProgram(1);
    InSeriesWindow([&] {
        part<QPushButton>("SeriesStart").click();
        ASSERT_TRUE(WaitFor([&] { return loop().phase() == SeriesPhase::Writing; }));
        part<QPushButton>("SeriesStop").click();
        ASSERT_TRUE(WaitFor([&] { return !loop().Running(); }));
        EXPECT_EQ(part<QTableWidget>("SeriesUnits").rowCount(), 1);
        EXPECT_EQ(cell(0, 2), words(rows::JournalResultCancelled));
        EXPECT_EQ(label("SeriesResult"), words(rows::StoppedByInterrupt));
        EXPECT_TRUE(resultNeutral());
        EXPECT_NE(resultColours().first, resultColours().second);
        EXPECT_TRUE(
            label("SeriesMessages")
                .split(u'\n')
                .contains(words(rows::SeriesSummaryWithStopped).arg(1).arg(0).arg(0).arg(1)))
            << label("SeriesMessages").toStdString();
    });
}

// Escape or closing while the series runs asks first; no keeps it running, yes stops it and
// the window closes once the loop has ended.
TEST_F(SeriesWindowTest, ClosingARunningSeriesAsksAndClosesOnlyAfterItEnded) {
    AddMeter(sim::FactoryImage());
    StartProgram(1);
    bool closedWhileRunning = false;
    InSeriesWindow([&] {
        part<QPushButton>("SeriesStart").click();
        ASSERT_TRUE(WaitFor([&] { return loop().phase() == SeriesPhase::Writing; }));
        dialogs.yesNoAnswer = false;
        QTest::keyClick(&series(), Qt::Key_Escape);
        EXPECT_EQ(dialogs.questions.value(dialogs.questions.size() - 1),
                  words(rows::SeriesAskStop));
        EXPECT_TRUE(series().isVisible());
        EXPECT_TRUE(loop().Running());
        dialogs.yesNoAnswer = true;
        const int asked = int(dialogs.questions.size());
        series().close();
        EXPECT_EQ(int(dialogs.questions.size()), asked + 1);
        closedWhileRunning = !series().isVisible() && loop().Running();
        ASSERT_TRUE(WaitFor([&] { return !series().isVisible(); }));
        EXPECT_FALSE(loop().Running());
    });
    EXPECT_FALSE(closedWhileRunning);
}

// A switch of language while the window is open reaches every text it shows.
TEST_F(SeriesWindowTest, TextsFollowALanguageSwitchWhileTheWindowIsOpen) {
    AddMeter(sim::FactoryImage());
    StartProgram(1);
    InSeriesWindow([&] {
        EXPECT_EQ(part<QRadioButton>("SeriesFromFile").text(), words(rows::SeriesNoFileChosen));
        EXPECT_FALSE(part<QRadioButton>("SeriesFromFile").isEnabled());
        part<QPushButton>("SeriesStart").click();
        ASSERT_TRUE(WaitFor([&] { return loop().phase() == SeriesPhase::WaitingForRemoval; }));
        program->Form1().findChild<QAction*>("MLanguage")->trigger();
        EXPECT_EQ(series().windowTitle(), german(rows::SeriesWindowTitle));
        EXPECT_EQ(label("SeriesStatus"), german(rows::SeriesWaitingForRemoval));
        EXPECT_EQ(label("SeriesPassed"), german(rows::SeriesPassedCount).arg(1));
        EXPECT_TRUE(label("SeriesSummary").startsWith(german(rows::SeriesSourceEditor)));
        EXPECT_EQ(part<QRadioButton>("SeriesFromFile").text(), german(rows::SeriesNoFileChosen));
        auto& units = part<QTableWidget>("SeriesUnits");
        EXPECT_EQ(units.horizontalHeaderItem(1)->text(), german(rows::JournalColumnTime));
        EXPECT_EQ(cell(0, 2), german(rows::SeriesOk));
        EXPECT_EQ(units.accessibleName(), german(rows::NameSeriesUnits));
        part<QPushButton>("SeriesStop").click();
        ASSERT_TRUE(WaitFor([&] { return !loop().Running(); }));
        EXPECT_EQ(label("SeriesStatus"), german(rows::SeriesStopped));
    });
}

struct SummaryCase {
    const char* limitMode;
    const char* limit;  // as the summary ends
};

// The summary wraps between its parts only, and an unused contact says so.
TEST_F(SeriesWindowTest, SummaryKeepsEachExpressionWholeAndSaysUnusedForAnUnusedContact) {
    AddMeter(sim::FactoryImage());
    StartProgram(1);
    const SummaryCase cases[] = {{"gwno", "unused"}, {"gwnorm", "2000/2000"}};
    for (const SummaryCase& c : cases) {
        program->model.LimitMode = QString::fromLatin1(c.limitMode);
        InSeriesWindow([&] {
            const QString summary = label("SeriesSummary");
            EXPECT_TRUE(summary.endsWith(QString::fromLatin1(c.limit))) << summary.toStdString();
            EXPECT_TRUE(summary.contains(QStringLiteral("\u00a0\u2192\u00a0")))
                << summary.toStdString();
            EXPECT_FALSE(summary.contains(QStringLiteral("->"))) << summary.toStdString();
        });
    }
}

}  // namespace
}  // namespace zmt::e2e
