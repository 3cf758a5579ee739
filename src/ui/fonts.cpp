// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/fonts.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <array>
#include <memory>

namespace tomtura {
namespace {

constexpr int kSmallFontHeight = 14;
constexpr int kSmallFontWidth = 5;
constexpr int kDialogFontHeight = 14;
constexpr int kBoldFontHeight = 16;
constexpr int kBoldFallbackWidth = 8;
constexpr int kControlFontHeight = 13;
constexpr int kMinPixelSize = 6;
constexpr int kLineToPixels = 117;  // a usual line height, in hundredths of the pixel size
constexpr int kMinStretch = 50;
constexpr int kMaxStretch = 200;

struct FaceCandidates {
  const char* face;
  std::array<const char*, 3> families;  // in order of likeness
};

// Liberation Sans has Arial's metrics; DejaVu Sans shares Verdana's wide, open letters.
constexpr std::array<FaceCandidates, 4> kFaces = {{
    {"Arial", {"Liberation Sans", "Arimo", "DejaVu Sans"}},
    {"Verdana", {"DejaVu Sans", "Bitstream Vera Sans", "Liberation Sans"}},
    {"Small Fonts", {"DejaVu Sans Condensed", "Liberation Sans", "DejaVu Sans"}},
    {"MS Sans Serif", {"Liberation Sans", "DejaVu Sans", "Arimo"}},
}};

struct SharedFonts {
  QFont small;
  QFont dialog;
  QFont bold;
};

std::unique_ptr<SharedFonts>& Fonts() {
  static std::unique_ptr<SharedFonts> fonts;
  return fonts;
}

// Fonts hold engine references that must go before the application object does.
void ReleaseFonts() {
  Fonts().reset();
}

const SharedFonts& EnsureFonts() {
  auto& fonts = Fonts();
  if (!fonts) {
    fonts = std::make_unique<SharedFonts>();
    fonts->small = MakeFont("Small Fonts", kSmallFontHeight, kSmallFontWidth, QFont::Normal);
    fonts->dialog = MakeFont("Arial", kDialogFontHeight, 0, QFont::Normal);
    QFont bold = MakeFont("Verdana", kBoldFontHeight, 0, QFont::Bold);
    if (QFontInfo(bold).family().compare(MapFontFamily("Verdana"), Qt::CaseInsensitive) != 0) {
      bold = MakeFont("Arial", kBoldFontHeight, kBoldFallbackWidth, QFont::Bold);
    }
    fonts->bold = bold;
    if (QCoreApplication::instance()) qAddPostRoutine(ReleaseFonts);
  }
  return *fonts;
}

}  // namespace

QString MapFontFamily(const QString& face) {
  const QStringList installed = QFontDatabase::families();
  for (const FaceCandidates& candidates : kFaces) {
    if (face.compare(QLatin1String(candidates.face), Qt::CaseInsensitive) != 0) continue;
    for (const char* family : candidates.families) {
      if (installed.contains(QLatin1String(family), Qt::CaseInsensitive)) return family;
    }
    return QString::fromLatin1(candidates.families.back());
  }
  return face;
}

QFont MakeFont(const QString& face, int cellHeight, int averageWidth, int weight) {
  QFont font(MapFontFamily(face));
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setStyleStrategy(QFont::PreferAntialias);
  // The largest pixel size up to cellHeight whose line fits the cell. Every size tried loads a
  // font, so the search starts where a line is about 1.17 times its pixel size and goes up while
  // the next size fits, or else down until one does.
  const int top = std::max(cellHeight, kMinPixelSize);
  const auto fits = [&](int pixels) {
    font.setPixelSize(pixels);
    return QFontMetrics(font).height() <= cellHeight;
  };
  int size = std::clamp((cellHeight * 100 + kLineToPixels / 2) / kLineToPixels, kMinPixelSize, top);
  if (fits(size)) {
    while (size < top && fits(size + 1)) ++size;
  } else {
    while (size > kMinPixelSize && !fits(size - 1)) --size;
    if (size > kMinPixelSize) --size;
  }
  font.setPixelSize(size);
  if (averageWidth > 0) {
    const int natural = QFontMetrics(font).averageCharWidth();
    if (natural > 0 && natural != averageWidth) {
      font.setStretch(std::clamp(100 * averageWidth / natural, kMinStretch, kMaxStretch));
    }
  }
  return font;
}

void ApplyDialogFont(QWidget& window) {
  for (QObject* child : window.children()) {
    auto* control = qobject_cast<QWidget*>(child);
    if (control != nullptr && !control->isWindow() && !control->testAttribute(Qt::WA_SetFont)) {
      control->setFont(DialogFont());
    }
  }
}

QFont ControlFont() {
  return MakeFont("MS Sans Serif", kControlFontHeight, 0, QFont::Normal);
}

const QFont& SmallFont() {
  return EnsureFonts().small;
}
const QFont& DialogFont() {
  return EnsureFonts().dialog;
}
const QFont& BoldFont() {
  return EnsureFonts().bold;
}

QFont FittedFont(const QFont& font, const QString& text, int width) {
  QFont fitted = font;
  const bool pixels = font.pixelSize() > 0;
  const qreal size = pixels ? font.pixelSize() : font.pointSizeF();
  for (qreal scale = 1.0; scale >= 0.5; scale -= 0.05) {
    if (pixels) {
      fitted.setPixelSize(std::max(1, static_cast<int>(size * scale)));
    } else {
      fitted.setPointSizeF(size * scale);
    }
    if (QFontMetrics(fitted).horizontalAdvance(text) <= width) break;
  }
  return fitted;
}

}  // namespace tomtura
