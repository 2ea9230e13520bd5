// The MEDIAPLAYER component.
#include <QWidget>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"

namespace vell {

namespace {

// For now a hidden control.
QObject* CreateMediaPlayer(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new QWidget(defaultParent);
  control->hide();
  return control;
}

}  // namespace

const ComponentType& MediaPlayerType() {
  static const ComponentType type{
      TypeMediaPlayer, CreateMediaPlayer, DeleteRule::Plain, nullptr, {CommonMembers()}};
  return type;
}

}  // namespace vell
