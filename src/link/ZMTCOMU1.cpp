#include "ZMTCOMU1.h"
#include "MakeWidget.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>

namespace zmt {

namespace {

const QColor kLightYellow(255, 255, 128);  // the form's colour 8454143

}  // namespace

// Loading DTR and RTS as off means that every open drives both lines low: the meter
// stays unpowered until someone asks for power.
std::unique_ptr<link::TSpComPort> TZMTCom::MakeRS232(link::PlatformDeviceFactory factory) {
    auto port =
        std::make_unique<link::TSpComPort>(nullptr, QStringLiteral("RS232"), std::move(factory));
    port->setBaudRate(link::br9600);
    port->setComNumber(1);
    port->setDTR(false);
    port->setRTS(false);
    port->setEventThreadPriority(link::tpHighest);
    port->setWriteThreadPriority(link::tpHigher);
    port->Loaded();
    return port;
}

TZMTCom::TZMTCom(TransferState& state, std::unique_ptr<link::TSpComPort> rs232, QWidget* parent)
    : QWidget(parent), RS232_(std::move(rs232)), port_(*RS232_), engine_(state, port_) {
    setObjectName(QStringLiteral("ZMTCom"));
    RS232_->OnDataRecived = [this](link::TSpComPort*, int) { engine_.RS232DataRecived(); };
    buildControls();
    connectEngine();
}

TZMTCom::~TZMTCom() {
    RS232_->Close();
    RS232_->OnDataRecived = nullptr;
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
}

void TZMTCom::setPortLinesHook(link::TransferEngine::PortLinesHook hook) {
    engine_.setPortLinesHook(std::move(hook));
}

void TZMTCom::Show() {
    show();
    raise();
}

void TZMTCom::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormPaint();
}

void TZMTCom::FormPaint() {
    QPalette palette = TransferMemo_->palette();
    palette.setColor(QPalette::Base, this->palette().color(QPalette::Base));
    TransferMemo_->setPalette(palette);
    engine_.Start();
}

void TZMTCom::closeEvent(QCloseEvent* event) {
    if (engine_.Running()) {
        // Cutting an exchange short could leave half a write frame in the meter.
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TZMTCom::FormClose() {
    try {
        RS232_->Close();
    } catch (const std::exception&) {
    }
}

void TZMTCom::EndOfExchange() {
    if (isVisible())
        close();
    else
        FormClose();
    emit transferEnded();
}

}  // namespace zmt
