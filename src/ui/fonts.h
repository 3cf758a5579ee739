// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three fonts that every window of the game shares. The faces the game was designed with
// ("Arial", "Verdana", "Small Fonts", "MS Sans Serif") are mapped to installed fonts that look
// alike, and each font is sized so that its line height matches the designed cell height.
#include <QFont>
#include <QString>

class QWidget;

namespace tomtura {

// "Small Fonts", height 14, width 5: captions of the player panel's property cards.
const QFont& SmallFont();
// "Arial", height 14: dialog controls, property list items, balloons.
const QFont& DialogFont();
// "Verdana", height 16, bold: the status boxes; "Arial" height 16, width 8 when the Verdana
// look-alike is missing.
const QFont& BoldFont();

// `font`, made smaller where needed (down to half its size) until `text` fits `width` pixels on
// one line: an amount is written whole rather than cut.
QFont FittedFont(const QFont& font, const QString& text, int width);

// Gives DialogFont to each direct child of `window` that has no font of its own.
void ApplyDialogFont(QWidget& window);

// "MS Sans Serif", 8 points (13 pixels high): the program's default font for menus and dialog
// controls that set no font of their own.
QFont ControlFont();

// The installed family that stands in for a designed face name (compared without regard to
// case); an unknown face is returned unchanged.
QString MapFontFamily(const QString& face);

// A font of the designed face whose line height (ascent + descent) is at most `cellHeight`
// pixels and as close to it as the face allows; `averageWidth` > 0 narrows or widens the
// characters to that average width; `weight` as in QFont (e.g. QFont::Bold).
QFont MakeFont(const QString& face, int cellHeight, int averageWidth, int weight);

}  // namespace tomtura
