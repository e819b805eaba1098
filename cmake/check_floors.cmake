# The floors of src/, lowest first: a file may include the headers of its own folder and of the
# floors below it, never of one above. objfile/ stays a pure S-record library on platform/ alone.
# Above app/ stand the three fronts, side by side; cli/ stands on job/ and below, not on app/;
# the simulated target uses platform/ only.
#
# Run at configure time (include() from the top CMakeLists.txt) and as the test `floors`:
#   cmake -DVANTREL_SOURCE_DIR=<checkout> -P cmake/check_floors.cmake
if(CMAKE_SCRIPT_MODE_FILE)
  cmake_policy(VERSION 3.22)
endif()

set(VANTREL_FLOORS platform core serial inquiry objfile config job app)
set(VANTREL_FRONTS app/qt app/win32 cli)
set(VANTREL_CONTROL_NAMES
    "(Edit1|ComboBox[A-Za-z0-9]*|TrackBar1|Panel5|Button[A-Z0-9][A-Za-z0-9]*|CheckBox[0-9]|PAN_[A-Z_]+)")

# The floor or front a path below src/ belongs to (a header's include path or a file's own).
function(vantrel_folder_of path out)
  if(path MATCHES "^(app/qt|app/win32)/")
    set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
  elseif(path MATCHES "^([a-z0-9_]+)/")
    set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

function(vantrel_may_include from to out)
  list(FIND VANTREL_FLOORS "${from}" _from)
  list(FIND VANTREL_FLOORS "${to}" _to)
  list(FIND VANTREL_FRONTS "${from}" _front)
  set(_ok FALSE)
  if(from STREQUAL to)
    set(_ok TRUE)
  elseif(from STREQUAL "objfile" OR from STREQUAL "simulator")
    if(to STREQUAL "platform")
      set(_ok TRUE)
    endif()
  elseif(_from GREATER_EQUAL 0 AND _to GREATER_EQUAL 0 AND _to LESS _from)
    set(_ok TRUE)
  elseif(from STREQUAL "cli" AND to STREQUAL "app")
    # The command line runs jobs on inputs and events of its own; the window is not its floor.
  elseif(_front GREATER_EQUAL 0 AND _to GREATER_EQUAL 0)
    set(_ok TRUE)
  endif()
  set(${out} ${_ok} PARENT_SCOPE)
endfunction()

function(vantrel_check_floors source_dir)
  file(GLOB_RECURSE _files RELATIVE ${source_dir}/src ${source_dir}/src/*.cpp ${source_dir}/src/*.h)
  set(_known ${VANTREL_FLOORS} ${VANTREL_FRONTS} simulator)
  set(_wrong "")
  foreach(_file IN LISTS _files)
    vantrel_folder_of(${_file} _from)
    if(NOT _from IN_LIST _known)
      string(APPEND _wrong "\n  src/${_file}: a folder of no floor")
      continue()
    endif()
    # The window's controls are the window's own: below app/ a job speaks of inputs and events.
    list(FIND VANTREL_FLOORS "${_from}" _floor)
    list(FIND VANTREL_FLOORS "app" _app)
    if(_floor GREATER_EQUAL 0 AND _floor LESS _app)
      file(STRINGS ${source_dir}/src/${_file} _named REGEX "${VANTREL_CONTROL_NAMES}")
      foreach(_line IN LISTS _named)
        string(REGEX MATCH "${VANTREL_CONTROL_NAMES}" _name "${_line}")
        string(APPEND _wrong "\n  src/${_file} names the window's control ${_name}")
      endforeach()
    endif()
    file(STRINGS ${source_dir}/src/${_file} _lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(_line IN LISTS _lines)
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" _header "${_line}")
      vantrel_folder_of(${_header} _to)
      if(NOT _to IN_LIST _known)
        continue()  # generated headers and the like
      endif()
      vantrel_may_include(${_from} ${_to} _ok)
      if(NOT _ok)
        string(APPEND _wrong "\n  src/${_file} includes ${_header}: ${_from} may not use ${_to}")
      endif()
    endforeach()
  endforeach()
  if(_wrong)
    message(FATAL_ERROR "A file includes a header of a floor above its own, or names a control "
                        "below app/ (see cmake/check_floors.cmake):${_wrong}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  vantrel_check_floors(${VANTREL_SOURCE_DIR})
endif()
