// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt test program: `tomtura_ui_tests <suite> [Qt Test options]` runs one suite in a fresh
// application, as each suite's own program would (CTest runs them side by side).
#include "test_suites.h"

#include <QApplication>
#include <QtTest>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/loaded_parts.h"

namespace tomtura_tests {
namespace {

std::map<std::string, SuiteMaker>& Suites() {
  static std::map<std::string, SuiteMaker> suites;
  return suites;
}

}  // namespace

bool RegisterSuite(const char* file, SuiteMaker make) {
  std::string name = file;
  name = name.substr(name.find_last_of('/') + 1);
  name = name.substr(0, name.find('.'));
  return Suites().emplace(name, make).second;
}

}  // namespace tomtura_tests

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setAttribute(Qt::AA_Use96Dpi, true);
  // The statistics window and the network connection are linked into this program.
  tomtura::LinkParts(*tomtura_statistics_part(), *tomtura_network_part());
  const auto& suites = tomtura_tests::Suites();
  const auto suite = argc > 1 ? suites.find(argv[1]) : suites.end();
  if (suite == suites.end()) {
    std::fprintf(stderr, "usage: %s <suite> [Qt Test options]; the suites:\n", argv[0]);
    for (const auto& [name, make] : suites) std::fprintf(stderr, "  %s\n", name.c_str());
    return 2;
  }
  std::vector<char*> args = {argv[0]};
  args.insert(args.end(), argv + 2, argv + argc);
  const std::unique_ptr<QObject> test(suite->second());
  return QTest::qExec(test.get(), static_cast<int>(args.size()), args.data());
}
