#include "ui/board_file_report.h"

#include <QCoreApplication>
#include <QStringList>

#include "data/game_state.h"

namespace tomtura {
namespace {

QString Tr(const char* text) {
  return QCoreApplication::translate("BoardFileReport", text);
}

// One line of the list: the part, and for streets which of them when not all are missing.
QString Describe(const MissingBoardPart& missing) {
  switch (missing.part) {
    case BoardFilePart::File:
      return Tr("the file itself");
    case BoardFilePart::Texts:
      return Tr("the numbered texts (section [TEXTS])");
    case BoardFilePart::Streets: {
      if (static_cast<int>(missing.keys.size()) >= kPropertyCount) {
        return Tr("the streets (section [GATOR])");
      }
      QStringList keys;
      for (int key : missing.keys) keys << QString::number(key);
      return Tr("streets %1 of section [GATOR]").arg(keys.join(QStringLiteral(", ")));
    }
    case BoardFilePart::ChanceCards:
      return Tr("the Chans cards (section [CHANS])");
    case BoardFilePart::CommunityCards:
      return Tr("the Allmänning cards (section [ALLM])");
  }
  return {};
}

}  // namespace

QString BoardFileReport(const QString& path, const std::vector<MissingBoardPart>& missing) {
  QStringList lines;
  for (const MissingBoardPart& part : missing) lines << QStringLiteral("- ") + Describe(part);
  return Tr("The board file %1 cannot be played with. Missing:\n%2\n\nNo game can be started.")
      .arg(path, lines.join('\n'));
}

}  // namespace tomtura
