#pragma once
// The commands of the main window (menu, buttons, key shortcuts) and which of them fit the
// moment: the phase of the turn, who is on turn, whether a game is running or networked. The
// window asks CheckCommand before it carries out any command, and so will the network layer
// for commands that arrive from another computer.

namespace tomtura {

class Game;

enum Command : int {
  kCmdAbout = 40001,
  kCmdNewGame = 40002,
  kCmdExit = 40003,
  kCmdBuyFrom = 40004,
  kCmdSellTo = 40005,
  kCmdBuyHouse = 40006,
  kCmdSellHouse = 40008,
  kCmdAddPlayer = 40009,
  kCmdRoll = 40010,
  kCmdMortgage = 40011,
  kCmdUnmortgage = 40012,
  kCmdSaveGame = 40013,
  kCmdLoadGame = 40014,
  kCmdSound = 40015,
  kCmdMusic = 40016,
  kCmdStretch = 40017,
  kCmdHelp = 40018,
  kCmdRules = 40019,
  kCmdHideCompanies = 40020,
  kCmdDefaultBackground = 40022,
  kCmdLoadBackground = 40023,
  kCmdFastMoves = 40024,
  kCmdSavePlayers = 40025,
  kCmdFlatButtons = 40026,
  kCmdSendMessage = 40027,
  kCmdAuction = 40028,
  kCmdFirstLap = 40029,
  kCmdGameLog = 40030,     // shows or hides the game log pane
  kCmdStatistics = 40031,  // the statistics of the game
};

struct CommandCheck {
  enum class Verdict {
    Run,      // carry out `command`
    Refuse,   // a beep; nothing changes
    Login,    // the player on turn cancelled his password: it is asked again (Game::RetryLogin)
    InDebt,   // refused with message `text`: the command spends money the player has not got
    Confirm,  // ask `text` first; on OK carry out `command`
  };
  Verdict verdict = Verdict::Run;
  int command = 0;  // what to carry out: the command itself, or the one it stands for
  int text = 0;
  int page = -1;  // a dealing command's page of the play window
};

// What the command `id`, given at this computer, comes to now.
CommandCheck CheckCommand(const Game& game, int id);

// Close of the main window: Confirm (text 7) while the game has progress that is not saved, else
// Run.
CommandCheck CheckClose(const Game& game);

}  // namespace tomtura
