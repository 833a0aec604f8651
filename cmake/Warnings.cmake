# Warnings for our own code; third-party headers come in as system includes.
function(clipwren_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()
