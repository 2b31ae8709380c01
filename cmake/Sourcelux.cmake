# Helpers shared by the tree's CMakeLists.
#
# A layer of platform/ and each top-level folder is one static library built
# from every .cpp below it; new units need no CMake edit. Tests: every folder below tests/ that holds
# *_test.cpp files becomes one test executable whose CTest label is the
# folder's path with "-" for "/", platform/ left out
# (tests/platform/rtl -> "rtl", tests/editor/base -> "editor-base").
# tests/CMakeLists.txt can rename a label (SX_TEST_LABEL_<label>).
# Tests run with LC_ALL=C, so the ANSI code page is 1252 whatever the
# machine's locale.

# sx_add_library(NAME DIR [EXCLUDE entry...] [DEPS lib...])
# EXCLUDE names files or folders directly below DIR that belong to another
# target (a library of their own, the executable's entry point).
# Layers: a library may include the headers of its own folder and of the
# libraries it links (DEPS, transitively), nothing else. Each build checks
# that (cmake/CheckIncludes.cmake) before compiling the library, so an upward
# include fails the build.
function(sx_add_library NAME DIR)
  cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE _srcs CONFIGURE_DEPENDS "${DIR}/*.cpp" "${DIR}/*.c")
  foreach(_x IN LISTS ARG_EXCLUDE)
    list(FILTER _srcs EXCLUDE REGEX "^${DIR}/${_x}(/|$)")
  endforeach()
  if(_srcs)
    add_library(${NAME} STATIC ${_srcs})
    set(_scope PUBLIC)
  else()
    # A folder whose first unit has not arrived yet: headers only.
    add_library(${NAME} INTERFACE)
    set(_scope INTERFACE)
  endif()
  target_include_directories(${NAME} ${_scope} ${PROJECT_SOURCE_DIR})
  if(ARG_DEPS)
    target_link_libraries(${NAME} ${_scope} ${ARG_DEPS})
  endif()
  file(RELATIVE_PATH _own "${PROJECT_SOURCE_DIR}" "${DIR}")
  sx_layer_folders(_allowed ${ARG_DEPS})
  list(PREPEND _allowed "${_own}")
  list(REMOVE_DUPLICATES _allowed)
  set_property(GLOBAL PROPERTY SX_LAYER_FOLDERS_${NAME} "${_allowed}")
  file(GLOB_RECURSE _files CONFIGURE_DEPENDS "${DIR}/*.h" "${DIR}/*.cpp" "${DIR}/*.c")
  string(REPLACE ";" "," _allowed_arg "${_allowed}")
  set(_stamp "${CMAKE_CURRENT_BINARY_DIR}/${NAME}.includes")
  add_custom_command(OUTPUT "${_stamp}"
    COMMAND ${CMAKE_COMMAND} -DLIBRARY=${NAME} "-DDIR=${DIR}" "-DROOT=${PROJECT_SOURCE_DIR}"
            "-DALLOWED=${_allowed_arg}" "-DSTAMP=${_stamp}"
            -P "${PROJECT_SOURCE_DIR}/cmake/CheckIncludes.cmake"
    DEPENDS ${_files} "${PROJECT_SOURCE_DIR}/cmake/CheckIncludes.cmake"
    COMMENT "Checking ${NAME}'s includes against its layers"
    VERBATIM)
  add_custom_target(${NAME}_includes DEPENDS "${_stamp}")
  add_dependencies(${NAME} ${NAME}_includes)
endfunction()

# sx_add_umbrella(NAME lib...): one name for a group of layers (sx_platform).
function(sx_add_umbrella NAME)
  add_library(${NAME} INTERFACE)
  target_link_libraries(${NAME} INTERFACE ${ARGN})
  sx_layer_folders(_allowed ${ARGN})
  set_property(GLOBAL PROPERTY SX_LAYER_FOLDERS_${NAME} "${_allowed}")
endfunction()

# The folders that libraries LIBS and all below them may include.
function(sx_layer_folders OUT)
  set(_all "")
  foreach(_lib IN LISTS ARGN)
    get_property(_f GLOBAL PROPERTY SX_LAYER_FOLDERS_${_lib})
    list(APPEND _all ${_f})
  endforeach()
  list(REMOVE_DUPLICATES _all)
  set(${OUT} "${_all}" PARENT_SCOPE)
endfunction()

function(sx_add_test_areas ROOT)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  file(GLOB_RECURSE _tests CONFIGURE_DEPENDS "${ROOT}/*_test.cpp")
  set(_dirs "")
  foreach(_t IN LISTS _tests)
    get_filename_component(_d "${_t}" DIRECTORY)
    list(APPEND _dirs "${_d}")
  endforeach()
  list(REMOVE_DUPLICATES _dirs)
  foreach(_d IN LISTS _dirs)
    file(GLOB _srcs CONFIGURE_DEPENDS "${_d}/*.cpp")
    file(RELATIVE_PATH _rel "${ROOT}" "${_d}")
    string(REPLACE "/" "_" _name "${_rel}")
    string(REGEX REPLACE "^platform/" "" _label "${_rel}")
    string(REPLACE "/" "-" _label "${_label}")
    if(DEFINED SX_TEST_LABEL_${_label})
      set(_label "${SX_TEST_LABEL_${_label}}")
    endif()
    set(_exe "sx_${_name}_tests")
    add_executable(${_exe} ${_srcs})
    target_include_directories(${_exe} PRIVATE ${PROJECT_SOURCE_DIR} ${ROOT})
    target_link_libraries(${_exe} PRIVATE ${SX_TEST_LIBRARIES} GTest::gtest GTest::gmock GTest::gtest_main)
    # gtest's headers dominate a test file's compile time: parse them once.
    target_precompile_headers(${_exe} PRIVATE <gtest/gtest.h>)
    target_compile_definitions(${_exe} PRIVATE
      SX_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      SX_CORPUS_DIR="${PROJECT_SOURCE_DIR}/../shared/corpus")
    # The export areas' integration tests and the rich edit's corpus road
    # test run the conversion harness.
    if(_rel MATCHES "^export" OR _rel STREQUAL "platform/richedit")
      target_compile_definitions(${_exe} PRIVATE SX_CONVERT_HARNESS="$<TARGET_FILE:convert-harness>")
      add_dependencies(${_exe} convert-harness)
    endif()
    # The X11 tests drive a real server and window manager with pointer
    # and keys; beside a loaded machine's other tests their events come
    # late, so they run alone.
    set(_serial FALSE)
    if(_label STREQUAL "x11")
      set(_serial TRUE)
    endif()
    gtest_discover_tests(${_exe}
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      PROPERTIES LABELS ${_label} ENVIRONMENT "LC_ALL=C" TIMEOUT ${SX_TEST_TIMEOUT} RUN_SERIAL ${_serial}
      DISCOVERY_TIMEOUT 60)
  endforeach()
endfunction()
