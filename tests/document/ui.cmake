# The document with real page views; needs a display (xvfb-run -a) and skips without one.
clipwren_add_test(document_gui_tests
  SOURCES CClipwrenDocTest.cpp ShareCommandsTest.cpp ShareDialogsTest.cpp
    ${CMAKE_SOURCE_DIR}/tests/pageview/TestScrap.cpp
  LIBS clipwren_guitest clipwren_pageview_ui clipwren_print_ui PkgConfig::GTK3)
target_compile_definitions(document_gui_tests PRIVATE
  CLIPWREN_TEST_BINARY_DIR="${CMAKE_CURRENT_BINARY_DIR}")
