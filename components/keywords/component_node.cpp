#include "components/keywords/component_node.h"

#include <array>

namespace vell {

namespace {

struct MemberName {
  MemberCode code;
  std::u16string_view keyword;
};

constexpr MemberName kMemberNames[] = {
    {MemberAlign, u"ALIGN"},
    {MemberAutoSize, u"AUTOSIZE"},
    {MemberBorderStyle, u"BORDERSTYLE"},
    {MemberButtonStyle, u"BUTTONSTYLE"},
    {MemberCaption, u"CAPTION"},
    {MemberChecked, u"CHECKED"},
    {MemberClientHeight, u"CLIENTHEIGHT"},
    {MemberClientWidth, u"CLIENTWIDTH"},
    {MemberColor, u"COLOR"},
    {MemberCursor, u"CURSOR"},
    {MemberEnabled, u"ENABLED"},
    {MemberFileName, u"FILENAME"},
    {MemberFontBold, u"FONTBOLD"},
    {MemberFontColor, u"FONTCOLOR"},
    {MemberFontItalic, u"FONTITALIC"},
    {MemberFontName, u"FONTNAME"},
    {MemberFontSize, u"FONTSIZE"},
    {MemberFontStrikeOut, u"FONTSTRIKEOUT"},
    {MemberFontUnderline, u"FONTUNDERLINE"},
    {MemberHeight, u"HEIGHT"},
    {MemberInterval, u"INTERVAL"},
    {MemberItemIndex, u"ITEMINDEX"},
    {MemberItems, u"ITEMS"},
    {MemberKind, u"KIND"},
    {MemberLeft, u"LEFT"},
    {MemberMargin, u"MARGIN"},
    {MemberMax, u"MAX"},
    {MemberParent, u"PARENT"},
    {MemberPenSize, u"PENSIZE"},
    {MemberPenStyle, u"PENSTYLE"},
    {MemberPixel, u"PIXEL"},
    {MemberPosition, u"POSITION"},
    {MemberPosX, u"POSX"},
    {MemberPosY, u"POSY"},
    {MemberReadOnly, u"READONLY"},
    {MemberScrollBars, u"SCROLLBARS"},
    {MemberSelLength, u"SELLENGTH"},
    {MemberSelStart, u"SELSTART"},
    {MemberSelText, u"SELTEXT"},
    {MemberStretch, u"STRETCH"},
    {MemberText, u"TEXT"},
    {MemberTop, u"TOP"},
    {MemberTransparent, u"TRANSPARENT"},
    {MemberVisible, u"VISIBLE"},
    {MemberWantReturns, u"WANTRETURNS"},
    {MemberWidth, u"WIDTH"},
    {MemberWindowState, u"WINDOWSTATE"},
    {MemberCircle, u"CIRCLE"},
    {MemberCls, u"CLS"},
    {MemberCopy, u"COPY"},
    {MemberCross, u"CROSS"},
    {MemberDark, u"DARK"},
    {MemberExecute, u"EXECUTE"},
    {MemberFill, u"FILL"},
    {MemberFocus, u"FOCUS"},
    {MemberLine, u"LINE"},
    {MemberLoadFile, u"LOADFILE"},
    {MemberMerge, u"MERGE"},
    {MemberPaste, u"PASTE"},
    {MemberPlay, u"PLAY"},
    {MemberPos, u"POS"},
    {MemberPrint, u"PRINT"},
    {MemberPrinter, u"PRINTER"},
    {MemberRect, u"RECT"},
    {MemberRoundRect, u"ROUNDRECT"},
    {MemberSaveFile, u"SAVEFILE"},
    {MemberShow, u"SHOW"},
    {MemberStop, u"STOP"},
    {MemberTextOut, u"TEXTOUT"},
    {MemberZOrder, u"ZORDER"},
    {MemberOnClick, u"ONCLICK"},
    {MemberOnClose, u"ONCLOSE"},
    {MemberOnKey, u"ONKEY"},
    {MemberOnMouseDown, u"ONMOUSEDOWN"},
    {MemberOnMouseMove, u"ONMOUSEMOVE"},
    {MemberOnTimer, u"ONTIMER"},
};

// Member keywords indexed by code.
constexpr int kMemberCodeLimit = kLastEventMember + 1;
constexpr auto kKeywordByCode = [] {
  std::array<std::u16string_view, kMemberCodeLimit> table{};
  for (const MemberName& m : kMemberNames) table[m.code] = m.keyword;
  return table;
}();

// The font members every styled control shares, in table order.
#define VELL_FONT_MEMBERS                                                            \
  MemberFontName, MemberFontSize, MemberFontColor, MemberFontBold, MemberFontItalic, \
      MemberFontUnderline, MemberFontStrikeOut

constexpr MemberCode kFormMembers[] = {
    MemberAlign,       MemberBorderStyle, MemberCaption, MemberClientHeight, MemberClientWidth,
    MemberColor,       MemberCursor,      MemberEnabled, VELL_FONT_MEMBERS,  MemberHeight,
    MemberLeft,        MemberParent,      MemberTop,     MemberVisible,      MemberWidth,
    MemberWindowState, MemberFocus,       MemberPrinter, MemberShow,         MemberZOrder,
    MemberOnClick,     MemberOnKey,       MemberOnClose};
constexpr MemberCode kButtonMembers[] = {
    MemberAlign,       MemberButtonStyle, MemberCaption, MemberColor,  MemberCursor, MemberEnabled,
    VELL_FONT_MEMBERS, MemberHeight,      MemberLeft,    MemberMargin, MemberParent, MemberTop,
    MemberVisible,     MemberWidth,       MemberZOrder,  MemberOnClick};
constexpr MemberCode kLabelMembers[] = {
    MemberAlign,       MemberCaption, MemberColor,  MemberCursor, MemberEnabled,
    VELL_FONT_MEMBERS, MemberHeight,  MemberLeft,   MemberParent, MemberTop,
    MemberVisible,     MemberWidth,   MemberZOrder, MemberOnClick};
constexpr MemberCode kTextBoxMembers[] = {
    MemberAlign,       MemberBorderStyle, MemberColor,     MemberCursor,      MemberEnabled,
    VELL_FONT_MEMBERS, MemberHeight,      MemberLeft,      MemberMargin,      MemberParent,
    MemberReadOnly,    MemberScrollBars,  MemberSelLength, MemberSelStart,    MemberSelText,
    MemberText,        MemberTop,         MemberVisible,   MemberWantReturns, MemberWidth,
    MemberFocus,       MemberPrint,       MemberPrinter,   MemberLoadFile,    MemberSaveFile,
    MemberZOrder,      MemberOnClick,     MemberOnKey};
constexpr MemberCode kCheckBoxMembers[] = {
    MemberAlign,       MemberCaption, MemberChecked, MemberColor,  MemberCursor, MemberEnabled,
    VELL_FONT_MEMBERS, MemberHeight,  MemberLeft,    MemberParent, MemberTop,    MemberVisible,
    MemberWidth,       MemberFocus,   MemberZOrder,  MemberOnClick};
constexpr MemberCode kListBoxMembers[] = {
    MemberAlign,   MemberBorderStyle, MemberColor, MemberCursor, MemberEnabled, VELL_FONT_MEMBERS,
    MemberHeight,  MemberItemIndex,   MemberItems, MemberLeft,   MemberParent,  MemberTop,
    MemberVisible, MemberWidth,       MemberFocus, MemberZOrder, MemberOnClick};
constexpr MemberCode kComboBoxMembers[] = {
    MemberAlign,     MemberColor, MemberCursor, MemberEnabled, VELL_FONT_MEMBERS, MemberHeight,
    MemberItemIndex, MemberItems, MemberLeft,   MemberParent,  MemberText,        MemberTop,
    MemberVisible,   MemberWidth, MemberFocus,  MemberZOrder,  MemberOnClick,     MemberOnKey};
constexpr MemberCode kScrollBarMembers[] = {
    MemberAlign,   MemberCursor, MemberEnabled, MemberHeight,   MemberKind,
    MemberLeft,    MemberMax,    MemberParent,  MemberPosition, MemberTop,
    MemberVisible, MemberWidth,  MemberFocus,   MemberZOrder,   MemberOnClick};
constexpr MemberCode kGroupBoxMembers[] = {
    MemberAlign,       MemberCaption, MemberColor, MemberCursor, MemberEnabled,
    VELL_FONT_MEMBERS, MemberHeight,  MemberLeft,  MemberParent, MemberTop,
    MemberVisible,     MemberWidth,   MemberFocus, MemberZOrder, MemberOnClick};
constexpr MemberCode kImageMembers[] = {
    MemberAlign,       MemberAutoSize,    MemberColor,      MemberCursor,   MemberEnabled,
    VELL_FONT_MEMBERS, MemberHeight,      MemberLeft,       MemberParent,   MemberPenSize,
    MemberPenStyle,    MemberPixel,       MemberPosX,       MemberPosY,     MemberStretch,
    MemberTop,         MemberTransparent, MemberVisible,    MemberWidth,    MemberCls,
    MemberPos,         MemberLine,        MemberCircle,     MemberRect,     MemberRoundRect,
    MemberCopy,        MemberPaste,       MemberDark,       MemberCross,    MemberMerge,
    MemberFill,        MemberTextOut,     MemberFocus,      MemberLoadFile, MemberSaveFile,
    MemberZOrder,      MemberOnMouseDown, MemberOnMouseMove};
constexpr MemberCode kPanelMembers[] = {
    MemberAlign,       MemberBorderStyle, MemberCaption, MemberColor,  MemberCursor, MemberEnabled,
    VELL_FONT_MEMBERS, MemberHeight,      MemberLeft,    MemberParent, MemberTop,    MemberVisible,
    MemberWidth,       MemberFocus,       MemberZOrder,  MemberOnClick};
constexpr MemberCode kTimerMembers[] = {MemberEnabled, MemberInterval, MemberOnTimer};
constexpr MemberCode kMediaPlayerMembers[] = {MemberFileName, MemberPlay, MemberStop};
constexpr MemberCode kFileDialogMembers[] = {MemberFileName, MemberExecute};
constexpr MemberCode kPrinterDialogMembers[] = {MemberExecute};

#undef VELL_FONT_MEMBERS

struct TypeEntry {
  std::u16string_view keyword;
  std::span<const MemberCode> members;
};

// Indexed by type code minus kFirstComponentType.
constexpr TypeEntry kTypes[] = {
    {u"FORM", kFormMembers},
    {u"BUTTON", kButtonMembers},
    {u"LABEL", kLabelMembers},
    {u"TEXTBOX", kTextBoxMembers},
    {u"CHECKBOX", kCheckBoxMembers},
    {u"RADIOBUTTON", kCheckBoxMembers},  // the same members as CHECKBOX
    {u"LISTBOX", kListBoxMembers},
    {u"COMBOBOX", kComboBoxMembers},
    {u"SCROLLBAR", kScrollBarMembers},
    {u"GROUPBOX", kGroupBoxMembers},
    {u"IMAGE", kImageMembers},
    {u"PANEL", kPanelMembers},
    {u"TIMER", kTimerMembers},
    {u"MEDIAPLAYER", kMediaPlayerMembers},
    {u"OPENDIALOG", kFileDialogMembers},
    {u"SAVEDIALOG", kFileDialogMembers},
    {u"PRINTERDIALOG", kPrinterDialogMembers},
};
static_assert(std::size(kTypes) == kLastComponentType - kFirstComponentType + 1);

const TypeEntry* FindType(int32_t typeCode) {
  if (typeCode < kFirstComponentType || typeCode > kLastComponentType) return nullptr;
  return &kTypes[typeCode - kFirstComponentType];
}

}  // namespace

std::u16string_view ComponentTypeKeyword(int32_t typeCode) {
  const TypeEntry* t = FindType(typeCode);
  return t != nullptr ? t->keyword : std::u16string_view();
}

std::span<const MemberCode> ComponentMembers(int32_t typeCode) {
  const TypeEntry* t = FindType(typeCode);
  return t != nullptr ? t->members : std::span<const MemberCode>();
}

std::u16string_view MemberKeyword(int32_t memberCode) {
  if (memberCode < 0 || memberCode >= kMemberCodeLimit) return {};
  return kKeywordByCode[memberCode];
}

int BuildComponentNode(ExecContext& ctx, std::u16string_view typeName) {
  vellarray& node = ctx.node;
  node.Clear();
  for (int32_t code = kFirstComponentType; code <= kLastComponentType; ++code) {
    const TypeEntry& type = kTypes[code - kFirstComponentType];
    if (type.keyword != typeName) continue;
    node.kind = code;
    node.item = 0;
    for (const MemberCode member : type.members) {
      vellarray* child = node.AppendNamed(vellvar(kKeywordByCode[member]));
      child->kind = member;
    }
    return code;
  }
  return TypeNone;
}

int MemberArgumentCount(int32_t memberCode) {
  switch (memberCode) {
    case MemberDark:
    case MemberRoundRect:
      return 3;
    case MemberCircle:
    case MemberCopy:
    case MemberLine:
    case MemberPos:
    case MemberRect:
      return 2;
    case MemberCls:
    case MemberExecute:
    case MemberFocus:
    case MemberMerge:
    case MemberPaste:
    case MemberPlay:
    case MemberPrint:
    case MemberPrinter:
    case MemberShow:
    case MemberStop:
      return 0;
    default:
      return 1;
  }
}

}  // namespace vell
