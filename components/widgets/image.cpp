// The IMAGE component: a drawing surface (image_control.h) and its members.
// The members that every control shares (position, cursor, PARENT, the
// mouse events, ...) come from the common bindings; the ones here are the
// image's own, including COLOR and the font members (they act on the drawing
// pen and font), HEIGHT and WIDTH (they size the bitmap too) and ZORDER.
#include <QFile>
#include <QImage>
#include <optional>
#include <string>

#include "components/widgets/common_members.h"
#include "components/widgets/component_table.h"
#include "components/widgets/image_control.h"
#include "platform/paths.h"

namespace vell {

namespace {

ImageControl* Image(MemberCall& call) { return call.As<ImageControl>(); }

// The scratch image of COPY, PASTE, CROSS and MERGE.
QImage& Scratch(MemberCall& call) {
  static QImage none;
  QImage* scratch = call.table.ScratchImage();
  return scratch != nullptr ? *scratch : none;
}

bool On(MemberCall& call) { return call.IntArg() != 0; }

// A picture file named by a program, taken as the file keywords take names
// (backslashes, letter case as on the system the program was written for).
QString PicturePath(MemberCall& call) {
  const std::u16string name = WideString(call.args[0]);
  const std::optional<std::string> path = paths::ResolveProgramPath(name);
  return path ? QFile::decodeName(QByteArray::fromStdString(*path)) : call.TextArg();
}

QObject* CreateImage(mwin& /*table*/, QWidget* defaultParent) {
  auto* control = new ImageControl(defaultParent);
  SetCursorCode(control, kArrowCursorCode);
  ShowNewControl(control);
  return control;
}

// Properties.

int SetAutoSize(MemberCall& call) {
  Image(call)->SetAutoSize(On(call));
  return 1;
}
bool GetAutoSize(MemberCall& call) {
  call.result = vellvar(Image(call)->AutoSize() ? 1 : 0);
  return true;
}

int SetColor(MemberCall& call) {
  Image(call)->SetColor(call.IntArg());
  return 1;
}
bool GetColor(MemberCall& call) {
  call.result = vellvar(Image(call)->PenColor());
  return true;
}

// The font styles: 1 adds the style, any other value removes it.
int SetFontBold(MemberCall& call) {
  Image(call)->SetFontBold(call.IntArg() == 1);
  return 1;
}
bool GetFontBold(MemberCall& call) {
  call.result = vellvar(Image(call)->FontBold() ? 1 : 0);
  return true;
}
int SetFontItalic(MemberCall& call) {
  Image(call)->SetFontItalic(call.IntArg() == 1);
  return 1;
}
bool GetFontItalic(MemberCall& call) {
  call.result = vellvar(Image(call)->FontItalic() ? 1 : 0);
  return true;
}
int SetFontStrikeOut(MemberCall& call) {
  Image(call)->SetFontStrikeOut(call.IntArg() == 1);
  return 1;
}
bool GetFontStrikeOut(MemberCall& call) {
  call.result = vellvar(Image(call)->FontStrikeOut() ? 1 : 0);
  return true;
}
int SetFontUnderline(MemberCall& call) {
  Image(call)->SetFontUnderline(call.IntArg() == 1);
  return 1;
}
bool GetFontUnderline(MemberCall& call) {
  call.result = vellvar(Image(call)->FontUnderline() ? 1 : 0);
  return true;
}

int SetFontColor(MemberCall& call) {
  Image(call)->SetFontColor(call.IntArg());
  return 1;
}
bool GetFontColor(MemberCall& call) {
  call.result = vellvar(Image(call)->FontColor());
  return true;
}
int SetFontName(MemberCall& call) {
  Image(call)->SetFontName(call.TextArg());
  return 1;
}
bool GetFontName(MemberCall& call) {
  call.result = MemberCall::Text(Image(call)->FontName());
  return true;
}
int SetFontSize(MemberCall& call) {
  Image(call)->SetFontSize(call.IntArg());
  return 1;
}
bool GetFontSize(MemberCall& call) {
  call.result = vellvar(Image(call)->FontSize());
  return true;
}

// HEIGHT and WIDTH size the control and the bitmap; they read the control.
int SetHeight(MemberCall& call) {
  Image(call)->SetHeightAndBitmap(call.IntArg());
  return 1;
}
bool GetHeight(MemberCall& call) {
  call.result = vellvar(Image(call)->height());
  return true;
}
int SetWidth(MemberCall& call) {
  Image(call)->SetWidthAndBitmap(call.IntArg());
  return 1;
}
bool GetWidth(MemberCall& call) {
  call.result = vellvar(Image(call)->width());
  return true;
}

int SetPenSize(MemberCall& call) {
  Image(call)->SetPenWidth(call.IntArg());
  return 1;
}
bool GetPenSize(MemberCall& call) {
  call.result = vellvar(Image(call)->PenWidth());
  return true;
}
int SetPenStyle(MemberCall& call) {
  Image(call)->SetPenStyle(call.IntArg());
  return 1;
}
bool GetPenStyle(MemberCall& call) {
  call.result = vellvar(Image(call)->PenStyle());
  return true;
}

int SetPixel(MemberCall& call) {
  Image(call)->SetPixel(call.IntArg());
  return 1;
}
bool GetPixel(MemberCall& call) {
  call.result = vellvar(Image(call)->Pixel());
  return true;
}

int SetPosX(MemberCall& call) {
  ImageControl* image = Image(call);
  image->SetPos(QPoint(call.IntArg(), image->Pos().y()));
  return 1;
}
bool GetPosX(MemberCall& call) {
  call.result = vellvar(Image(call)->Pos().x());
  return true;
}
int SetPosY(MemberCall& call) {
  ImageControl* image = Image(call);
  image->SetPos(QPoint(image->Pos().x(), call.IntArg()));
  return 1;
}
bool GetPosY(MemberCall& call) {
  call.result = vellvar(Image(call)->Pos().y());
  return true;
}

int SetStretch(MemberCall& call) {
  Image(call)->SetStretch(On(call));
  return 1;
}
bool GetStretch(MemberCall& call) {
  call.result = vellvar(Image(call)->Stretch() ? 1 : 0);
  return true;
}
int SetTransparent(MemberCall& call) {
  Image(call)->SetTransparent(On(call));
  return 1;
}
bool GetTransparent(MemberCall& call) {
  call.result = vellvar(Image(call)->Transparent() ? 1 : 0);
  return true;
}

// Methods.

int Circle(MemberCall& call) {
  Image(call)->Circle(call.IntArg(0), call.IntArg(1));
  return 1;
}
int Cls(MemberCall& call) {
  Image(call)->Cls();
  return 1;
}
int Copy(MemberCall& call) {
  Image(call)->Copy(call.IntArg(0), call.IntArg(1), Scratch(call));
  return 1;
}
int Cross(MemberCall& call) {
  Image(call)->Cross(Scratch(call), call.IntArg(0));
  return 1;
}
int Dark(MemberCall& call) {
  Image(call)->Dark(call.IntArg(0), call.IntArg(1), call.IntArg(2));
  return 1;
}
// FILL's one argument is not used: the fill colour is the pen's.
int Fill(MemberCall& call) {
  Image(call)->Fill();
  return 1;
}
int Line(MemberCall& call) {
  Image(call)->LineTo(QPoint(call.IntArg(0), call.IntArg(1)));
  return 1;
}
int LoadFile(MemberCall& call) {
  Image(call)->LoadFile(PicturePath(call));
  return 1;
}
int Merge(MemberCall& call) {
  Image(call)->Merge(Scratch(call));
  return 1;
}
int Paste(MemberCall& call) {
  Image(call)->Paste(Scratch(call));
  return 1;
}
int Pos(MemberCall& call) {
  Image(call)->SetPos(QPoint(call.IntArg(0), call.IntArg(1)));
  return 1;
}
int Rect(MemberCall& call) {
  Image(call)->Rect(call.IntArg(0), call.IntArg(1));
  return 1;
}
int RoundRect(MemberCall& call) {
  Image(call)->RoundRect(call.IntArg(0), call.IntArg(1), call.IntArg(2));
  return 1;
}
int SaveFile(MemberCall& call) {
  Image(call)->SaveFile(PicturePath(call));
  return 1;
}
int TextOut(MemberCall& call) {
  Image(call)->TextOut(WideString(call.args[0]));
  return 1;
}
// An image has no window of its own: 1 brings it to the front, any other
// value does nothing.
int ZOrder(MemberCall& call) {
  if (call.IntArg() == 1) Image(call)->raise();
  return 1;
}

// FOCUS is in the image's member table, but an image takes no focus: the
// member is unknown to it, as a code without a case is.
int NoFocus(MemberCall& call) {
  SetRunState(call.interp, ErrorUndefined);
  return 1;
}

constexpr MemberBinding kImageMembers[] = {
    {MemberAutoSize, SetAutoSize, GetAutoSize},
    {MemberColor, SetColor, GetColor},
    {MemberFontBold, SetFontBold, GetFontBold},
    {MemberFontColor, SetFontColor, GetFontColor},
    {MemberFontItalic, SetFontItalic, GetFontItalic},
    {MemberFontName, SetFontName, GetFontName},
    {MemberFontSize, SetFontSize, GetFontSize},
    {MemberFontStrikeOut, SetFontStrikeOut, GetFontStrikeOut},
    {MemberFontUnderline, SetFontUnderline, GetFontUnderline},
    {MemberHeight, SetHeight, GetHeight},
    {MemberPenSize, SetPenSize, GetPenSize},
    {MemberPenStyle, SetPenStyle, GetPenStyle},
    {MemberPixel, SetPixel, GetPixel},
    {MemberPosX, SetPosX, GetPosX},
    {MemberPosY, SetPosY, GetPosY},
    {MemberStretch, SetStretch, GetStretch},
    {MemberTransparent, SetTransparent, GetTransparent},
    {MemberWidth, SetWidth, GetWidth},
    {MemberCircle, Circle, nullptr},
    {MemberCls, Cls, nullptr},
    {MemberCopy, Copy, nullptr},
    {MemberCross, Cross, nullptr},
    {MemberDark, Dark, nullptr},
    {MemberFill, Fill, nullptr},
    {MemberFocus, NoFocus, nullptr},
    {MemberLine, Line, nullptr},
    {MemberLoadFile, LoadFile, nullptr},
    {MemberMerge, Merge, nullptr},
    {MemberPaste, Paste, nullptr},
    {MemberPos, Pos, nullptr},
    {MemberRect, Rect, nullptr},
    {MemberRoundRect, RoundRect, nullptr},
    {MemberSaveFile, SaveFile, nullptr},
    {MemberTextOut, TextOut, nullptr},
    {MemberZOrder, ZOrder, nullptr},
};

}  // namespace

const ComponentType& ImageType() {
  static const ComponentType type{
      TypeImage, CreateImage, DeleteRule::Control, nullptr, {kImageMembers, CommonMembers()}};
  return type;
}

}  // namespace vell
