#include "platform/sound.h"

namespace vell::sound {
namespace {

class Silence final : public SoundOutput {
 public:
  void Beep(int, int) override {}
};

SoundOutput* installed = nullptr;

}  // namespace

SoundOutput& CurrentSoundOutput() {
  static Silence silence;
  return installed != nullptr ? *installed : silence;
}

SoundOutput* SetSoundOutput(SoundOutput* output) {
  SoundOutput* previous = installed;
  installed = output;
  return previous;
}

}  // namespace vell::sound
