// BEEP's tone through the sound system, or the display's bell.
#pragma once

#include "platform/sound.h"

namespace vell::qt {

// Plays a generated sine through the default audio output when there is
// one; otherwise rings the display's bell (nothing on a display without one).
// Needs a QApplication; never waits for the tone.
class BeepOutput final : public sound::SoundOutput {
 public:
  void Beep(int frequencyHz, int durationMs) override;
};

}  // namespace vell::qt
