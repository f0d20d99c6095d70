#include "language/ZMThelp.h"

#include "language/MakerAddress.h"

namespace zmt {

namespace {

HelpWindowContent EnglishHelp() {
    return {QStringLiteral("ZMTHelpEng"),
            QStringLiteral("ZMT digital display  -help-"),
            QStringLiteral("back"),
            {QStringLiteral("see the context help at the window bottom, when moving the mouse "),
             QStringLiteral("across the screen."), QString(),
             QStringLiteral("technical support via email:"), SupportEmailAddress()}};
}

}  // namespace

TZMTHelpEng::TZMTHelpEng(QWidget* parent) : HelpWindow(EnglishHelp(), parent) {
    setFixedSize(458, 191);  // a fixed dialog border
}

}  // namespace zmt

#include "moc_ZMThelp.cpp"
