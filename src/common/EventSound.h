#pragma once

#include <QByteArray>

struct ca_context;

namespace zmt {

// One of the desktop's event sounds (the freedesktop sound theme's "bell" by default),
// played through libcanberra by the desktop's sound system. The toolkit's own beep is
// silent on Wayland and on many X11 desktops; this one is what the desktop plays for its
// own warnings. Where there is no sound system, no driver or no such sound, Play() reports
// false, then and from then on without trying again, and the caller beeps another way.
class EventSound {
  public:
    explicit EventSound(QByteArray eventId = "bell", QByteArray description = "Warning");
    ~EventSound();
    EventSound(const EventSound&) = delete;
    EventSound& operator=(const EventSound&) = delete;

    // Starts the sound and returns at once; false when it cannot be played.
    bool Play();
    bool available() const { return !failed_; }

  private:
    bool Open();
    bool Fail();

    QByteArray eventId_;
    QByteArray description_;
    ca_context* context_ = nullptr;
    bool failed_ = false;
};

}  // namespace zmt
