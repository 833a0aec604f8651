#pragma once

#include <string_view>

namespace shell {

// Appends one line to the file named by $CLIPWREN_TRACE_FILE, if set. Scripted runs and the
// multi-process tests read it to see what a running instance did (shown, raised, handed over);
// without the variable it costs one getenv.
void Trace(std::string_view event);

}  // namespace shell
