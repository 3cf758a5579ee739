// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/edition_menu.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QWidget>

#include "data/ini_file.h"
#include "store/settings.h"

namespace tomtura {

EditionMenu::EditionMenu(QMenu& options, const std::vector<Edition>& editions,
                         const std::string& current, IniFile& file, QWidget& window)
    : QObject(&options), file_(file), window_(window) {
  if (editions.size() < 2) return;
  options.addSeparator();
  QMenu* menu = options.addMenu(tr("&Edition"));
  auto* group = new QActionGroup(menu);
  for (const Edition& edition : editions) {
    QAction* item = menu->addAction(QString::fromStdString(edition.name));
    item->setCheckable(true);
    item->setChecked(edition.language == current);
    item->setData(QString::fromStdString(edition.language));
    group->addAction(item);
    connect(item, &QAction::triggered, this, [this, edition, current] {
      if (edition.language != current) Choose(edition);
    });
  }
}

void EditionMenu::Choose(const Edition& edition) {
  file_.Write(kOptionsSection, kKeyEdition, edition.language);
  const QMessageBox::StandardButton answer =
      QMessageBox::question(&window_, tr("Tomtura"),
                            tr("%1 is played from the next start of Tomtura. Start it again now?")
                                .arg(QString::fromStdString(edition.name)));
  if (answer != QMessageBox::Yes || !window_.close()) return;
  // The window closed, the game with it (asked about first when it had unsaved progress).
  QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
}

}  // namespace tomtura
