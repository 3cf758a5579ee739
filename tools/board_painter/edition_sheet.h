#pragma once
// One edition's sheet: the words read from its board file, and the board and sprites drawn in
// them.
#include <QImage>
#include <QString>
#include <QStringList>

#include "board_art.h"

namespace tomtura {

// The words of the board file at `path`. A text or key it lacks keeps its Swedish word, as an
// older board file meant; each such gap is told in `warnings`, when given.
BoardTexts ReadBoardTexts(const QString& path, QStringList* warnings = nullptr);

// The whole 685 x 765 sheet: the board in `texts`' words and every sprite below it.
QImage PaintSheet(const BoardTexts& texts);

}  // namespace tomtura
