#include "ui/board_file_report.h"

#include <QCoreApplication>
#include <QStringList>

#include "data/game_state.h"

namespace tomtura {
namespace {

// One line of the list: the part, and for streets which of them when not all are missing.
QString Describe(const MissingBoardPart& missing) {
  switch (missing.part) {
    case BoardFilePart::File:
      return QCoreApplication::translate("BoardFileReport", "the file itself");
    case BoardFilePart::Texts:
      return QCoreApplication::translate("BoardFileReport", "the numbered texts (section [TEXTS])");
    case BoardFilePart::Streets: {
      if (static_cast<int>(missing.keys.size()) >= kPropertyCount) {
        return QCoreApplication::translate("BoardFileReport", "the streets (section [GATOR])");
      }
      QStringList keys;
      for (int key : missing.keys) keys << QString::number(key);
      return QCoreApplication::translate("BoardFileReport", "streets %1 of section [GATOR]")
          .arg(keys.join(QStringLiteral(", ")));
    }
    case BoardFilePart::ChanceCards:
      return QCoreApplication::translate("BoardFileReport", "the chance cards (section [CHANS])");
    case BoardFilePart::CommunityCards:
      return QCoreApplication::translate("BoardFileReport", "the community cards (section [ALLM])");
  }
  return {};
}

}  // namespace

QString BoardFileReport(const QString& path, const std::vector<MissingBoardPart>& missing) {
  QStringList lines;
  for (const MissingBoardPart& part : missing) lines << QStringLiteral("- ") + Describe(part);
  return QCoreApplication::translate(
             "BoardFileReport",
             "The board file %1 cannot be played with. Missing:\n%2\n\nNo game can be started.")
      .arg(path, lines.join('\n'));
}

}  // namespace tomtura
