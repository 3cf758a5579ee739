#include "painting.h"

#include <QFontMetricsF>
#include <QStringList>

namespace tomtura {

namespace {

// Coverage below this (of 255) counts as clear: such faint edge pixels are keyed out.
constexpr int kShowAlpha = 80;

// Swedish street and place words end in these; a long name breaks before them.
const QStringList kWordEndings = {"backen",  "gatan",     "vägen",  "gränd", "stigen",
                                  "allén",   "terrassen", "torget", "läget", "fältet",
                                  "centrum", "stationen", "tornet", "ning"};

// Breaks `word` into lines of `width`: before a known ending where it can, else wherever it
// must; a word with no known ending only when `cutUnknown`.
QStringList BreakWord(const QString& word, const QFontMetricsF& fm, qreal width, bool cutUnknown) {
  if (fm.horizontalAdvance(word) <= width) return {word};
  bool known = false;
  for (const QString& ending : kWordEndings) {
    if (word.size() > ending.size() + 2 && word.endsWith(ending, Qt::CaseInsensitive)) {
      known = true;
      const QString head = word.left(word.size() - ending.size()) + "-";
      const QString tail = word.right(ending.size());
      if (fm.horizontalAdvance(head) <= width && fm.horizontalAdvance(tail) <= width) {
        return {head, tail};
      }
    }
  }
  if (!known && !cutUnknown) return {word};
  for (int cut = word.size() - 2; cut >= 2; --cut) {
    const QString head = word.left(cut) + "-";
    if (fm.horizontalAdvance(head) <= width) {
      QStringList rest = BreakWord(word.mid(cut), fm, width, true);
      rest.prepend(head);
      return rest;
    }
  }
  return {word};
}

QStringList WrapLines(const QString& text, const QFontMetricsF& fm, qreal width, bool wrap,
                      bool cutUnknown) {
  if (!wrap) return text.split('\n');
  QStringList lines;
  for (const QString& paragraph : text.split('\n')) {
    QString line;
    for (const QString& word : paragraph.split(' ', Qt::SkipEmptyParts)) {
      const QString joined = line.isEmpty() ? word : line + " " + word;
      if (fm.horizontalAdvance(joined) <= width) {
        line = joined;
        continue;
      }
      if (!line.isEmpty()) lines << line;
      QStringList pieces = BreakWord(word, fm, width, cutUnknown);
      line = pieces.takeLast();
      lines << pieces;
    }
    lines << line;
  }
  return lines;
}

}  // namespace

QFont BoardFont(int pixelSize, bool bold, bool condensed) {
  QFont font(condensed ? "DejaVu Sans Condensed" : "DejaVu Sans");
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

QString FormatMoney(int amount, const QString& format, const QString& separator) {
  QString digits = QString::number(amount);
  const int first = amount < 0 ? 1 : 0;
  for (int at = digits.size() - 3; at > first; at -= 3) digits.insert(at, separator);
  QString text = format;
  return text.replace("%s", digits);
}

int DrawFittedText(QPainter& p, const QRectF& box, const QString& text, int maxPx, int minPx,
                   bool bold, Qt::Alignment align, bool wrap) {
  const auto fits = [&](int size, bool cutUnknown) {
    const QFontMetricsF fm(BoardFont(size, bold));
    const QStringList lines = WrapLines(text, fm, box.width(), wrap, cutUnknown);
    bool fit = fm.lineSpacing() * lines.size() <= box.height() + 1;
    for (const QString& line : lines) fit = fit && fm.horizontalAdvance(line) <= box.width();
    return fit;
  };
  // A word with no known ending is cut only when no size fits it whole.
  bool cutUnknown = false;
  int size = maxPx;
  while (size >= minPx && !fits(size, false)) --size;
  if (size < minPx) {
    cutUnknown = true;
    size = maxPx;
    while (size > minPx && !fits(size, true)) --size;
  }
  const QFont font = BoardFont(size, bold);
  const QFontMetricsF fm(font);
  const QStringList lines = WrapLines(text, fm, box.width(), wrap, cutUnknown);
  p.save();
  p.setFont(font);
  const qreal lineHeight = fm.lineSpacing() - 1;
  const qreal total = lineHeight * lines.size();
  qreal y = box.top();
  if (align & Qt::AlignVCenter) y += (box.height() - total) / 2;
  if (align & Qt::AlignBottom) y += box.height() - total;
  for (const QString& line : lines) {
    const QRectF lineBox(box.left(), qRound(y), box.width(), lineHeight + 1);
    p.drawText(lineBox, int(align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter, line);
    y += lineHeight;
  }
  p.restore();
  return size;
}

void FillOutlined(QPainter& p, const QPainterPath& path, const QBrush& fill, const QColor& outline,
                  qreal width) {
  p.save();
  p.setBrush(fill);
  p.setPen(width > 0 ? QPen(outline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                     : QPen(Qt::NoPen));
  p.drawPath(path);
  p.restore();
}

QImage ClearLayer(int width, int height) {
  QImage layer(width, height, QImage::Format_ARGB32_Premultiplied);
  layer.fill(Qt::transparent);
  return layer;
}

int StampKeyed(QImage& sheet, QPoint at, const QImage& layer, QRgb key, const QColor& matte) {
  const QImage argb = layer.convertToFormat(QImage::Format_ARGB32);
  const QRgb keyRgb = key & 0xFFFFFFu;
  int shown = 0;
  for (int y = 0; y < argb.height(); ++y) {
    for (int x = 0; x < argb.width(); ++x) {
      const QPoint target = at + QPoint(x, y);
      if (!sheet.valid(target)) continue;
      const QRgb c = argb.pixel(x, y);
      const int a = qAlpha(c);
      if (a < kShowAlpha) {
        sheet.setPixel(target, 0xFF000000u | keyRgb);
        continue;
      }
      const auto mix = [a](int top, int under) {
        return (top * a + under * (255 - a) + 127) / 255;
      };
      int r = mix(qRed(c), matte.red());
      int g = mix(qGreen(c), matte.green());
      int b = mix(qBlue(c), matte.blue());
      if ((qRgb(r, g, b) & 0xFFFFFFu) == keyRgb) {
        // One step off the key in its brightest channel keeps the pixel visible.
        if (r >= g && r >= b)
          r += r > 0 ? -1 : 1;
        else if (g >= b)
          g += g > 0 ? -1 : 1;
        else
          b += b > 0 ? -1 : 1;
      }
      sheet.setPixel(target, qRgb(r, g, b));
      ++shown;
    }
  }
  return shown;
}

}  // namespace tomtura
