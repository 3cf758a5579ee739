// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parts of the front end that the first frame does not need, each on a library of Qt's that
// costs the start-up time to load: the statistics window (Qt Charts) and the network connection
// (Qt Network). Each is a module of its own beside the program (installed in ../lib/tomtura),
// loaded the first time it is wanted. A program that links the parts in registers them instead.
#include <QString>
#include <memory>

class QWidget;

namespace tomtura {

class BoardPicture;
class Game;
class NetTransport;
class QtFrontEnd;

struct StatisticsPart {
  // Shows the statistics window of `game` over `parent` until it is closed.
  void (*show)(const Game& game, const BoardPicture& picture, QtFrontEnd& ui, QWidget* parent);
};

struct NetworkPart {
  std::unique_ptr<NetTransport> (*makeTransport)();
};

// The part, loaded on the first call; null when it cannot be loaded, LoadError() then says why.
const StatisticsPart* Statistics();
const NetworkPart* Network();
QString LoadError();

// Uses these parts, linked into the program, instead of loading the modules.
void LinkParts(const StatisticsPart& statistics, const NetworkPart& network);

}  // namespace tomtura

// Each module's entry point.
extern "C" const tomtura::StatisticsPart* tomtura_statistics_part();
extern "C" const tomtura::NetworkPart* tomtura_network_part();
