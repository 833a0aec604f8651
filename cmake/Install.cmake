# Install rules for the program's companions: its Japanese help, the desktop entry and the
# icon. The program itself is installed where its target is defined.
include(GNUInstallDirs)

# The help opens from beside the program (build tree) or from <prefix>/share/clipwren/help
# next to <prefix>/bin, where the program looks for it.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/clipwren/help
        FILES_MATCHING PATTERN "*.html" PATTERN "*.css" PATTERN "*.png" PATTERN "*.svg")
install(FILES ${CMAKE_SOURCE_DIR}/packaging/clipwren.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/clipwren.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

if(CLIPWREN_GUI)
  # A copy of the help beside the built program, so F1 works without installing.
  file(GLOB_RECURSE clipwren_help_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/app/help/index.html
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/help ${CMAKE_BINARY_DIR}/app/help
    DEPENDS ${clipwren_help_files}
    COMMENT "Copying the help beside the program")
  add_custom_target(clipwren_help ALL DEPENDS ${CMAKE_BINARY_DIR}/app/help/index.html)
endif()
