# Window tests: they open a display (xvfb-run -a in CI) and skip without one.
clipwren_add_test(pageview_gui_tests
  SOURCES TestScrap.cpp CAllViewTest.cpp
  LIBS clipwren_guitest clipwren_pageview_ui)
target_compile_definitions(pageview_gui_tests PRIVATE
  CLIPWREN_TEST_BINARY_DIR="${CMAKE_CURRENT_BINARY_DIR}")
