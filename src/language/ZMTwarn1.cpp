#include "language/ZMTwarn1.h"

#include "language/AuxWindowParts.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace zmt {

Twarn::Twarn(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("warn"));
    setWindowTitle(QStringLiteral("WARN - HINWEIS"));
    resize(ClientSizeForOuter(QSize(470, 164)));
    SetBackground(this, kRed);
    AddMemo(this, QStringLiteral("warntext"), QRect(16, 16, 425, 73), kYellow,
            TextStyle{Qt::black, 13, true, {}}, {QStringLiteral("Warnhinweis")});
    QPushButton* ok =
        AddButton(this, QStringLiteral("Button1"), QRect(16, 104, 425, 25), QStringLiteral("O.K."));
    connect(ok, &QPushButton::clicked, this, &Twarn::Button1Click);
}

void Twarn::Button1Click() {
    close();
}

}  // namespace zmt

#include "moc_ZMTwarn1.cpp"
