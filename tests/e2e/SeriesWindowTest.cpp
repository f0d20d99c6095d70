// The series window in the program against the simulated bench, on the virtual clock: the
// main window's configuration into one meter after another, each unit in the list with
// its journal record, the meter unpowered after Stop, and a configuration that cannot be
// written refused with the write guard's lines before the meter is touched.
#include "OperationFixture.h"

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
    bool HasRecord(const QString& id) {
        for (const auto& record : journal::ReadJournal(journal::JournalPath()).records)
            if (record.id == id) return true;
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

}  // namespace
}  // namespace zmt::e2e
