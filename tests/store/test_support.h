#pragma once
// Helpers of the file tests: whole-file reads and writes, a scratch directory, a limit that makes
// writes fail, a headless front end that also records the redraw requests, and a catalogue with
// the texts the store shows.
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "data/ini_file.h"
#include "data/text_catalogue.h"
#include "headless/headless_front_end.h"

namespace tomtura {

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), std::ssize(bytes));
}

class TempDir {
 public:
  explicit TempDir(const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
    std::string pattern = base / "tomtura-store-XXXXXX";
    dir_ = mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string path(const std::string& name) const { return dir_ + "/" + name; }
  int Entries() const {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(dir_), {}));
  }

 private:
  std::string dir_;
};

// Makes every write beyond `bytes` fail (EFBIG, not a signal) while the object lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) : handler_(::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    ::signal(SIGXFSZ, handler_);
  }

 private:
  sighandler_t handler_;
  rlimit previous_{};
};

class RedrawRecorder : public HeadlessFrontEnd {
 public:
  std::vector<std::string> redraws;
  void Changed(const Changes& changes) override {
    if (changes.has(Changes::kBoard)) redraws.push_back("Board");
    if (changes.has(Changes::kPanel)) redraws.push_back("Panel");
    if (changes.has(Changes::kStatusLine)) redraws.push_back("Status");
    if (changes.has(Changes::kCentre)) redraws.push_back("Centre");
    HeadlessFrontEnd::Changed(changes);
  }
};

inline TextCatalogue TestCatalogue() {
  return TextCatalogue(
      IniFile::Parse("[TEXTS]\n26=Kan inte skriva %s\n157=Inget sparat spel: %s\n"));
}

}  // namespace tomtura
