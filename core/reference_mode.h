// The reference mode: every text is read by the plain path, token by token
// from its characters, and every shortcut the interpreter keeps to go faster
// is left out (the lexer's memory of a text's tokens and what it learnt
// about them, the SUB texts made once, the nodes' position and key indexes,
// and any such memory added later). A program must see exactly the same in
// both modes; the differential test runs programs both ways and compares.
//
// Set by the environment variable VELL_REFERENCE (any value but "" and "0"),
// read once when the process starts; tests may switch it between runs.
#pragma once

namespace vell {

namespace detail {
extern bool gReferenceMode;
}  // namespace detail

// True while every cache and index is to be left out.
inline bool ReferenceMode() { return detail::gReferenceMode; }

// Switches the mode; only between runs, never while a text runs (what was
// remembered in the other mode would be taken up again midway).
void SetReferenceMode(bool on);

}  // namespace vell
