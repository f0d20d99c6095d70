#include "editor/ComSelectUnit.h"

#include "common/Beep.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace zmt {

namespace {

const char* const kMemoLines[] = {
    "!!! Auswahl der seriellen Schnittstelle !!!",
    "",
    "Bevor Sie mit dem Programm arbeiten können, müssen Sie eine freie serielle ",
    "Schnittstelle auswählen, an welche Sie das Programmierinterface ",
    "angeschlossen haben.",
    "Achten Sie darauf, daß auf dem ausgewählten Port kein anderes Gerät (z.B. ",
    "Maus) angeschlossen ist, da dieses sonst evtl. nicht mehr korrekt arbeitet und ",
    "der PC dann neu gestartet werden muß.",
    "",
    "Beim Beenden des Programms werden alle Einstellung mit gespeichert und ",
    "beim nächsten Start übernommen. ",
    "Dieses Fenster erscheint danach nicht mehr!"};

}  // namespace

TComPreSelect::TComPreSelect(ChoiceHandler onChoice, QWidget* parent)
    : QDialog(parent), onChoice_(std::move(onChoice)) {
    setObjectName("ComPreSelect");
    setWindowTitle(QString::fromUtf8("ZMT digitales Messgerät 48x24"));
    setFixedSize(500, 290);
    buildMemo();
    pre1_ = new QRadioButton("COM 1", this);
    pre1_->setObjectName("pre1");
    pre1_->setGeometry(16, 220, 90, 20);
    pre2_ = new QRadioButton("COM 2", this);
    pre2_->setObjectName("pre2");
    pre2_->setGeometry(16, 248, 90, 20);
    auto* okbutton = new QPushButton(QStringLiteral("Auswahl O.K."), this);
    okbutton->setObjectName("okbutton");
    okbutton->setGeometry(300, 232, 180, 30);
    connect(okbutton, &QPushButton::clicked, this, &TComPreSelect::okbuttonClick);
}

void TComPreSelect::buildMemo() {
    auto* memo = new QPlainTextEdit(this);
    memo->setObjectName("Memo1");
    memo->setGeometry(8, 8, 484, 200);
    memo->setReadOnly(true);
    memo->setAccessibleName(QStringLiteral("Hinweis"));
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette darkRed = memo->palette();
    darkRed.setColor(QPalette::Text, QColor(128, 0, 0));
    memo->setPalette(darkRed);
    for (const char* line : kMemoLines) memo->appendPlainText(QString::fromUtf8(line));
}

void TComPreSelect::okbuttonClick() {
    if (pre1_->isChecked())
        Choose(1);
    else if (pre2_->isChecked())
        Choose(2);
    else
        Beep();  // no port chosen: the window stays
}

void TComPreSelect::reject() {
    Choose(1);
}

void TComPreSelect::Choose(int comNumber) {
    if (onChoice_) onChoice_(comNumber);
    QDialog::accept();
}

}  // namespace zmt

#include "moc_ComSelectUnit.cpp"
