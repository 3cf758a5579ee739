#pragma once
// The program's icon: a house on a street tile, drawn by tools/board_painter in several sizes
// and shipped beside the board file in icons/.
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <array>

namespace tomtura {

inline constexpr std::array<int, 7> kProgramIconSizes = {16, 24, 32, 48, 64, 128, 256};

// The icon file of one size, relative to the data directory.
inline QString ProgramIconFile(int size) {
  return QStringLiteral("icons/tomtura-%1.png").arg(size);
}

// The icon from the files found in `dataDirectory`; `fallback` when there are none.
QIcon ProgramIcon(const QString& dataDirectory, const QPixmap& fallback);

}  // namespace tomtura
