// SPDX-License-Identifier: GPL-3.0-or-later
// The network connection's module: its entry point.
#include "ui/loaded_parts.h"
#include "ui/qt_net_link.h"

namespace {

std::unique_ptr<tomtura::NetTransport> MakeTransport() {
  return std::make_unique<tomtura::QtNetLink>();
}

}  // namespace

extern "C" const tomtura::NetworkPart* tomtura_network_part() {
  static const tomtura::NetworkPart part{&MakeTransport};
  return &part;
}
