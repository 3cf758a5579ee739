#include "net/service_port.h"

#include <netdb.h>
#include <netinet/in.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace tomtura {

std::optional<int> ServicePort(const std::string& service) {
  if (service.empty()) return std::nullopt;
  if (const servent* entry = getservbyname(service.c_str(), "tcp")) {
    return static_cast<int>(ntohs(static_cast<std::uint16_t>(entry->s_port)));
  }
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(service.c_str(), &end, 0);
  if (errno != 0 || end == service.c_str() || *end != '\0' || value < 1 || value > 65535) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

}  // namespace tomtura
