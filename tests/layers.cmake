# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Melvo developers
# Reads the includes of every source under SOURCE_DIR and fails, naming the
# file and the include, when a layer includes a header of a layer above it
# (core < desktop < window < app), or when a core file includes a header of
# Qt's GUI, widget, bus or network modules (their folders under QT_HEADERS).
#   cmake -DSOURCE_DIR=src -DQT_HEADERS=/usr/include/.../qt6 -P layers.cmake
set(layers core desktop window app)
set(forbidden_in_core QtGui QtWidgets QtDBus QtNetwork)

set(forbidden_headers)
foreach(module ${forbidden_in_core})
  file(GLOB headers RELATIVE ${QT_HEADERS}/${module} ${QT_HEADERS}/${module}/*)
  list(APPEND forbidden_headers ${headers})
endforeach()
if(NOT forbidden_headers)
  message(FATAL_ERROR "no Qt module headers under ${QT_HEADERS}")
endif()

set(faults)
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
foreach(source ${sources})
  string(REGEX MATCH "^[^/]+" layer ${source})
  list(FIND layers ${layer} rank)
  if(rank EQUAL -1)
    list(APPEND faults "src/${source}: lies in no layer (${layers})")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" header "${line}")
    string(REGEX MATCH "^[^/]+" first "${header}")
    list(FIND layers "${first}" included_rank)
    if(included_rank GREATER rank)
      list(APPEND faults "src/${source}: includes \"${header}\" of the ${first} layer, above ${layer}")
    endif()
    if(layer STREQUAL core)
      list(FIND forbidden_in_core "${first}" module)
      list(FIND forbidden_headers "${header}" forbidden)
      if(NOT module EQUAL -1 OR NOT forbidden EQUAL -1)
        list(APPEND faults "src/${source}: includes <${header}>, a Qt GUI, widget, bus or network header")
      endif()
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n" report)
  message(FATAL_ERROR "${report}")
endif()
list(LENGTH sources count)
message(STATUS "${count} sources, every include runs downward")
