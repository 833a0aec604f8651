# GUI tests of the store's controls (included by this folder's CMakeLists.txt in GUI builds).
clipwren_add_test(store_ui_controls_test
  SOURCES ui/CDimEditCtrlTest.cpp ui/CTreeComboBoxTest.cpp
  LIBS clipwren_guitest clipwren_store_ui)
