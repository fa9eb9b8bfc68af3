# The main window's behaviour as plain classes (no Qt): start-up and shut-down,
# transport commands, position tick, file opening, picture sliders, command line,
# single instance and the Timepost binding.
add_library(lirabox_player_logic STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Command.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CommandLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MprisPlayer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShortcutKeyRow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpAndVersion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MenuHandlers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SingleInstance.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TimeText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Timepost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clsPicSlider.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmMain.cpp
)
target_include_directories(lirabox_player_logic PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(lirabox_player_logic PUBLIC lirabox_support ${CMAKE_DL_LIBS})
if(TARGET lirabox_media)
  target_link_libraries(lirabox_player_logic PUBLIC lirabox_media)
endif()
# The version the help menu shows comes from project(VERSION) alone.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/HelpAndVersion.cpp PROPERTIES COMPILE_DEFINITIONS
  "LIRABOX_VERSION_MAJOR=${PROJECT_VERSION_MAJOR};LIRABOX_VERSION_MINOR=${PROJECT_VERSION_MINOR};LIRABOX_VERSION_REVISION=${PROJECT_VERSION_PATCH}")
