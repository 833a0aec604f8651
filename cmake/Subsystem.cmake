# clipwren_subsystem(<name> [MODEL_LIBS …] [UI_LIBS …] [UI_EXCLUDE <file> …])
# A subsystem folder app/<name>/ holds model code at its top level (no wx: library
# clipwren_<name>) and wx code under ui/ (library clipwren_<name>_ui, GUI builds only).
# Sources are globbed so adding a file needs no CMake edit; UI_EXCLUDE names ui/ files that a
# library of their own builds instead. Each list names exactly the libraries whose headers
# the sources include; the UI library links its model library by itself.
function(clipwren_subsystem name)
  cmake_parse_arguments(S "" "" "MODEL_LIBS;UI_LIBS;UI_EXCLUDE" ${ARGN})
  file(GLOB model_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(model_sources)
    add_library(clipwren_${name} STATIC ${model_sources})
    target_link_libraries(clipwren_${name} PUBLIC ${S_MODEL_LIBS})
    clipwren_warnings(clipwren_${name})
  else()
    add_library(clipwren_${name} INTERFACE)
    target_link_libraries(clipwren_${name} INTERFACE ${S_MODEL_LIBS})
  endif()
  clipwren_check_libraries(clipwren_${name} ${S_MODEL_LIBS})
  if(CLIPWREN_GUI)
    file(GLOB ui_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp)
    foreach(excluded ${S_UI_EXCLUDE})
      list(REMOVE_ITEM ui_sources ${CMAKE_CURRENT_SOURCE_DIR}/ui/${excluded})
    endforeach()
    if(ui_sources)
      add_library(clipwren_${name}_ui STATIC ${ui_sources})
      target_link_libraries(clipwren_${name}_ui PUBLIC clipwren_${name} clipwren_wx ${S_UI_LIBS})
      clipwren_warnings(clipwren_${name}_ui)
      clipwren_wx_pch(clipwren_${name}_ui)
      clipwren_check_libraries(clipwren_${name}_ui ${S_UI_LIBS})
    endif()
  endif()
endfunction()

# Libraries of this project may be defined after the subsystem that links them, so whether a
# named one exists is checked once everything has been read; a misspelt or missing one stops
# the configuration instead of turning into a linker flag or vanishing from the list.
function(clipwren_check_libraries target)
  foreach(lib ${ARGN})
    if(lib MATCHES "^clipwren_")
      cmake_language(EVAL CODE "
        cmake_language(DEFER DIRECTORY \"${CMAKE_SOURCE_DIR}\" CALL
          clipwren_require_target \"${target}\" \"${lib}\")")
    endif()
  endforeach()
endfunction()

function(clipwren_require_target target lib)
  if(NOT TARGET ${lib})
    message(FATAL_ERROR "${target} links ${lib}, which no subsystem defines")
  endif()
endfunction()
