#include "language/ZMThilfe.h"

#include "language/AuxWindowParts.h"
#include "language/MakerAddress.h"

namespace zmt {

namespace {

HelpWindowContent GermanHelp() {
    return {QStringLiteral("ZMTHelpDeu"),
            QString::fromUtf16(u"ZMT digitales Messgerät 48x24 - Hilfe"),
            QString::fromUtf16(u"Zurück"),
            {QStringLiteral("Bitte beachten sie die Kontexthilfe im unteren gelben Feld, wenn"),
             QString::fromUtf16(u"Sie mit der Maus über die Eingabefelder fahren."), QString(),
             QString::fromUtf16(u"technische Unterstützung erhalten Sie unter der email"),
             SupportEmailAddress()}};
}

}  // namespace

TZMTHelpDeu::TZMTHelpDeu(QWidget* parent) : HelpWindow(GermanHelp(), parent) {
    resize(ClientSizeForOuter(QSize(463, 221)));  // resizable, unlike the English one
}

}  // namespace zmt

#include "moc_ZMThilfe.cpp"
