// The BUTTON component, made of the button control. HEIGHT and WIDTH go
// through the control, which sizes its face and cuts the caption anew.
#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/simple_controls.h"
#include "components/widgets/vell_button.h"

namespace vell {

namespace {

using widgets::TVellButton;

// TVellButton's raised style (BUTTONSTYLE 0).
constexpr int kRaisedButtonStyle = 0;

QObject* CreateButton(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new TVellButton(defaultParent);
  control->SetCaption(QString::fromUtf16(widgets::kButtonCaption));
  control->SetHeight(widgets::kButtonHeight);
  control->SetWidth(widgets::kButtonWidth);
  ShowNewControl(control);
  return control;
}

TVellButton* ButtonOf(MemberCall& call) { return call.As<TVellButton>(); }

int SetButtonStyle(MemberCall& call) {
  const int32_t style = call.IntArg();
  ButtonOf(call)->SetButtonStyle(style);
  // The raised style takes the button-face colour; the others keep theirs.
  if (style == kRaisedButtonStyle) SetControlColor(ButtonOf(call), kButtonFaceColor);
  return 1;
}
bool GetButtonStyle(MemberCall& call) {
  call.result = vellvar(ButtonOf(call)->GetButtonStyle());
  return true;
}

// The whole caption is kept; the face shows what fits.
int SetCaption(MemberCall& call) {
  ButtonOf(call)->SetCaption(call.TextArg());
  return 1;
}
bool GetCaption(MemberCall& call) {
  call.result = MemberCall::Text(ButtonOf(call)->GetCaption());
  return true;
}

int SetMargin(MemberCall& call) {
  ButtonOf(call)->SetMargin(call.IntArg());
  return 1;
}
bool GetMargin(MemberCall& call) {
  call.result = vellvar(ButtonOf(call)->GetMargin());
  return true;
}

int SetHeight(MemberCall& call) {
  ButtonOf(call)->SetHeight(call.IntArg());
  return 1;
}
bool GetHeight(MemberCall& call) {
  call.result = vellvar(ButtonOf(call)->GetHeight());
  return true;
}

int SetWidth(MemberCall& call) {
  ButtonOf(call)->SetWidth(call.IntArg());
  return 1;
}
bool GetWidth(MemberCall& call) {
  call.result = vellvar(ButtonOf(call)->GetWidth());
  return true;
}

constexpr MemberBinding kButtonMembers[] = {
    {MemberButtonStyle, SetButtonStyle, GetButtonStyle},
    {MemberCaption, SetCaption, GetCaption},
    {MemberMargin, SetMargin, GetMargin},
    {MemberHeight, SetHeight, GetHeight},
    {MemberWidth, SetWidth, GetWidth},
};

}  // namespace

const ComponentType& ButtonType() {
  static const ComponentType type{
      TypeButton, CreateButton, DeleteRule::Control, nullptr, {kButtonMembers, CommonMembers()}};
  return type;
}

}  // namespace vell
