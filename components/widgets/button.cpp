// The BUTTON component, made of the button control.
#include "components/widgets/button.h"

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/member_values.h"
#include "components/widgets/simple_controls.h"
#include "components/widgets/vell_button.h"
#include "core/codes.h"
#include "core/vellvar.h"
#include "platform/qt/utf16_qstring.h"

namespace vell::widgets {

namespace {

// TVellButton's raised style (BUTTONSTYLE 0).
constexpr int kRaisedButtonStyle = 0;

}  // namespace

bool SetButtonMember(TVellButton& button, int32_t member, const vellvar& arg) {
  const int32_t v = arg.ToInt();
  switch (member) {
    case MemberButtonStyle:
      button.SetButtonStyle(v);
      // The raised style takes the button-face colour; the others keep theirs.
      if (v == kRaisedButtonStyle) SetControlColor(&button, kButtonFaceColor);
      return true;
    case MemberCaption:
      button.SetCaption(qt::ToQString(Text(arg)));
      return true;
    case MemberMargin:
      button.SetMargin(v);
      return true;
    case MemberHeight:
      button.SetHeight(v);
      return true;
    case MemberWidth:
      button.SetWidth(v);
      return true;
    default:
      return false;
  }
}

bool GetButtonMember(TVellButton& button, int32_t member, vellvar& result) {
  switch (member) {
    case MemberButtonStyle:
      Put(result, button.GetButtonStyle());
      return true;
    case MemberCaption:
      Put(result, qt::Utf16View(button.GetCaption()));
      return true;
    case MemberMargin:
      Put(result, button.GetMargin());
      return true;
    case MemberHeight:
      Put(result, button.GetHeight());
      return true;
    case MemberWidth:
      Put(result, button.GetWidth());
      return true;
    default:
      return false;
  }
}

}  // namespace vell::widgets

namespace vell {

namespace {

void SetUpNewButton(TVellButton& button) {
  button.SetCaption(QString::fromUtf16(widgets::kButtonCaption));
  button.SetHeight(widgets::kButtonHeight);
  button.SetWidth(widgets::kButtonWidth);
}

QObject* CreateButton(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new TVellButton(defaultParent);
  SetUpNewButton(*control);
  ShowNewControl(control);
  return control;
}

int SetOwn(MemberCall& call) {
  widgets::SetButtonMember(*call.As<TVellButton>(), call.member, call.args[0]);
  return 1;
}

bool GetOwn(MemberCall& call) {
  widgets::GetButtonMember(*call.As<TVellButton>(), call.member, call.result);
  return true;
}

// HEIGHT and WIDTH go through the control, which sizes its face and cuts
// the caption anew.
constexpr MemberBinding kOwn[] = {
    {MemberButtonStyle, SetOwn, GetOwn}, {MemberCaption, SetOwn, GetOwn},
    {MemberMargin, SetOwn, GetOwn},      {MemberHeight, SetOwn, GetOwn},
    {MemberWidth, SetOwn, GetOwn},
};

}  // namespace

const ComponentType& ButtonType() {
  static const ComponentType type{
      TypeButton, CreateButton, DeleteRule::Control, nullptr, {kOwn, CommonMembers()}};
  return type;
}

}  // namespace vell
