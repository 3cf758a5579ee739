// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/loaded_parts.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>

#include "store/data_paths.h"

namespace tomtura {
namespace {

struct Parts {
  const StatisticsPart* statistics = nullptr;
  const NetworkPart* network = nullptr;
  QString error;
};

Parts& Loaded() {
  static Parts parts;
  return parts;
}

// The entry point `entry` of module `file` in the program's module folder, its symbols all
// resolved at once, so that a module that does not fit the program fails here and not later.
template <class Part>
const Part* Load(const char* file, const char* entry) {
  const std::string program =
      QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
  const QString folder = QFile::decodeName(FindModuleDirectory(program).c_str());
  QLibrary library(folder + QLatin1Char('/') + QLatin1String(file));
  library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
  using Entry = const Part* (*)();
  // The library stays loaded for the rest of the program.
  const auto function = reinterpret_cast<Entry>(library.resolve(entry));
  if (function == nullptr) {
    Loaded().error = library.errorString();
    return nullptr;
  }
  return function();
}

}  // namespace

const StatisticsPart* Statistics() {
  Parts& parts = Loaded();
  if (parts.statistics == nullptr) {
    parts.statistics = Load<StatisticsPart>("tomtura-statistics.so", "tomtura_statistics_part");
  }
  return parts.statistics;
}

const NetworkPart* Network() {
  Parts& parts = Loaded();
  if (parts.network == nullptr) {
    parts.network = Load<NetworkPart>("tomtura-network.so", "tomtura_network_part");
  }
  return parts.network;
}

QString LoadError() {
  return Loaded().error;
}

void LinkParts(const StatisticsPart& statistics, const NetworkPart& network) {
  Loaded().statistics = &statistics;
  Loaded().network = &network;
}

}  // namespace tomtura
