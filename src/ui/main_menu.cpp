// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <string_view>
#include <utility>
#include <vector>

#include "rules/commands.h"

namespace tomtura {

namespace {

// The menu bar, top to bottom within each popup. An entry names its popup by title; the menu
// bar's popups come in the order of their first entries, a submenu where its entry stands.
constexpr int kMenuSeparator = 0;
constexpr int kMenuSubmenu = -1;  // the entry's text is the submenu's title
struct MenuEntry {
  const char* popup;
  int command;  // a command, kMenuSeparator or kMenuSubmenu
  const char* text = "";
  bool checkable = false;
  // The desktop's usual key, taken by the menu item itself (Ctrl+N and the like).
  const char* shortcut = nullptr;
  // The game's own one-letter key, shown beside the item; the window's key filter takes it.
  const char* letter = nullptr;
};
// The texts are translated where the menus are made, in the main window's context.
constexpr const char* kGameMenu = QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Game");
constexpr const char* kOptionsMenu = QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Options");
constexpr const char* kDisplayMenu = QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Display");
constexpr const char* kPlayMenu = QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Play");
constexpr const char* kHelpMenu = QT_TRANSLATE_NOOP("tomtura::MainWindow", "&?");
constexpr MenuEntry kMenu[] = {
    {kGameMenu, kCmdNewGame, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&New game"), false,
     "Ctrl+N"},
    {kGameMenu, kCmdAddPlayer, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Add player...")},
    {kGameMenu, kMenuSeparator},
    {kGameMenu, kCmdSaveGame, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Save game..."), false,
     "Ctrl+S"},
    {kGameMenu, kCmdLoadGame, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Load game..."), false,
     "Ctrl+O"},
    {kGameMenu, kMenuSeparator},
    {kGameMenu, kCmdStatistics, QT_TRANSLATE_NOOP("tomtura::MainWindow", "S&tatistics..."), false,
     nullptr, "T"},
    {kGameMenu, kMenuSeparator},
    {kGameMenu, kCmdExit, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Exit"), false, "Ctrl+Q"},

    {kOptionsMenu, kCmdSound, QT_TRANSLATE_NOOP("tomtura::MainWindow", "S&ound"), true},
    {kOptionsMenu, kCmdMusic, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Music"), true},
    {kOptionsMenu, kCmdStretch, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Stretch board"), true},
    {kOptionsMenu, kCmdHideCompanies, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Hide properties"),
     true},
    {kOptionsMenu, kCmdFastMoves, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Fast movement"), true},
    {kOptionsMenu, kCmdSavePlayers, QT_TRANSLATE_NOOP("tomtura::MainWindow", "Save &players"),
     true},
    {kOptionsMenu, kMenuSubmenu, kDisplayMenu},
    {kDisplayMenu, kCmdDefaultBackground,
     QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Default background")},
    {kDisplayMenu, kCmdLoadBackground,
     QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Load background...")},
    {kDisplayMenu, kCmdFlatButtons, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Flat buttons"),
     true},
    {kOptionsMenu, kMenuSeparator},
    {kOptionsMenu, kCmdAuction, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Auction"), true},
    {kOptionsMenu, kCmdFirstLap,
     QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Can't buy on first lap"), true},
    {kOptionsMenu, kMenuSeparator},
    {kOptionsMenu, kCmdGameLog, QT_TRANSLATE_NOOP("tomtura::MainWindow", "Game &log"), true},

    {kPlayMenu, kCmdRoll, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Roll"), false, nullptr, "S"},
    {kPlayMenu, kMenuSeparator},
    {kPlayMenu, kCmdBuyFrom, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Buy property from..."),
     false, nullptr, "K"},
    {kPlayMenu, kCmdSellTo, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Sell property to..."), false,
     nullptr, "G"},
    {kPlayMenu, kMenuSeparator},
    {kPlayMenu, kCmdMortgage, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Mortgage property..."),
     false, nullptr, "I"},
    {kPlayMenu, kCmdUnmortgage, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Pay off mortgage..."),
     false, nullptr, "U"},
    {kPlayMenu, kMenuSeparator},
    {kPlayMenu, kCmdBuyHouse, QT_TRANSLATE_NOOP("tomtura::MainWindow", "Buy &house..."), false,
     nullptr, "P"},
    {kPlayMenu, kCmdSellHouse, QT_TRANSLATE_NOOP("tomtura::MainWindow", "Sell h&ouse..."), false,
     nullptr, "H"},
    {kPlayMenu, kMenuSeparator},
    {kPlayMenu, kCmdSendMessage, QT_TRANSLATE_NOOP("tomtura::MainWindow", "Se&nd message...")},

    {kHelpMenu, kCmdHelp, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Help...")},
    {kHelpMenu, kCmdRules, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Rules...")},
    {kHelpMenu, kMenuSeparator},
    {kHelpMenu, kCmdAbout, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&About...")},
};

// Every text of the table belongs to the main window's translation context.
QString Translated(const char* text) {
  return QCoreApplication::translate("tomtura::MainWindow", text);
}

}  // namespace

MainMenu::MainMenu(QMenuBar& bar, QObject& receiver, std::function<void(int)> onCommand) {
  // The popups by title: those of the menu bar, made at their first entry, and submenus.
  std::vector<std::pair<std::string_view, QMenu*>> popups;
  auto popup = [&](const char* title) {
    for (const auto& [known, menu] : popups) {
      if (known == title) return menu;
    }
    QMenu* menu = bar.addMenu(Translated(title));
    popups.emplace_back(title, menu);
    return menu;
  };
  for (const MenuEntry& entry : kMenu) {
    QMenu* menu = popup(entry.popup);
    if (entry.command == kMenuSeparator) {
      menu->addSeparator();
      continue;
    }
    if (entry.command == kMenuSubmenu) {
      popups.emplace_back(entry.text, menu->addMenu(Translated(entry.text)));
      continue;
    }
    if (entry.popup == kOptionsMenu) optionsMenu_ = menu;
    QAction* item = menu->addAction(Translated(entry.text));
    const int id = entry.command;
    item->setData(id);
    item->setCheckable(entry.checkable);
    QObject::connect(item, &QAction::triggered, &receiver, [onCommand, id] { onCommand(id); });
    actions_.insert(id, item);
    if (entry.shortcut != nullptr) item->setShortcut(QKeySequence(entry.shortcut));
    // Shown only: the letter is taken by the window's key filter, which knows when it applies.
    if (entry.letter != nullptr) item->setText(item->text() + '\t' + entry.letter);
  }
}

void MainMenu::SetChecked(int id, bool on) {
  if (QAction* item = actions_.value(id)) item->setChecked(on);
}

}  // namespace tomtura
