find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-2.0)

if(CLIPWREN_GUI)
  find_package(wxWidgets 3.2 REQUIRED COMPONENTS core base adv html xml)
  # One interface target carries wx's flags, so only UI libraries see them.
  add_library(clipwren_wx INTERFACE)
  target_link_libraries(clipwren_wx INTERFACE ${wxWidgets_LIBRARIES})
  target_include_directories(clipwren_wx SYSTEM INTERFACE ${wxWidgets_INCLUDE_DIRS})
  target_compile_definitions(clipwren_wx INTERFACE ${wxWidgets_DEFINITIONS})
  target_compile_options(clipwren_wx INTERFACE ${wxWidgets_CXX_FLAGS})
  pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
endif()

# wx headers are heavy; UI libraries share one precompiled header.
function(clipwren_wx_pch target)
  target_precompile_headers(${target} PRIVATE <wx/wx.h>)
endfunction()

if(CLIPWREN_TESTS)
  find_package(GTest REQUIRED)
endif()
