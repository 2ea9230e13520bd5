// Fonts that programs and forms name by their Windows family names, mapped to
// fonts a Linux desktop has.
#pragma once

#include <QFont>
#include <QString>

namespace vell::qt {

// Registers the family substitutions once: "ＭＳ ゴシック" and "MS Gothic"
// become IPAGothic, falling back to the desktop's fixed-pitch font; "Tahoma"
// becomes the desktop's sans-serif font.
void InstallFontSubstitutions();

// A font of the given family whose glyphs are `pixelHeight` pixels high (a
// negative Windows font height); fixed-pitch families keep a fixed-pitch
// fallback.
QFont WindowsFont(const QString& family, int pixelHeight);

}  // namespace vell::qt
