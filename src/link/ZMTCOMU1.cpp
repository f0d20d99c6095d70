#include "link/ZMTCOMU1.h"
#include "common/MakeWidget.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>

namespace zmt {

namespace {

const QColor kLightYellow(255, 255, 128);  // the form's colour 8454143

}  // namespace

TZMTCom::TZMTCom(link::TransferEngine& engine, QWidget* parent) : QWidget(parent), engine_(engine) {
    setObjectName(QStringLiteral("ZMTCom"));
    buildControls();
    connectEngine();
}

void TZMTCom::buildControls() {
    setWindowTitle(QStringLiteral("Brolls happy communication"));
    move(85, 220);
    resize(470, 138);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kLightYellow);
    setPalette(palette);

    Gauge1_ = MakeWidget<QProgressBar>(this, "Gauge1", QRect(32, 72, 401, 25));
    Gauge1_->setRange(0, 100);
    Gauge1_->setValue(0);
    QPalette bar = Gauge1_->palette();
    bar.setColor(QPalette::Highlight, Qt::darkBlue);  // navy
    Gauge1_->setPalette(bar);

    Button11_ = MakeWidget<QPushButton>(this, "Button11", QRect(360, 24, 75, 25));
    Button11_->setText(QStringLiteral("cancel"));
    Button11_->setEnabled(false);  // nothing enables it
    connect(Button11_, &QPushButton::clicked, this, &QWidget::close);

    TransferMemo_ = MakeWidget<QPlainTextEdit>(this, "TransferMemo", QRect(32, 16, 313, 41));
    TransferMemo_->setReadOnly(true);
    TransferMemo_->setAccessibleName(QStringLiteral("Übertragung"));
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::Monospace);
    courier.setPixelSize(13);
    TransferMemo_->setFont(courier);
    TransferMemo_->setPlainText(QStringLiteral("TransferMemo"));
}

void TZMTCom::connectEngine() {
    connect(&engine_, &link::TransferEngine::memoCleared, TransferMemo_, &QPlainTextEdit::clear);
    connect(&engine_, &link::TransferEngine::memoLineAdded, TransferMemo_,
            &QPlainTextEdit::appendPlainText);
    connect(&engine_, &link::TransferEngine::progressChanged, Gauge1_, &QProgressBar::setValue);
    connect(&engine_, &link::TransferEngine::exchangeEnded, this, &TZMTCom::EndOfExchange);
    connect(&engine_, &link::TransferEngine::started, this, [this] {
        show();
        raise();
    });
}

void TZMTCom::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormPaint();
}

void TZMTCom::FormPaint() {
    QPalette palette = TransferMemo_->palette();
    palette.setColor(QPalette::Base, this->palette().color(QPalette::Base));
    TransferMemo_->setPalette(palette);
}

void TZMTCom::closeEvent(QCloseEvent* event) {
    if (engine_.Running()) {
        // Cutting an exchange short could leave half a write frame in the meter.
        event->ignore();
        return;
    }
    engine_.ClosePort();
    event->accept();
}

void TZMTCom::EndOfExchange() {
    if (isVisible()) close();
}

}  // namespace zmt

#include "moc_ZMTCOMU1.cpp"
