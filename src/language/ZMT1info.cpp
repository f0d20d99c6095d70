#include "language/ZMT1info.h"

#include "language/AuxWindowParts.h"
#include "language/MakerAddress.h"

#include <QPushButton>
#include <QWidget>

namespace zmt {

namespace {

const QColor kPanelBlue{0x00, 0x00, 0x40};

struct AboutLabel {
    const char* name;
    QPoint position;
    QColor colour;
    int pixelHeight;
    QString text;
};

QList<AboutLabel> AboutLabels() {
    return {
        {"Label7", {16, 8}, kYellow, 13, QStringLiteral("ZMT4824.exe")},
        {"Label3", {120, 8}, kYellow, 13, QStringLiteral("Version:")},
        {"Label9", {176, 8}, kYellow, 13, QStringLiteral("6.01")},
        {"Label16", {400, 10}, kSilver, 11, QStringLiteral("(06/08)")},
        {"Label14", {136, 80}, kYellow, 13, MakerWebSiteAddress()},
        {"Label6",
         {104, 120},
         kSilver,
         13,
         QStringLiteral("e-mail-support:  ") + SupportEmailAddress()},
    };
}

}  // namespace

TZMT1about::TZMT1about(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ZMT1about"));
    setWindowTitle(QStringLiteral("ZMT info"));
    setFixedSize(476, 250);
    SetBackground(this, kFormGrey);
    buildPanel();
    QPushButton* back = AddButton(this, QStringLiteral("back"), QRect(8, 208, 457, 33),
                                  QStringLiteral("o.k."), true);
    connect(back, &QPushButton::clicked, this, &TZMT1about::backClick);
}

void TZMT1about::buildPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(8, 16, 457, 177);
    SetBackground(panel, kPanelBlue);
    for (const AboutLabel& label : AboutLabels()) {
        AddLabel(panel, QLatin1String(label.name), label.position,
                 TextStyle{label.colour, label.pixelHeight, false, {}}, label.text);
    }
}

void TZMT1about::backClick() {
    close();
}

}  // namespace zmt

#include "moc_ZMT1info.cpp"
