// The component types and their members, listed once. Everything that names
// a type or a member by its code is made from these lists: the codes
// themselves (codes.h), the member keywords, argument counts and each type's
// member table (components/keywords/component_node.cpp), and the types the
// component table hands requests to (components/widgets/component_table.cpp).
//
// Each list is an X-macro: give it the name of a macro that takes the fields
// of one row, and it expands that macro once per row, in the list's order.
// To add a member: a row in VELL_MEMBER_LIST, its name in the lists of the
// types that have it, and a binding in each of those types' files (the
// component table test checks that the two agree).
#pragma once

// clang-format off

// X(Name, code, keyword, arguments): the member code MemberName, the keyword
// programs write, and the number of arguments a call of it takes (1 for the
// properties and the events: the value written, the SUB's name). Properties
// first, then the methods, then the events, each group in alphabetical
// order; 43, 79, 80 and 106 to 110 are not assigned, and 81 and 82 are the
// create and delete operations, which have no keyword (codes.h).
#define VELL_MEMBER_LIST(X)                       \
  X(Align, 31, u"ALIGN", 1)                       \
  X(AutoSize, 32, u"AUTOSIZE", 1)                 \
  X(BorderStyle, 33, u"BORDERSTYLE", 1)           \
  X(ButtonStyle, 34, u"BUTTONSTYLE", 1)           \
  X(Caption, 35, u"CAPTION", 1)                   \
  X(Checked, 36, u"CHECKED", 1)                   \
  X(ClientHeight, 37, u"CLIENTHEIGHT", 1)         \
  X(ClientWidth, 38, u"CLIENTWIDTH", 1)           \
  X(Color, 39, u"COLOR", 1)                       \
  X(Cursor, 40, u"CURSOR", 1)                     \
  X(Enabled, 41, u"ENABLED", 1)                   \
  X(FileName, 42, u"FILENAME", 1)                 \
  X(FontBold, 44, u"FONTBOLD", 1)                 \
  X(FontColor, 45, u"FONTCOLOR", 1)               \
  X(FontItalic, 46, u"FONTITALIC", 1)             \
  X(FontName, 47, u"FONTNAME", 1)                 \
  X(FontSize, 48, u"FONTSIZE", 1)                 \
  X(FontStrikeOut, 49, u"FONTSTRIKEOUT", 1)       \
  X(FontUnderline, 50, u"FONTUNDERLINE", 1)       \
  X(Height, 51, u"HEIGHT", 1)                     \
  X(Interval, 52, u"INTERVAL", 1)                 \
  X(ItemIndex, 53, u"ITEMINDEX", 1)               \
  X(Items, 54, u"ITEMS", 1)                       \
  X(Kind, 55, u"KIND", 1)                         \
  X(Left, 56, u"LEFT", 1)                         \
  X(Margin, 57, u"MARGIN", 1)                     \
  X(Max, 58, u"MAX", 1)                           \
  X(Parent, 59, u"PARENT", 1)                     \
  X(PenSize, 60, u"PENSIZE", 1)                   \
  X(PenStyle, 61, u"PENSTYLE", 1)                 \
  X(Pixel, 62, u"PIXEL", 1)                       \
  X(Position, 63, u"POSITION", 1)                 \
  X(PosX, 64, u"POSX", 1)                         \
  X(PosY, 65, u"POSY", 1)                         \
  X(ReadOnly, 66, u"READONLY", 1)                 \
  X(ScrollBars, 67, u"SCROLLBARS", 1)             \
  X(SelLength, 68, u"SELLENGTH", 1)               \
  X(SelStart, 69, u"SELSTART", 1)                 \
  X(SelText, 70, u"SELTEXT", 1)                   \
  X(Stretch, 71, u"STRETCH", 1)                   \
  X(Text, 72, u"TEXT", 1)                         \
  X(Top, 73, u"TOP", 1)                           \
  X(Transparent, 74, u"TRANSPARENT", 1)           \
  X(Visible, 75, u"VISIBLE", 1)                   \
  X(WantReturns, 76, u"WANTRETURNS", 1)           \
  X(Width, 77, u"WIDTH", 1)                       \
  X(WindowState, 78, u"WINDOWSTATE", 1)           \
  X(Circle, 83, u"CIRCLE", 2)                     \
  X(Cls, 84, u"CLS", 0)                           \
  X(Copy, 85, u"COPY", 2)                         \
  X(Cross, 86, u"CROSS", 1)                       \
  X(Dark, 87, u"DARK", 3)                         \
  X(Execute, 88, u"EXECUTE", 0)                   \
  X(Fill, 89, u"FILL", 1)                         \
  X(Focus, 90, u"FOCUS", 0)                       \
  X(Line, 91, u"LINE", 2)                         \
  X(LoadFile, 92, u"LOADFILE", 1)                 \
  X(Merge, 93, u"MERGE", 0)                       \
  X(Paste, 94, u"PASTE", 0)                       \
  X(Play, 95, u"PLAY", 0)                         \
  X(Pos, 96, u"POS", 2)                           \
  /* PRINT takes a list of values, one request each */ \
  X(Print, 97, u"PRINT", 0)                       \
  X(Printer, 98, u"PRINTER", 0)                   \
  X(Rect, 99, u"RECT", 2)                         \
  X(RoundRect, 100, u"ROUNDRECT", 3)              \
  X(SaveFile, 101, u"SAVEFILE", 1)                \
  X(Show, 102, u"SHOW", 0)                        \
  X(Stop, 103, u"STOP", 0)                        \
  X(TextOut, 104, u"TEXTOUT", 1)                  \
  X(ZOrder, 105, u"ZORDER", 1)                    \
  X(OnClick, 111, u"ONCLICK", 1)                  \
  X(OnClose, 112, u"ONCLOSE", 1)                  \
  X(OnKey, 113, u"ONKEY", 1)                      \
  X(OnMouseDown, 114, u"ONMOUSEDOWN", 1)          \
  X(OnMouseMove, 115, u"ONMOUSEMOVE", 1)          \
  X(OnTimer, 116, u"ONTIMER", 1)

