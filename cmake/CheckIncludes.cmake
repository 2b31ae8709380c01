# Fails when a library's sources include a header of a layer above them.
#   cmake -DLIBRARY=sx_gdi -DDIR=<folder> -DROOT=<source root>
#         -DALLOWED=platform/rtl,platform/gdi -DSTAMP=<file> -P CheckIncludes.cmake
# Every quoted include names its header from the source root
# ("platform/rtl/Types.h"); its folder must be the library's own or one that
# the library links. The stamp is written only when all includes pass, so the
# build stops at a wrong include until it is mended.
string(REPLACE "," ";" _allowed "${ALLOWED}")
file(GLOB_RECURSE _files "${DIR}/*.h" "${DIR}/*.cpp" "${DIR}/*.c")
set(_errors "")
foreach(_f IN LISTS _files)
  file(STRINGS "${_f}" _lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(_line IN LISTS _lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" _inc "${_line}")
    set(_ok FALSE)
    foreach(_a IN LISTS _allowed)
      string(FIND "${_inc}" "${_a}/" _at)
      if(_at EQUAL 0)
        set(_ok TRUE)
        break()
      endif()
    endforeach()
    if(NOT _ok)
      file(RELATIVE_PATH _relf "${ROOT}" "${_f}")
      string(APPEND _errors "  ${_relf}: \"${_inc}\"\n")
    endif()
  endforeach()
endforeach()
if(_errors)
  message(FATAL_ERROR "${LIBRARY} may include only ${ALLOWED}; these includes reach past them:\n${_errors}")
endif()
file(TOUCH "${STAMP}")
