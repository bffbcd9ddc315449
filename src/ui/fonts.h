#pragma once

// The window fonts of the program are Windows families ("Tahoma",
// "ＭＳ ゴシック"). Maps them once to families present elsewhere so Qt does
// not fall back to a face without Japanese glyphs. Safe to call again.
void installFontSubstitutions();

class QFont;
class QString;

// A font of the given family at a pixel size (the forms give sizes in pixels).
QFont pixelFont(const QString &family, int pixels);
