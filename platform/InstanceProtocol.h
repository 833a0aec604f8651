#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The wire format between a second instance and the running one, over a stream socket.
// Every request is one opcode byte and its little-endian fields; every request gets a reply:
//   'P' u32 message           → u32 answer of the probe handler
//   'F'                       → u8 1 once the foreground handler returned
//   'C' u32 id u32 n, n bytes → u8 1 once the copy-data handler returned
// Anything else closes the connection.
namespace platform::instance {

constexpr char kProbe = 'P';
constexpr char kForeground = 'F';
constexpr char kCopyData = 'C';
// Far more than a path; keeps a garbage length from making the listener allocate gigabytes.
constexpr std::uint32_t kMaxCopyData = 1u << 20;

// The socket of the listener for messageName: in the runtime folder, named after the
// message, shortened to a hash when the name would not fit a socket address.
[[nodiscard]] std::optional<std::filesystem::path> SocketPath(std::string_view messageName);

inline void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline std::uint32_t GetU32(std::string_view in) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(in[i]);
  return v;
}

}  // namespace platform::instance
