#include "language/HelpWindow.h"
#include "language/MakerAddress.h"
#include "language/Ulanguage.h"
#include "language/ZMT1info.h"
#include "language/ZMThelp.h"
#include "language/ZMThilfe.h"
#include "language/ZMTwarn1.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace zmt {
namespace {

struct MemoWindowCase {
    std::function<QDialog*()> make;
    QString objectName;
    QString caption;
    QSize clientSize;
    bool fixedSize;
    QString memoName;
    QRect memoGeometry;
    QStringList memoLines;
    QString buttonName;
    QString buttonCaption;
    QRect buttonGeometry;
};

QList<MemoWindowCase> MemoWindows() {
    const QString mail = SupportEmailAddress();
    return {
        {[] { return new TZMTHelpEng; },
         "ZMTHelpEng",
         "ZMT digital display  -help-",
         {458, 191},
         true,
         "Memo1",
         {8, 16, 441, 113},
         {"see the context help at the window bottom, when moving the mouse ", "across the screen.",
          "", "technical support via email:", mail},
         "Ende",
         "back",
         {8, 144, 441, 33}},
        {[] { return new TZMTHelpDeu; },
         "ZMTHelpDeu",
         QString::fromUtf16(u"ZMT digitales Messger\u00e4t 48x24 - Hilfe"),
         {455, 191},
         false,
         "Memo1",
         {8, 16, 441, 113},
         {"Bitte beachten sie die Kontexthilfe im unteren gelben Feld, wenn",
          QString::fromUtf16(u"Sie mit der Maus \u00fcber die Eingabefelder fahren."), "",
          QString::fromUtf16(u"technische Unterst\u00fctzung erhalten Sie unter der email"), mail},
         "Ende",
         QString::fromUtf16(u"Zur\u00fcck"),
         {8, 144, 441, 33}},
        {[] { return new Twarn; },
         "warn",
         "WARN - HINWEIS",
         {462, 134},
         false,
         "warntext",
         {16, 16, 425, 73},
         {"Warnhinweis"},
         "Button1",
         "O.K.",
         {16, 104, 425, 25}},
    };
}

TEST(AuxWindows, MemoWindowsHaveTheirCaptionsSizesAndTexts) {
    for (const MemoWindowCase& c : MemoWindows()) {
        SCOPED_TRACE(c.objectName.toStdString());
        std::unique_ptr<QDialog> window(c.make());
        EXPECT_EQ(window->objectName(), c.objectName);
        EXPECT_EQ(window->windowTitle(), c.caption);
        EXPECT_EQ(window->size(), c.clientSize);
        EXPECT_EQ(window->minimumSize() == window->maximumSize(), c.fixedSize);
        auto* memo = window->findChild<QPlainTextEdit*>(c.memoName);
        ASSERT_NE(memo, nullptr);
        EXPECT_TRUE(memo->isReadOnly());
        EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        EXPECT_EQ(memo->geometry(), c.memoGeometry);
        EXPECT_EQ(memo->toPlainText().split(QLatin1Char('\n')), c.memoLines);
        auto* button = window->findChild<QPushButton*>(c.buttonName);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), c.buttonCaption);
        EXPECT_EQ(button->geometry(), c.buttonGeometry);
        EXPECT_TRUE(QRect(QPoint(), c.clientSize).contains(button->geometry()));
    }
}

TEST(AuxWindows, MemoTextSurvivesTypingAndClosingByButtonOrTitleBar) {
    for (const MemoWindowCase& c : MemoWindows()) {
        for (bool byButton : {true, false}) {
            SCOPED_TRACE(c.objectName.toStdString() + (byButton ? " button" : " title bar"));
            std::unique_ptr<QDialog> window(c.make());
            window->show();
            auto* memo = window->findChild<QPlainTextEdit*>(c.memoName);
            memo->setFocus();
            QTest::keyClicks(memo, QStringLiteral("xyz"));
            QTest::keyClick(memo, Qt::Key_Delete);
            if (byButton)
                window->findChild<QPushButton*>(c.buttonName)->click();
            else
                window->close();
            EXPECT_FALSE(window->isVisible());
            window->show();
            EXPECT_EQ(memo->toPlainText().split(QLatin1Char('\n')), c.memoLines);
        }
    }
}

