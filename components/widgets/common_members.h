// The members that every control shares: position and size, VISIBLE and
// ENABLED, colours, fonts, cursor, FOCUS, PARENT, ALIGN, ZORDER, CAPTION as
// the control's text, and the event members. Each type lists CommonMembers()
// after its own bindings, so a type's own row for a code wins.
//
// Colours are 0x00BBGGRR; the system colours (high byte 0xFF, the low byte
// the index of a Windows system colour) take the colour of the matching role
// of the running style's palette. The value a program set for a colour, the
// cursor and ALIGN is kept with the object and read back as it was set;
// it takes effect only through a range-checked table.
#pragma once

#include <QColor>
#include <cstdint>
#include <optional>
#include <span>

#include "components/widgets/component_table.h"

class QWidget;

namespace vell {

std::span<const MemberBinding> CommonMembers();

// A colour value as a colour: 0x00BBGGRR, or a system colour through the
// palette of the running style; none for a system colour outside the table.
std::optional<QColor> ColorOfValue(int32_t value);

// System colours as COLOR and FONTCOLOR read them: the button face, the
// background of windows and text boxes, and the text in them. A control that
// a program never gave a colour reads the system colour it starts with.
constexpr int32_t kButtonFaceColor = static_cast<int32_t>(0xFF00000Fu);
constexpr int32_t kWindowColor = static_cast<int32_t>(0xFF000005u);
constexpr int32_t kWindowTextColor = static_cast<int32_t>(0xFF000008u);
// Sets a control's colour as COLOR does: kept for reading back, shown
// through ColorOfValue.
void SetControlColor(QWidget* widget, int32_t value);

// The Qt cursor shape of a cursor code (0 the default, negative the
// predefined shapes); none for 0 and for a code outside the table.
std::optional<Qt::CursorShape> CursorOfCode(int32_t code);

// Sets a control's cursor code as CURSOR does (kept for reading back, the
// shape applied through the table); for a type's creation defaults.
constexpr int32_t kArrowCursorCode = -2;
void SetCursorCode(QWidget* widget, int32_t code);

// Whether a component of the type has a window of its own, so that it can
// hold other controls (PARENT) and be stacked (ZORDER).
bool IsWindowedType(int32_t type);

// Puts a control into another parent as PARENT does: where it stood, shown
// or hidden as it was, aligned anew where it is aligned.
void MoveControl(QWidget* control, QWidget* parent);

// Common member steps that types with members of their own reuse.
int SetEventName(MemberCall& call, ComponentEvent event);

}  // namespace vell