// The member tables of the types: M(Name) for each member, in the order in
// which a component node lists them (programs see it in #DB listings).
#define VELL_FONT_MEMBERS(M) \
  M(FontName) M(FontSize) M(FontColor) M(FontBold) M(FontItalic) M(FontUnderline) \
  M(FontStrikeOut)

#define VELL_FORM_MEMBERS(M)                                                       \
  M(Align) M(BorderStyle) M(Caption) M(ClientHeight) M(ClientWidth) M(Color)       \
  M(Cursor) M(Enabled) VELL_FONT_MEMBERS(M) M(Height) M(Left) M(Parent) M(Top)     \
  M(Visible) M(Width) M(WindowState) M(Focus) M(Printer) M(Show) M(ZOrder)         \
  M(OnClick) M(OnKey) M(OnClose)

#define VELL_BUTTON_MEMBERS(M)                                                     \
  M(Align) M(ButtonStyle) M(Caption) M(Color) M(Cursor) M(Enabled)                 \
  VELL_FONT_MEMBERS(M) M(Height) M(Left) M(Margin) M(Parent) M(Top) M(Visible)     \
  M(Width) M(ZOrder) M(OnClick)

#define VELL_LABEL_MEMBERS(M)                                                      \
  M(Align) M(Caption) M(Color) M(Cursor) M(Enabled) VELL_FONT_MEMBERS(M)           \
  M(Height) M(Left) M(Parent) M(Top) M(Visible) M(Width) M(ZOrder) M(OnClick)

#define VELL_TEXTBOX_MEMBERS(M)                                                    \
  M(Align) M(BorderStyle) M(Color) M(Cursor) M(Enabled) VELL_FONT_MEMBERS(M)       \
  M(Height) M(Left) M(Margin) M(Parent) M(ReadOnly) M(ScrollBars) M(SelLength)     \
  M(SelStart) M(SelText) M(Text) M(Top) M(Visible) M(WantReturns) M(Width)         \
  M(Focus) M(Print) M(Printer) M(LoadFile) M(SaveFile) M(ZOrder) M(OnClick)        \
  M(OnKey)

// Also the radio button's.
#define VELL_CHECKBOX_MEMBERS(M)                                                   \
  M(Align) M(Caption) M(Checked) M(Color) M(Cursor) M(Enabled)                     \
  VELL_FONT_MEMBERS(M) M(Height) M(Left) M(Parent) M(Top) M(Visible) M(Width)      \
  M(Focus) M(ZOrder) M(OnClick)

#define VELL_LISTBOX_MEMBERS(M)                                                    \
  M(Align) M(BorderStyle) M(Color) M(Cursor) M(Enabled) VELL_FONT_MEMBERS(M)       \
  M(Height) M(ItemIndex) M(Items) M(Left) M(Parent) M(Top) M(Visible) M(Width)     \
  M(Focus) M(ZOrder) M(OnClick)