TEST(AuxWindows, HelpMemosUseNavyArialOnYellowWithAScrollBar) {
    TZMTHelpEng eng;
    TZMTHelpDeu deu;
    for (QDialog* window : {static_cast<QDialog*>(&eng), static_cast<QDialog*>(&deu)}) {
        auto* memo = window->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        EXPECT_EQ(memo->font().family(), QStringLiteral("Arial"));
        EXPECT_EQ(memo->font().pixelSize(), 13);
        EXPECT_EQ(memo->palette().color(QPalette::Text), QColor(0, 0, 128));
        EXPECT_EQ(memo->palette().color(QPalette::Base), QColor(255, 255, 0));
        EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
}

TEST(AuxWindows, AboutBoxLabels) {
    TZMT1about about;
    EXPECT_EQ(about.objectName(), QStringLiteral("ZMT1about"));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("ZMT info"));
    EXPECT_EQ(about.size(), QSize(476, 250));
    EXPECT_EQ(about.minimumSize(), about.maximumSize());
    const QColor yellow(255, 255, 0), silver(192, 192, 192);
    const struct {
        const char* name;
        QPoint position;
        QColor colour;
        int pixelHeight;
        QString text;
    } labels[] = {
        {"Label7", {16, 8}, yellow, 13, "ZMT4824.exe"},
        {"Label3", {120, 8}, yellow, 13, "Version:"},
        {"Label9", {176, 8}, yellow, 13, "6.01"},
        {"Label16", {400, 10}, silver, 11, "(06/08)"},
        {"Label14", {136, 80}, yellow, 13, "https://www.example.com/zmt4824"},
        {"Label6", {104, 120}, silver, 13, "e-mail-support:  support@example.com"},
    };
    for (const auto& expected : labels) {
        SCOPED_TRACE(expected.name);
        auto* label = about.findChild<QLabel*>(QLatin1String(expected.name));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), expected.text);
        EXPECT_EQ(label->pos(), expected.position);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), expected.colour);
        EXPECT_EQ(label->font().pixelSize(), expected.pixelHeight);
        EXPECT_EQ(label->parentWidget()->palette().color(QPalette::Window), QColor(0, 0, 64));
    }
    auto* back = about.findChild<QPushButton*>(QStringLiteral("back"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->text(), QStringLiteral("o.k."));
    EXPECT_TRUE(back->font().bold());
    EXPECT_EQ(back->geometry(), QRect(8, 208, 457, 33));
    about.show();
    back->click();
    EXPECT_FALSE(about.isVisible());
}

TEST(AuxWindows, HelpWindowFollowsTheLanguageIndex) {
    TZMTHelpDeu deu;
    TZMTHelpEng eng;
    const struct {
        int languageIndex;
        QDialog* expected;
    } cases[] = {{0, &deu}, {1, &eng}, {2, &eng}, {-1, &eng}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.languageIndex);
        QWidget* opened = nullptr;
        QTimer::singleShot(0, [&] {
            opened = QApplication::activeModalWidget();
            if (opened) opened->close();
        });
        ShowHelpWindow(c.languageIndex, deu, eng);
        EXPECT_EQ(opened, c.expected);
        EXPECT_FALSE(c.expected->isVisible());
    }
}

TEST(AuxWindows, EmptyFsWindow) {
    TFS fs;
    EXPECT_EQ(fs.objectName(), QStringLiteral("FS"));
    EXPECT_EQ(fs.windowTitle(), QStringLiteral("FS"));
    EXPECT_TRUE(fs.isWindow());
    EXPECT_TRUE(fs.findChildren<QWidget*>().isEmpty());
    EXPECT_FALSE(fs.isVisible());
}

}  // namespace
}  // namespace zmt
