#pragma once
// Helpers of the store tests: a scratch directory, a headless front end that also records the
// redraw requests, and a catalogue with the texts the store shows.
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/ini_file.h"
#include "data/text_catalogue.h"
#include "rules/headless.h"

namespace tomtura {

class TempDir {
 public:
  TempDir() {
    std::string pattern = std::filesystem::temp_directory_path() / "tomtura-store-XXXXXX";
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

class RedrawRecorder : public HeadlessFrontEnd {
 public:
  std::vector<std::string> redraws;
  void BoardChanged() override { redraws.push_back("Board"); }
  void PanelChanged() override { redraws.push_back("Panel"); }
  void CentreOnCurrentPlayer() override { redraws.push_back("Centre"); }
  void StatusLineChanged() override { redraws.push_back("Status"); }
};

inline TextCatalogue TestCatalogue() {
  return TextCatalogue(
      IniFile::Parse("[TEXTS]\n26=Kan inte skriva %s\n157=Inget sparat spel: %s\n"));
}

}  // namespace tomtura
