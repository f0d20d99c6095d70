#pragma once

#include "series/SeriesMeter.h"
#include "session/MeterSession.h"

#include <memory>

namespace zmt {

// The series' meter over a session on its port.
class SessionMeter : public SeriesMeter {
  public:
    explicit SessionMeter(std::unique_ptr<MeterSession> session) : session_(std::move(session)) {}

    MeterSession& session() { return *session_; }

    QStringList PowerForProbe() override { return session_->PowerForProbe(); }
    QStringList SendProbeByte(std::uint8_t byte) override { return session_->SendProbeByte(byte); }
    std::vector<std::uint8_t> TakeProbeAnswer() override { return session_->TakeProbeAnswer(); }
    void StartOperation(OperationMode mode) override { session_->StartOperation(mode); }
    OperationSequencer& steps() override { return session_->steps(); }
    bool Settled() const override { return session_->Settled(); }
    bool Writing() const override { return session_->Writing(); }
    void Release() override { session_->Close(); }
    void setChangeListener(std::function<void()> listener) override {
        session_->setChangeListener(std::move(listener));
    }

  private:
    std::unique_ptr<MeterSession> session_;
};

}  // namespace zmt
