// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/game_files.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <utility>

#include "data/text_ids.h"
#include "rules/game.h"
#include "store/editions.h"
#include "store/history_file.h"
#include "store/settings.h"
#include "ui/board_picture.h"
#include "ui/qt_front_end.h"

namespace tomtura {

GameFiles::GameFiles(Game& game, QtFrontEnd& ui, QWidget& window, QString dataDirectory)
    : QObject(&window),
      game_(game),
      ui_(ui),
      window_(window),
      dataDirectory_(std::move(dataDirectory)) {}

void GameFiles::Save() {
  const QString filter = QString::fromStdString(game_.Text(kTextSavedGameFilter)) + " (*.tom)";
  const QString path = ChooseFile(true, kTextSaveGameTitle, filter);
  if (path.isEmpty()) return;
  // The chooser asked about the name as typed; the extension added to it may name a saved game
  // that would otherwise be replaced without a word.
  const QString target =
      QFile::decodeName(SavedGamePath(QFile::encodeName(path).toStdString()).c_str());
  if (target != path && QFileInfo::exists(target) &&
      ui_.Ask(
          tr("%1 already exists.\nDo you want to replace it?").arg(QFileInfo(target).fileName()),
          QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
    return;
  }
  std::string error;
  const std::string chosen = QFile::encodeName(path).toStdString();
  if (!SaveGameFile(game_.state, game_.texts, chosen, &error)) {
    ui_.ShowMessage(error, MessageIcon::Error);
    return;
  }
  game_.state.unsavedProgress = false;  // what there was to lose is in the file now
  if (!SaveHistoryFile(game_.history, game_.state, chosen)) {
    const QString stats = QFile::decodeName(HistoryPath(SavedGamePath(chosen)).c_str());
    ui_.Ask(tr("The game is saved, but its statistics cannot be written to %1.")
                .arg(QDir::toNativeSeparators(stats)),
            QMessageBox::Warning, QMessageBox::Ok);
  }
}

QString GameFiles::ChooseSavedGame() {
  const QString filter = QString::fromStdString(game_.Text(kTextSavedGameFilter)) + " (*.tom)";
  return ChooseFile(false, kTextOpenGameTitle, filter);
}

std::optional<SavedGame> GameFiles::Read(const QString& path) {
  std::string error;
  std::optional<SavedGame> saved =
      LoadGameFile(QFile::encodeName(path).toStdString(), game_.texts, &error);
  if (!saved && !error.empty()) ui_.ShowMessage(error, MessageIcon::Error);
  return saved;
}

QString GameFiles::ChooseFile(bool save, int titleText, const QString& filter) {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!QFileInfo(folder).isDir()) folder = QDir::homePath();
  QFileDialog dialog(window_.isVisible() ? &window_ : nullptr,
                     QString::fromStdString(game_.Text(titleText)), folder, filter);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (ui_.RunModal(dialog) != QDialog::Accepted) return {};
  return dialog.selectedFiles().value(0);
}

GameFiles::Background GameFiles::ChangeBackground(bool ask, BoardPicture& picture) {
  QString path;
  if (!ask) {
    path = QDir(dataDirectory_)
               .filePath(QFile::decodeName(
                   QByteArray::fromStdString(EditionPicture(game_.texts.file()))));
  } else {
    const QString filter = QString::fromStdString(game_.Text(kTextPictureFilter)) + " (*.bmp)";
    path = ChooseFile(false, kTextPictureTitle, filter);
    if (path.isEmpty()) return Background::Unchanged;
  }
  std::optional<QImage> image = BoardPicture::LoadBitmapFile(path);
  if (!image) {
    ui_.Ask(QString::fromStdString(game_.Text(kTextPictureError)), QMessageBox::Critical,
            QMessageBox::Ok);
    return Background::Unchanged;
  }
  // A picture of another size may still be tried: the question offers Yes and No. An older
  // board file has one text for both cases, written for this question.
  const int question =
      game_.texts.HasText(kTextPictureWrongSize) ? kTextPictureWrongSize : kTextPictureError;
  const bool standard = image->size() == QSize(kSheetWidth, kSheetHeight);
  if (!standard && ui_.Ask(QString::fromStdString(game_.Text(question)), QMessageBox::Warning,
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
    return Background::Declined;
  }
  picture.SetSheet(*image);
  // The default is stored as no choice, so that it stays the picture of whichever edition is
  // played.
  WriteBackground(game_.texts.file(), ask ? QFile::encodeName(path).toStdString() : "");
  return Background::Changed;
}

}  // namespace tomtura
