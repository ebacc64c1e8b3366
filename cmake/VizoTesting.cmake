# Test registration by convention, so that each folder of tests/ only names
# the libraries its tests link:
#   test_*.cpp   one GoogleTest executable each, run on Qt's offscreen platform
#   xtest_*.cpp  one GoogleTest executable each, run on a real X server (Xvfb)
#   wtest_*.cpp  one GoogleTest executable each, run as a client of a private
#                headless Wayland compositor (tests/support/under-weston)
find_package(GTest REQUIRED)
find_program(XVFB_RUN xvfb-run)
# Without it the X11 tests would quietly not run and the suite would pass
# with fewer tests.
if(NOT XVFB_RUN)
  message(FATAL_ERROR "xvfb-run not found: the X11 tests need it (scripts/bootstrap installs it)")
endif()
find_program(WESTON weston)
if(NOT WESTON)
  message(FATAL_ERROR "weston not found: the Wayland tests need it (scripts/bootstrap installs it)")
endif()

# intercept_tls_get_addr=0: the leak checker's record of each thread's
# dynamic TLS blocks misreads blocks that glibc allocates on the heap for
# libraries loaded after start-up, and the checker then crashes at exit.
# Those blocks are ordinary heap chunks reachable from glibc's own table,
# so leak checking loses nothing without the record.
set(VIZO_ASAN_OPTIONS "detect_leaks=1:abort_on_error=0:intercept_tls_get_addr=0")

set(VIZO_TEST_ENV
  "QT_QPA_PLATFORM=offscreen"
  "ASAN_OPTIONS=${VIZO_ASAN_OPTIONS}:strict_string_checks=1"
  "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
  "TSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/tsan.supp:second_deadlock_stack=1:history_size=7"
  "VIZO_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
  "VIZO_BINARY_DIR=${CMAKE_BINARY_DIR}")

function(vizo_add_tests area)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB offscreen_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  file(GLOB x11_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/xtest_*.cpp)
  file(GLOB wayland_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/wtest_*.cpp)
  foreach(src IN LISTS offscreen_tests x11_tests wayland_tests)
    get_filename_component(name ${src} NAME_WE)
    set(target ${area}_${name})
    add_executable(${target} ${src})
    target_link_libraries(${target} PRIVATE vizo_test_main GTest::gtest ${ARG_LIBS})
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
    if(name MATCHES "^xtest_")
      add_test(NAME ${target}
        COMMAND ${XVFB_RUN} -a -s "-screen 0 1920x1080x24" $<TARGET_FILE:${target}>)
      set(env ${VIZO_TEST_ENV})
      list(FILTER env EXCLUDE REGEX "^QT_QPA_PLATFORM=")
      list(APPEND env "QT_QPA_PLATFORM=xcb")
      # libxkbcommon-x11 (loaded by Qt's xcb plugin) strndup()s keymap names
      # that are not NUL-terminated; strict string checks abort every X11
      # test inside QApplication's constructor.
      list(FILTER env EXCLUDE REGEX "^ASAN_OPTIONS=")
      list(APPEND env "ASAN_OPTIONS=${VIZO_ASAN_OPTIONS}")
      # Mesa's software OpenGL leaves allocations behind in a driver it
      # unloads, which LeakSanitizer cannot attribute or suppress: draw on the
      # CPU unless a test asks for OpenGL itself.
      list(APPEND env "LUMEN_RENDERER=cpu")
      set_tests_properties(${target} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 180 LABELS x11)
    elseif(name MATCHES "^wtest_")
      add_test(NAME ${target}
        COMMAND ${CMAKE_SOURCE_DIR}/tests/support/under-weston $<TARGET_FILE:${target}>)
      set(env ${VIZO_TEST_ENV})
      list(FILTER env EXCLUDE REGEX "^(QT_QPA_PLATFORM|ASAN_OPTIONS)=")
      # libxkbcommon reads the compositor's keymap as the X11 tests' does:
      # no strict string checks. The script sets QT_QPA_PLATFORM=wayland.
      list(APPEND env "ASAN_OPTIONS=${VIZO_ASAN_OPTIONS}" "LUMEN_RENDERER=cpu")
      # As on X11, Mesa's EGL (which Qt's Wayland plugin loads for OpenGL
      # windows) leaves allocations in a driver it unloads: the tests draw
      # on the CPU and load no EGL buffer integration at all.
      list(APPEND env "QT_WAYLAND_CLIENT_BUFFER_INTEGRATION=none")
      set_tests_properties(${target} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 180 LABELS wayland)
    else()
      add_test(NAME ${target} COMMAND ${target})
      set_tests_properties(${target} PROPERTIES ENVIRONMENT "${VIZO_TEST_ENV}" TIMEOUT 180)
    endif()
  endforeach()
endfunction()

# Tests whose threads scripts/tsan checks with ThreadSanitizer (label tsan).
function(vizo_tsan_tests)
  foreach(test IN LISTS ARGN)
    set_property(TEST ${test} APPEND PROPERTY LABELS tsan)
  endforeach()
endfunction()
