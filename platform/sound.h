// The beep of BEEP.
#pragma once

namespace vell::sound {

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  // A tone of the given pitch and length. Returns without waiting for the
  // tone to end (at most a short moment), and never hangs on a busy or
  // missing device.
  virtual void Beep(int frequencyHz, int durationMs) = 0;
};

// The output in use: the installed one, or one that stays silent (no sound
// system without a window).
SoundOutput& CurrentSoundOutput();
// Installs an output that outlives every later use (null: the silent one);
// returns the one installed before.
SoundOutput* SetSoundOutput(SoundOutput* output);

}  // namespace vell::sound
