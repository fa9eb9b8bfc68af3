# The main window's behaviour as plain classes (no Qt): start-up and shut-down,
# transport commands, position tick, file opening, picture sliders, command line,
# single instance and the Timepost binding.
add_library(lirabox_player_logic STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Command.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CommandLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MprisPlayer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShortcutKeyRow.cpp
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
