#pragma once
// A plain writer of uncompressed 24-bit Windows bitmaps (bottom-up rows, no colour table), the
// form in which the game's sheet is shipped.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace tomtura {

// The file image of `image` (alpha is dropped).
QByteArray EncodeBitmap24(const QImage& image);
// Writes the file; false when it cannot be written completely.
bool WriteBitmap24(const QImage& image, const QString& path);

}  // namespace tomtura
