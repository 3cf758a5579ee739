#pragma once
// Helpers of the store tests: a scratch directory, a front end that records its calls and a
// small catalogue with the texts the store shows.
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "data/ini_file.h"
#include "data/text_catalogue.h"
#include "rules/front_end.h"
#include "rules/game.h"

namespace tomtura {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tomtura-store-XXXXXX");
    dir_ = mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string path(const std::string& name) const { return dir_ + "/" + name; }

 private:
  std::string dir_;
};

class RecordingFrontEnd : public FrontEnd {
 public:
  std::vector<std::string> calls;
  bool Called(const std::string& name) const {
    return std::find(calls.begin(), calls.end(), name) != calls.end();
  }

  int AskQuestion(const QuestionParams&) override { return Record("AskQuestion", 1); }
  bool AskPassword() override { return Record("AskPassword", true); }
  bool AskConsent(const std::string&) override { return Record("AskConsent", false); }
  int RunAuction() override { return Record("RunAuction", 0); }
  int OpenPlayWindow(int) override { return Record("OpenPlayWindow", 2); }
  void ShowMessage(const std::string&, MessageIcon) override { Record("ShowMessage"); }
  void StartDiceTimer(int) override { Record("StartDiceTimer"); }
  void StopDiceTimer() override { Record("StopDiceTimer"); }
  void StartWalkTimer(int) override { Record("StartWalkTimer"); }
  void StopWalkTimer() override { Record("StopWalkTimer"); }
  void PlaySoundEffect(int) override { Record("PlaySoundEffect"); }
  void DiceChanged() override { Record("DiceChanged"); }
  void TokenStepped(int, int) override { Record("TokenStepped"); }
  void BoardChanged() override { Record("BoardChanged"); }
  void PanelChanged() override { Record("PanelChanged"); }
  void StatusLineChanged() override { Record("StatusLineChanged"); }
  void CentreOnCurrentPlayer() override { Record("CentreOnCurrentPlayer"); }
  void TurnEnded() override { Record("TurnEnded"); }
  void FocusRollButton() override { Record("FocusRollButton"); }
  void Beep() override { Record("Beep"); }
  void MenusChanged() override { Record("MenusChanged"); }

 private:
  template <typename T = int>
  T Record(const char* name, T answer = T{}) {
    calls.push_back(name);
    return answer;
  }
};

inline TextCatalogue TestCatalogue() {
  return TextCatalogue(
      IniFile::Parse("[TEXTS]\n26=Kan inte skriva %s\n157=Inget sparat spel: %s\n"));
}

// A new game of `count` persons.
inline void SetUpPlayers(Game& game, int count) {
  game.state.networkGame = 0;
  game.state.playerCount = count;
  for (int i = 0; i < count; ++i) {
    game.state.players[i] = Player{};
    game.state.players[i].name.setRaw("Spelare" + std::to_string(i));
    game.state.players[i].token = static_cast<std::int16_t>(i);
  }
  game.NewGame(false);
}

}  // namespace tomtura
