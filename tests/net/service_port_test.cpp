// The game's service name as a port: a number in any of the usual bases, and nothing else.
#include "net/service_port.h"

#include <gtest/gtest.h>

namespace tomtura {
namespace {

TEST(ServicePort, NumbersInTheirBasesAndNothingElse) {
  EXPECT_EQ(ServicePort(kGameService), 4711);
  EXPECT_EQ(ServicePort("0x1267"), 4711);
  EXPECT_EQ(ServicePort("011147"), 4711);
  EXPECT_EQ(ServicePort("65535"), 65535);
  for (const char* refused : {"70000", "12ab", "0", "", "-5", "4711 "}) {
    EXPECT_FALSE(ServicePort(refused)) << refused;
  }
}

}  // namespace
}  // namespace tomtura
