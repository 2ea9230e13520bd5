// The TIMER component: enabled and at 1000 ms when made; an interval of 0
// or less does not tick. Its ticks run the ONTIMER SUB once it is bound.
#include <QPointer>
#include <QTimer>

#include "components/widgets/common_members.h"
#include "components/widgets/component_events.h"
#include "components/widgets/component_table.h"

namespace vell {

namespace {

class ProgramTimer : public QTimer {
 public:
  explicit ProgramTimer(mwin& table) : table_(table) {
    setTimerType(Qt::PreciseTimer);
    connect(this, &QTimer::timeout, this, &ProgramTimer::Tick);
    Apply();
  }

  bool enabled = true;
  int interval = 1000;  // as the program set it
  bool bound = false;   // ONTIMER was set

  // Runs or stops the timer as ENABLED and INTERVAL say.
  void Apply() {
    if (enabled && interval > 0) {
      if (!isActive() || QTimer::interval() != interval) start(interval);
    } else {
      stop();
    }
  }

 private:
  // A tick that comes while the SUB of an earlier tick still runs (its
  // statements process the window's events) is skipped: ticks never nest.
  void Tick() {
    if (!bound || running_) return;
    running_ = true;
    const QPointer<ProgramTimer> self(this);
    RunComponentEvent(table_, this, ComponentEvent::Timer);
    if (self) running_ = false;
  }

  mwin& table_;
  bool running_ = false;
};

QObject* CreateTimer(mwin& table, QWidget* /*defaultParent*/) { return new ProgramTimer(table); }

ProgramTimer* TimerOf(MemberCall& call) { return static_cast<ProgramTimer*>(call.object); }

int SetEnabled(MemberCall& call) {
  TimerOf(call)->enabled = call.IntArg() != 0;
  TimerOf(call)->Apply();
  return 1;
}

bool GetEnabled(MemberCall& call) {
  call.result = vellvar(TimerOf(call)->enabled ? 1 : 0);
  return true;
}

int SetInterval(MemberCall& call) {
  TimerOf(call)->interval = call.IntArg();
  TimerOf(call)->Apply();
  return 1;
}

bool GetInterval(MemberCall& call) {
  call.result = vellvar(TimerOf(call)->interval);
  return true;
}

int SetOnTimer(MemberCall& call) {
  call.Component().onTimer = vellvar(WideString(call.args[0]));
  TimerOf(call)->bound = true;
  return 1;
}

constexpr MemberBinding kTimerMembers[] = {
    {MemberEnabled, SetEnabled, GetEnabled},
    {MemberInterval, SetInterval, GetInterval},
    {MemberOnTimer, SetOnTimer, nullptr},
};

}  // namespace

const ComponentType& TimerType() {
  static const ComponentType type{
      TypeTimer, CreateTimer, DeleteRule::Plain, nullptr, {kTimerMembers, CommonMembers()}};
  return type;
}

}  // namespace vell
