#pragma once

#include <memory>

namespace zmt {

class EventSound;

// The warning sound: the desktop's "bell" event sound, or the toolkit's beep where that
// cannot be played. Every beep of the program goes through here so that tests can count them.
void Beep();

// Number of beeps since the process started.
int BeepCount();
// How many of them the toolkit's beep sounded because the event sound was unavailable.
int FallbackBeepCount();

// The sound that Beep plays; null: the toolkit's beep only (the tests' choice, which
// cannot hear). Returns the one it replaces.
std::shared_ptr<EventSound> SetBeepSound(std::shared_ptr<EventSound> sound);

// The result of a unit of a series: the desktop's "complete" sound for a pass, its
// "dialog-error" for a failure, or the toolkit's beep where that cannot be played.
void ResultSound(bool passed);
// Number of result sounds of each kind since the process started.
int ResultSoundCount(bool passed);

// The sounds that ResultSound plays; null: the toolkit's beep only (the tests' choice).
void SetResultSounds(std::shared_ptr<EventSound> pass, std::shared_ptr<EventSound> failure);

}  // namespace zmt
