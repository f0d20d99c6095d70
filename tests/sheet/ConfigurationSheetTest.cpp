// The configuration sheet's contents: the worked example printed in both languages and read
// back with pdftotext, what the displays and the contact do under other scalings, the
// messages of the main window, a configuration with a math error, texts from a file far
// longer than their fields, and the calibration and words of this run.
#include "LocaleGuard.h"
#include "SheetTestSupport.h"
#include "sheet/ConfigurationSheet.h"
#include "sheet/SheetDocument.h"
#include "sheet/SheetPdf.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextDocument>

#include <functional>

namespace zmt::test {
namespace {

struct LanguageCase {
    int language;
    QStringList lines;  // each must appear as a printed line, blanks collapsed
};

TEST(ConfigurationSheet, WorkedExamplePrintsWhatTheMeterDoesInBothLanguages) {
    const LocaleGuard locale(QLocale::German);
    const QStringList commonLines = {
        "w3 0x0801 2049 w11 0x2710 10000", "w4 0x0080 128 w12 0x2EE0 12000",
        "w6 0x0FCF 4047 w14 0x2EE0 12000", "w7 0x0FCF 4047 w15 0x0001 1"};
    const LanguageCase cases[] = {
        {0,
         {QString::fromUtf8("Konfigurationsblatt ZMT digitales Messgerät 48x24, 20 mA"),
          "Datum 17.05.2024 09:30", "Datei nicht gespeichert", "Schnittstelle COM1",
          QString::fromUtf8("Geräte-Typ 20 mA (Einheit mA, Endwert 20 mA)"), "Dezimalpunkt ohne",
          "Eingang (2) 20 mA", "Anzeige (2) 2000", "Test-Eingangswert 10 mA",
          "Anzeige bei Endwert 20 mA 2000", "25 % 5 mA 500 offen", "50 % 10 mA 1000 offen",
          "100 % 20 mA 2000 geschlossen", "Test-Eingangswert 10 mA 1000 offen",
          "Kontakt ON bei Anzeige >= 2000 20 mA", "Kontakt OFF bei Anzeige <= 2000 20 mA", "keine",
          QString::fromUtf8("w0 vom Gerät — w8 vom Gerät —")}},
        {1,
         {"Configuration sheet ZMT digital display 48x24, 20 mA", "date 2024-05-17 09:30",
          "file not saved", "serial port COM1", "device type 20 mA (unit mA, full scale 20 mA)",
          "decimal point none", "display at full scale 20 mA 2000", "50 % 10 mA 1000 open",
          "100 % 20 mA 2000 closed", "contact ON at display >= 2000 20 mA", "none",
          QString::fromUtf8("w0 from the meter — w8 from the meter —")}},
    };
    QTemporaryDir dir;
    for (const LanguageCase& c : cases) {
        SCOPED_TRACE(c.language);
        const QString path = dir.filePath(QStringLiteral("sheet%1.pdf").arg(c.language));
        const SheetResult written = WriteConfigurationSheetPdf(WorkedExample(c.language), path);
        ASSERT_TRUE(written.ok) << written.message.toStdString();
        EXPECT_EQ(PdfPages(path), 1);
        const QStringList printed = PdfLines(path);
        for (const QString& line : c.lines + commonLines)
            EXPECT_TRUE(printed.contains(line)) << line.toStdString() << "\n"
                                                << printed.join('\n').toStdString();
    }
}

struct ScalingCase {
    const char* what;
    std::function<void(ConfigModel&)> change;
    QStringList displays;
    QStringList contact;
};

TEST(ConfigurationSheet, DisplaysAndContactFollowTheScaling) {
    const LocaleGuard locale(QLocale::German);
    const auto fourToTwenty = [](ConfigModel& m) {
        m.setField(Field::Skalin1, "4");
        m.setField(Field::Skalout2, "1000");
    };
    const ScalingCase cases[] = {
        {"worked example",
         [](ConfigModel&) {},
         {"0 | 0", "50 % | 10 mA | 1000 | offen"},
         {"Kontakt ON bei Anzeige >= 2000 | 20 mA"}},
        {"two decimals",
         [](ConfigModel& m) { m.DecimalPoint = 2; },
         {"0 | 0,00", "50 % | 10 mA | 10,00 | offen", "100 % | 20 mA | 20,00 | geschlossen"},
         {"Kontakt ON bei Anzeige >= 20,00 | 20 mA"}},
        {"4..20 mA shown as 0..1000",
         fourToTwenty,
         {"0 | -250", "50 % | 10 mA | 375 | offen", "0 % | 0 mA | -250 | offen"},
         {QString::fromUtf8("Kontakt ON bei Anzeige >= 2000 | 36 mA  (außerhalb des "
                            "Eingangsbereichs)")}},
        {"positive only",
         [&](ConfigModel& m) {
             fourToTwenty(m);
             m.polaritaet = PolarityPositiveOnly;
         },
         {"0 % | 0 mA | 0 | offen"},
         {}},
        {"contact inverted at 500",
         [](ConfigModel& m) {
             m.LimitMode = ModeInverted;
             m.setField(Field::RelaisOn, "500");
             m.setField(Field::RelaisOff, "600");
         },
         {"0 % | 0 mA | 0 | geschlossen", "50 % | 10 mA | 1000 | offen"},
         {"Kontakt ON bei Anzeige <= 500 | 5 mA", "Kontakt OFF bei Anzeige >= 600 | 6 mA"}},
        {"contact not used",
         [](ConfigModel& m) { m.LimitMode = ModeUnused; },
         {"50 % | 10 mA | 1000 | nicht benutzt"},
         {"nicht benutzt"}},
    };
    for (const ScalingCase& c : cases) {
        SCOPED_TRACE(c.what);
        SheetInput input = WorkedExample();
        c.change(input.model);
        const SheetContents sheet = ConfigurationSheet(input).contents();
        const QStringList displays =
            SectionLines(sheet, QString::fromUtf8("Anzeige des Messgeräts"));
        const QStringList contact = SectionLines(sheet, "Grenzwert-Kontakt");
        for (const QString& line : c.displays)
            EXPECT_TRUE(std::any_of(displays.begin(), displays.end(),
                                    [&](const QString& l) { return l.endsWith(line); }))
                << line.toStdString() << "\n"
                << displays.join('\n').toStdString();
        for (const QString& line : c.contact)
            EXPECT_TRUE(contact.contains(line)) << line.toStdString() << "\n"
                                                << contact.join('\n').toStdString();
    }
}

struct MessageCase {
    const char* what;
    std::function<void(ConfigModel&)> change;
    QStringList messages;
};

TEST(ConfigurationSheet, MessagesAreThoseOfTheMainWindow) {
    const LocaleGuard locale(QLocale::German);
    const QString warning = QString::fromUtf8(
        "!!!WARNUNG!!! Werte negativer als -1999 werden am Gerät baurtbedingt ohne MINUS "
        "angezeigt !!!");
    const MessageCase cases[] = {
        {"none", [](ConfigModel&) {}, {"keine"}},
        {"display (1) below -1999",
         [](ConfigModel& m) { m.setField(Field::Skalout1, "-2000"); },
         {warning}},
        {"test value below -1999",
         [](ConfigModel& m) { m.setField(Field::Testin1, "-20"); },
         {warning}},
        {"equal inputs",
         [](ConfigModel& m) { m.setField(Field::Skalin1, "20"); },
         {QString::fromUtf8("keine Berechnung möglich")}},
        {"test input from a file that is no number",
         [](ConfigModel& m) { m.setField(Field::Testin1, "abc"); },
         {"'  abc' is not a valid floating point value"}},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.what);
        SheetInput input = WorkedExample();
        c.change(input.model);
        EXPECT_EQ(SectionLines(ConfigurationSheet(input).contents(), "Meldungen"), c.messages);
    }
}

TEST(ConfigurationSheet, MathErrorShowsTheErrorInsteadOfNumbersAndStillPrints) {
    SheetInput input = WorkedExample();
    input.model.setField(Field::Skalin1, "20");  // equal to input (2)
    QTemporaryDir dir;
    const SheetResult written = WriteConfigurationSheetPdf(input, dir.filePath("error.pdf"));
    ASSERT_TRUE(written.ok) << written.message.toStdString();
    const QStringList printed = PdfLines(written.path);
    const QString mathError = QString::fromUtf8("keine Berechnung möglich");
    EXPECT_GE(printed.count(mathError), 3) << printed.join('\n').toStdString();  // displays,
    EXPECT_TRUE(printed.contains(                                                // contact, memo
        QString::fromUtf8("Diese Konfiguration kann nicht geschrieben werden: keine Berechnung "
                          "möglich")))
        << printed.join('\n').toStdString();
    EXPECT_TRUE(LineWith(printed, "50 %").isNull());
    EXPECT_TRUE(LineWith(printed, "w3").isNull());
    EXPECT_TRUE(printed.contains("Eingang (1) 20 mA"));
}

TEST(ConfigurationSheet, TextsLongerThanTheirFieldsKeepTheLayout) {
    SheetInput input = WorkedExample();
    const QString longText = "<b>" + QString(400, u'W');
    for (Field field : {Field::Skalin1, Field::Skalout2, Field::RelaisOn, Field::Testin1})
        input.model.field(field) = longText;
    input.model.polaritaet = input.model.LimitMode = input.session.ComPortName = longText;
    input.fileName = "/folder/" + QString(300, u'F') + ".dig";

    const auto document = BuildSheetDocument(ConfigurationSheet(input).contents());
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageLayout(SheetPageLayout());
    LayOutForDevice(*document, writer);
    EXPECT_LE(document->size().width(), document->pageSize().width());
    EXPECT_EQ(document->pageCount(), 1);
    // Shown as text, not taken as markup, and cut short.
    EXPECT_TRUE(document->toPlainText().contains("<b>WWW"));
    EXPECT_FALSE(document->toPlainText().contains(QString(150, u'W')));

    QTemporaryDir dir;
    const SheetResult written = WriteConfigurationSheetPdf(input, dir.filePath("long"));
    ASSERT_TRUE(written.ok) << written.message.toStdString();
    EXPECT_EQ(PdfPages(written.path), 1);
}

struct RunCase {
    const char* what;
    std::optional<DeviceState> device;
    QStringList calibration;
    QStringList words;
};

DeviceState CalibratedMeter() {
    DeviceState device;
    device.ImageFromMeter = true;
    device.DeviceImage[words::w8] = 7;
    device.OffsetReading = device.DeviceImage[words::w0] = 65533;
    device.OffsetDisplayReading = -3;
    device.GainFactor = device.DeviceImage[words::w2] = 8233;
    device.GainDisplayReading = 1990;
    return device;
}

TEST(ConfigurationSheet, CalibrationAndWordsOfThisRun) {
    DeviceState readOnly;
    readOnly.ImageFromMeter = true;
    readOnly.DeviceImage[words::w0] = 12;
    const RunCase cases[] = {
        {"no meter seen", std::nullopt, {}, {QString::fromUtf8("w0 | vom Gerät | —")}},
        {"read, not calibrated", readOnly, {}, {"w0 | 0x000C | 12", "w6 | 0x0DDB | 3547"}},
        {"calibrated",
         CalibratedMeter(),
         {"Anzeige beim Offset-Abgleich | -3",
          QString::fromUtf8("Anzeige beim Verstärkungs-Abgleich | 1990"),
          "Offset (w0) | -3  (0xFFFD)",
          QString::fromUtf8("Verstärkungsfaktor (w2, 8192 = 1,0) | 8233  (0x2029)")},
         {"w0 | 0xFFFD | 65533", "w2 | 0x2029 | 8233", "w6 | 0x0DD2 | 3538", "w7 | 0x0D6E | 3438",
          "w8 | 0x0007 | 7"}},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.what);
        SheetInput input = WorkedExample();
        input.model.setField(Field::RelaisOn, "1500");
        input.model.setField(Field::RelaisOff, "1400");
        input.device = c.device;
        const SheetContents sheet = ConfigurationSheet(input).contents();
        const QStringList calibration = SectionLines(sheet, "Kalibrierung in diesem Programmlauf");
        if (c.calibration.isEmpty())
            EXPECT_TRUE(calibration.first().startsWith("<no section"));
        else
            EXPECT_EQ(calibration, c.calibration);
        QStringList words;
        for (const QString& row :
             SectionLines(sheet, QString::fromUtf8("Service: Datenwörter, die das Schreiben dieser "
                                                   "Konfiguration sendet")))
            words << row.section(" | ", 0, 2) << row.section(" | ", 3, 5);
        for (const QString& word : c.words)
            EXPECT_TRUE(words.contains(word)) << word.toStdString() << "\n"
                                              << words.join('\n').toStdString();
    }
}

}  // namespace
}  // namespace zmt::test