#define VELL_COMBOBOX_MEMBERS(M)                                                   \
  M(Align) M(Color) M(Cursor) M(Enabled) VELL_FONT_MEMBERS(M) M(Height)            \
  M(ItemIndex) M(Items) M(Left) M(Parent) M(Text) M(Top) M(Visible) M(Width)       \
  M(Focus) M(ZOrder) M(OnClick) M(OnKey)

#define VELL_SCROLLBAR_MEMBERS(M)                                                  \
  M(Align) M(Cursor) M(Enabled) M(Height) M(Kind) M(Left) M(Max) M(Parent)         \
  M(Position) M(Top) M(Visible) M(Width) M(Focus) M(ZOrder) M(OnClick)

#define VELL_GROUPBOX_MEMBERS(M)                                                   \
  M(Align) M(Caption) M(Color) M(Cursor) M(Enabled) VELL_FONT_MEMBERS(M)           \
  M(Height) M(Left) M(Parent) M(Top) M(Visible) M(Width) M(Focus) M(ZOrder)        \
  M(OnClick)

#define VELL_IMAGE_MEMBERS(M)                                                      \
  M(Align) M(AutoSize) M(Color) M(Cursor) M(Enabled) VELL_FONT_MEMBERS(M)          \
  M(Height) M(Left) M(Parent) M(PenSize) M(PenStyle) M(Pixel) M(PosX) M(PosY)      \
  M(Stretch) M(Top) M(Transparent) M(Visible) M(Width) M(Cls) M(Pos) M(Line)       \
  M(Circle) M(Rect) M(RoundRect) M(Copy) M(Paste) M(Dark) M(Cross) M(Merge)        \
  M(Fill) M(TextOut) M(Focus) M(LoadFile) M(SaveFile) M(ZOrder) M(OnMouseDown)     \
  M(OnMouseMove)

#define VELL_PANEL_MEMBERS(M)                                                      \
  M(Align) M(BorderStyle) M(Caption) M(Color) M(Cursor) M(Enabled)                 \
  VELL_FONT_MEMBERS(M) M(Height) M(Left) M(Parent) M(Top) M(Visible) M(Width)      \
  M(Focus) M(ZOrder) M(OnClick)

#define VELL_TIMER_MEMBERS(M) M(Enabled) M(Interval) M(OnTimer)
#define VELL_MEDIAPLAYER_MEMBERS(M) M(FileName) M(Play) M(Stop)
// Also the save dialog's.
#define VELL_OPENDIALOG_MEMBERS(M) M(FileName) M(Execute)
#define VELL_PRINTERDIALOG_MEMBERS(M) M(Execute)

// X(Name, code, keyword, members): the type code TypeName, the keyword that
// names the type in CREATE and #COMPONENT, and its member table; the type's
// file defines NameType() (component_type.h). In code order, FORM first.
#define VELL_COMPONENT_TYPE_LIST(X)                                        \
  X(Form, 11, u"FORM", VELL_FORM_MEMBERS)                                  \
  X(Button, 12, u"BUTTON", VELL_BUTTON_MEMBERS)                            \
  X(Label, 13, u"LABEL", VELL_LABEL_MEMBERS)                               \
  X(TextBox, 14, u"TEXTBOX", VELL_TEXTBOX_MEMBERS)                         \
  X(CheckBox, 15, u"CHECKBOX", VELL_CHECKBOX_MEMBERS)                      \
  X(RadioButton, 16, u"RADIOBUTTON", VELL_CHECKBOX_MEMBERS)                \
  X(ListBox, 17, u"LISTBOX", VELL_LISTBOX_MEMBERS)                         \
  X(ComboBox, 18, u"COMBOBOX", VELL_COMBOBOX_MEMBERS)                      \
  X(ScrollBar, 19, u"SCROLLBAR", VELL_SCROLLBAR_MEMBERS)                   \
  X(GroupBox, 20, u"GROUPBOX", VELL_GROUPBOX_MEMBERS)                      \
  X(Image, 21, u"IMAGE", VELL_IMAGE_MEMBERS)                               \
  X(Panel, 22, u"PANEL", VELL_PANEL_MEMBERS)                               \
  X(Timer, 23, u"TIMER", VELL_TIMER_MEMBERS)                               \
  X(MediaPlayer, 24, u"MEDIAPLAYER", VELL_MEDIAPLAYER_MEMBERS)             \
  X(OpenDialog, 25, u"OPENDIALOG", VELL_OPENDIALOG_MEMBERS)                \
  X(SaveDialog, 26, u"SAVEDIALOG", VELL_OPENDIALOG_MEMBERS)                \
  X(PrinterDialog, 27, u"PRINTERDIALOG", VELL_PRINTERDIALOG_MEMBERS)

// clang-format on
