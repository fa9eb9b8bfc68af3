# Warnings are errors everywhere in our own code.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Werror)

if(LIRABOX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

# lirabox_add_gtest(name SOURCES... LIBS... [X11] [WM] [DBUS])
#   X11: the test gets its own Xvfb display; WM: plus an openbox window manager;
#   DBUS: a private session bus.
function(lirabox_add_gtest name)
  cmake_parse_arguments(T "X11;WM;DBUS" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  set(launcher "")
  if(T_WM)
    set(launcher ${PROJECT_SOURCE_DIR}/tests/with-xvfb.sh --wm)
  elseif(T_X11)
    set(launcher ${PROJECT_SOURCE_DIR}/tests/with-xvfb.sh)
  endif()
  if(T_DBUS)
    set(launcher dbus-run-session -- ${launcher})
  endif()
  add_test(NAME ${name} COMMAND ${launcher} $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LIRABOX_TEST_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
    TIMEOUT 600)
  if(T_X11 OR T_WM)
    # X tests talk to their own display: never the offscreen platform.
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "LIRABOX_TEST_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  endif()
endfunction()
