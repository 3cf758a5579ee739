#pragma once
// The TCP port a service name stands for: the system's services database first, else the name
// read as a number (hexadecimal after 0x, octal after a leading 0, decimal otherwise).
#include <optional>
#include <string>

namespace tomtura {

inline constexpr const char* kGameService = "4711";

// The port of `service`, 1..65535; nullopt when the name is neither a known service nor a
// whole number in that range.
std::optional<int> ServicePort(const std::string& service);

}  // namespace tomtura
