#pragma once

#include <string>

namespace platform {

// The system's message for a host-style error number (the numbers Registry, ShellFileOperation
// and the print system return), as the host's message table words it.
[[nodiscard]] std::string ErrorText(long code);

}  // namespace platform
