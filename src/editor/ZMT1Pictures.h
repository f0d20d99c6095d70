#pragma once

#include "editor/ConfigModel.h"

#include <QPixmap>

namespace zmt {

// The main window's pictures, drawn at run time.

// The glyph of a limit mode (gwnorm, gwinv, gwno) or of the contact state (kontaktonbild,
// kontaktoffbild, kontaktnobild). Glyph::None gives a null pixmap.
QPixmap GlyphPicture(Glyph glyph);

// Image2: the meter's four-digit display with a decimal point after every digit.
QPixmap DisplayPicture();

// Image1: the maker's logo.
QPixmap LogoPicture();

}  // namespace zmt
