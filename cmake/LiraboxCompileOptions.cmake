# Warnings are errors everywhere in our own code (our scripts and CI keep
# LIRABOX_WERROR on; packagers building with another compiler may turn it off).
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
if(LIRABOX_WERROR)
  add_compile_options(-Werror)
endif()
# GCC 12 reports -Wrestrict inside std::string's own inlined code at -O3
# (GCC bug 105329: `"text" + std::string` and the like), which would make every
# Release build fail; the warning stays on for other compilers.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()

if(LIRABOX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

# lirabox_add_gtest(name LABEL unit|x11|program SOURCES... LIBS... [WM] [DBUS] [PORTAL])
#   Registers every test case of the binary as a test of its own, labelled:
#   unit     no display (Qt runs offscreen), quick;
#   x11      each test case gets a private Xvfb display (WM: plus openbox);
#   program  the built or installed program run as a user would, on a private
#            display like x11.
#   DBUS: each test case also gets a private session bus.
#   PORTAL: the same, with the real desktop portal and the tests' own backend
#   (tests/with-portal.sh).
# In the Windows build the program is only built; name it *_test and
# scripts/test-windows.sh runs it under Wine.
function(lirabox_add_gtest name)
  cmake_parse_arguments(T "WM;DBUS;PORTAL" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT T_LABEL MATCHES "^(unit|x11|program)$")
    message(FATAL_ERROR "lirabox_add_gtest(${name}): LABEL must be unit, x11 or program")
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  if(WIN32)
    # One test per program, run under Wine through the toolchain's emulator
    # (tests/with-wine.sh: a prefix, a display and a sound sink of its own):
    # `ctest --test-dir build-windows -L unit`. scripts/test-windows.sh runs
    # them all in one prefix instead, which is quicker.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS ${T_LABEL} TIMEOUT 900)
  else()
    set(properties LABELS ${T_LABEL} TIMEOUT 300)
    set(launcher "")
    if(T_PORTAL)
      set(launcher ${PROJECT_SOURCE_DIR}/tests/with-portal.sh)
    elseif(T_DBUS)
      set(launcher dbus-run-session --)
    endif()
    if(T_LABEL STREQUAL "unit")
      list(APPEND properties ENVIRONMENT QT_QPA_PLATFORM=offscreen)
    else()
      # The launcher starts the display for each test case; listing the test
      # cases needs none.
      list(APPEND launcher ${PROJECT_SOURCE_DIR}/tests/with-xvfb.sh)
      if(T_WM)
        list(APPEND launcher --wm)
      endif()
    endif()
    if(launcher)
      set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${launcher}")
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES ${properties})
  endif()
endfunction()
