#include "ui/program_icon.h"

#include <QDir>
#include <QFileInfo>

namespace tomtura {

QIcon ProgramIcon(const QString& dataDirectory, const QPixmap& fallback) {
  QIcon icon;
  const QDir directory(dataDirectory);
  for (const int size : kProgramIconSizes) {
    const QString path = directory.filePath(ProgramIconFile(size));
    if (QFileInfo(path).isFile()) icon.addFile(path, QSize(size, size));
  }
  if (icon.isNull() && !fallback.isNull()) icon = QIcon(fallback);
  return icon;
}

}  // namespace tomtura
