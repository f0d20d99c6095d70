#pragma once

#include <QDialog>
#include <QSize>
#include <QString>
#include <QStringList>

namespace zmt {

// What differs between the German and the English help window.
struct HelpWindowContent {
    QString objectName;
    QString caption;
    QString buttonCaption;
    QStringList memoLines;
};

// Layout shared by both help windows: a read-only memo `Memo1` that points the user to the
// context help line and gives the support address, and a button `Ende` that closes.
class HelpWindow : public QDialog {
    Q_OBJECT
  public:
    HelpWindow(const HelpWindowContent& content, QWidget* parent);

    void EndeClick();
};

// Opens the help window of the language `languageIndex` (0 German, any other English)
// modally and returns when it is closed.
void ShowHelpWindow(int languageIndex, QDialog& deu, QDialog& eng);

// The window ShowHelpWindow opens for `languageIndex`.
QDialog& ChooseHelpWindow(int languageIndex, QDialog& deu, QDialog& eng);

}  // namespace zmt
