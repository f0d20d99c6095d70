#include "language/HelpWindow.h"

#include "language/AuxWindowParts.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace zmt {

HelpWindow::HelpWindow(const HelpWindowContent& content, QWidget* parent) : QDialog(parent) {
    setObjectName(content.objectName);
    setWindowTitle(content.caption);
    SetBackground(this, kFormGrey);
    const TextStyle memoText{kNavy, 13, false, QStringLiteral("Arial")};
    QPlainTextEdit* memo = AddMemo(this, QStringLiteral("Memo1"), QRect(8, 16, 441, 113), kYellow,
                                   memoText, content.memoLines);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setAccessibleName(content.caption);  // the help text, in the window's own language
    QPushButton* ende =
        AddButton(this, QStringLiteral("Ende"), QRect(8, 144, 441, 33), content.buttonCaption);
    connect(ende, &QPushButton::clicked, this, &HelpWindow::EndeClick);
}

void HelpWindow::EndeClick() {
    close();
}

QDialog& ChooseHelpWindow(int languageIndex, QDialog& deu, QDialog& eng) {
    return languageIndex == 0 ? deu : eng;
}

void ShowHelpWindow(int languageIndex, QDialog& deu, QDialog& eng) {
    ChooseHelpWindow(languageIndex, deu, eng).exec();
}

}  // namespace zmt

#include "moc_HelpWindow.cpp"
