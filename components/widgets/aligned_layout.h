// Aligned controls: a control whose ALIGN is top, bottom, left, right or
// client is placed against its parent's edge, or fills what is left, every
// time the parent is resized, in the order top, bottom, left, right, client.
#pragma once

#include <cstdint>

class QWidget;

namespace vell {

enum class Alignment : int32_t {
  None = 0,
  Top = 1,
  Bottom = 2,
  Left = 3,
  Right = 4,
  Client = 5,
  Custom = 6
};

// The alignment a program gave the control (the low 8 bits of its ALIGN; 0
// when never set). Ordinals beyond Custom are kept and place nothing.
int32_t AlignmentOf(const QWidget* control);
// Stores the alignment and places the parent's aligned children at once;
// from then on the parent places them on each resize.
void SetAlignment(QWidget* control, int32_t alignment);
// Places the aligned children of the parent now (after a child moved, was
// shown or hidden or changed parents).
void LayOutAlignedChildren(QWidget* parent);
// The same after the parent itself was resized, for a parent that has held
// aligned children (a hidden parent gets no resize events until shown).
void ParentResized(QWidget* parent);

}  // namespace vell
