// What BUTTON, LABEL, CHECKBOX and RADIOBUTTON components are at creation, and
// the one behaviour of their own beyond Qt's widgets.
#pragma once

class QAbstractButton;

namespace vell::widgets {

// Captions of new controls.
inline constexpr char16_t kButtonCaption[] = u"Button";
inline constexpr char16_t kLabelCaption[] = u"Label";
inline constexpr char16_t kCheckBoxCaption[] = u"CheckBox";
inline constexpr char16_t kRadioButtonCaption[] = u"RadioButton";
// A new BUTTON's size.
inline constexpr int kButtonWidth = 75;
inline constexpr int kButtonHeight = 25;

// Checks or unchecks a check box or radio button from a program. A checked
// radio button unchecks the others of its parent; unchecking it leaves all
// of them unchecked (Qt's exclusivity would refuse that, so it is off
// around the change).
void SetButtonChecked(QAbstractButton& button, bool checked);

// Makes a radio button, once checked by a program or the user, uncheck every
// other radio button of its parent: Qt's exclusivity unchecks only one,
// where a radio button moved in from another parent can have left two.
void UncheckOthersWhenChecked(QAbstractButton& radio);

}  // namespace vell::widgets
