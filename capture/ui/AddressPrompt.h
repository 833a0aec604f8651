#pragma once

#include "capture/CaptureOptions.h"

namespace capture {

// The desktop action's way in: asks for the address in a small window (the clipboard's
// address filled in), captures with a progress window that can cancel, and shows errors in a
// message box, since no terminal is there to read them. Returns the exit code.
int RunWithAddressPrompt(CaptureOptions options, int argc, char** argv);

}  // namespace capture
