# Fails when a source under SOURCES includes a header against the order of
# the layers, and names every such include. The order (also in the README):
#
#   core          finance < tables < calculators < amortization < records
#                 no Qt; a core folder includes only itself and folders
#                 before it
#   components    Qt; from the core only finance
#   windows       calculators/ui < amortization/ui < records/ui < app, cli
#                 X/ui includes the core up to X, components, and the window
#                 folders before it; app and cli include everything but each
#                 other
set(core finance tables calculators amortization records)
set(windows calculators/ui amortization/ui records/ui)

# Folder of a path under src/: "amortization/ui", "components", "app" ...
function(folder_of path out)
  if(path MATCHES "^([a-z_]+)/ui/")
    set(${out} "${CMAKE_MATCH_1}/ui" PARENT_SCOPE)
  elseif(path MATCHES "^([a-z_]+)/")
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

# True when a source of folder `from` may include a header of folder `to`.
function(allowed from to out)
  set(ok FALSE)
  list(FIND core "${from}" fromCore)
  list(FIND core "${to}" toCore)
  list(FIND windows "${from}" fromWindow)
  list(FIND windows "${to}" toWindow)
  if(from STREQUAL to)
    set(ok TRUE)
  elseif(fromCore GREATER -1)
    if(toCore GREATER -1 AND toCore LESS fromCore)
      set(ok TRUE)
    endif()
  elseif(from STREQUAL "components")
    if(to STREQUAL "finance")
      set(ok TRUE)
    endif()
  elseif(fromWindow GREATER -1)
    string(REGEX REPLACE "/ui$" "" layer "${from}")
    list(FIND core "${layer}" layerCore)
    if(toCore GREATER -1 AND NOT toCore GREATER layerCore)
      set(ok TRUE)
    elseif(to STREQUAL "components")
      set(ok TRUE)
    elseif(toWindow GREATER -1 AND toWindow LESS fromWindow)
      set(ok TRUE)
    endif()
  elseif(from STREQUAL "app" OR from STREQUAL "cli")
    if(NOT to STREQUAL "app" AND NOT to STREQUAL "cli")
      set(ok TRUE)
    endif()
  endif()
  set(${out} ${ok} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files RELATIVE ${SOURCES} ${SOURCES}/*.h ${SOURCES}/*.cpp)
set(bad "")
set(count 0)
foreach(f ${files})
  folder_of("${f}" from)
  list(FIND core "${from}" fromCore)
  file(STRINGS ${SOURCES}/${f} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${lines})
    math(EXPR count "${count} + 1")
    if(fromCore GREATER -1 AND line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*|Qt[A-Za-z]*/)")
      string(APPEND bad "\n  ${f}: ${line} (Qt in the core)")
    elseif(line MATCHES "#[ \t]*include[ \t]*\"([a-z_]+/[^\"]+)\"")
      folder_of("${CMAKE_MATCH_1}" to)
      allowed("${from}" "${to}" ok)
      if(NOT ok)
        string(APPEND bad "\n  ${f}: ${line} (${from} may not include ${to})")
      endif()
    endif()
  endforeach()
endforeach()
if(bad)
  message(FATAL_ERROR "Includes against the order of the layers:${bad}")
endif()
message(STATUS "${count} includes follow the order of the layers")
