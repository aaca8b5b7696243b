# The project's layers and the includes between its folders.
#
#   cmake -DROOT=<source folder> [-DDOT=<file>] [-DCHECK=ON] [-DSTAMP=<file>] -P tools/layers.cmake
#
# Reads every source and header of the project's own folders, finds which
# folder each quoted #include names, and prints one line per pair of
# folders with the number of includes between them. DOT writes the same as
# a Graphviz graph. With CHECK it fails on every include that the table of
# layers below does not allow (an include that runs upward, or sideways
# between two libraries that must not know each other), naming the file
# and the line; STAMP is touched when all is well, so that the build can
# run the check only when a source changed. The build runs it so (the
# top-level CMakeLists.txt): every library waits for the check.
#
# Layers, from the ground up: platform and the embedded resources know
# nothing of the rest; the engine and the framework know only platform, and
# not each other; the Qt backend is the framework's own; the skinned-window
# module stands on the framework; the application on all of them but the
# Qt backend; main.cpp joins the application and the Qt backend.

cmake_minimum_required(VERSION 3.25)

set(allowed_platform platform)
set(allowed_resources resources)
set(allowed_engine engine platform)
set(allowed_framework framework platform)
set(allowed_framework_qt framework_qt framework platform)
set(allowed_skin skin framework platform)
set(allowed_app app engine framework skin platform resources)
set(allowed_main app framework_qt)
set(layers platform resources engine framework framework_qt skin app main)

# Known exceptions: includes that the table does not allow and that are
# still to be mended elsewhere, each "file: included header". They are
# listed as such and do not fail the check; an exception that no longer
# occurs is reported, so that the list shrinks with the mends.
set(known_exceptions)

# The layer of a path relative to ROOT ("framework/qt/unit_view.cpp" is
# framework_qt); empty for what is no layer (tests, bench, fuzz, build).
function(layer_of path out)
  if(path MATCHES "^framework/qt/")
    set(l framework_qt)
  elseif(path STREQUAL "main.cpp")
    set(l main)
  elseif(path MATCHES "^(platform|resources|engine|framework|skin|app)/")
    set(l ${CMAKE_MATCH_1})
  else()
    set(l "")
  endif()
  set(${out} "${l}" PARENT_SCOPE)
endfunction()

if(NOT ROOT)
  message(FATAL_ERROR "layers.cmake: give -DROOT=<source folder>")
endif()
# A relative ROOT ("." from the source folder) is taken from the folder the
# script runs in; the globs below need it whole.
get_filename_component(ROOT "${ROOT}" ABSOLUTE)

file(GLOB_RECURSE sources RELATIVE "${ROOT}"
  "${ROOT}/platform/*.h" "${ROOT}/platform/*.cpp"
  "${ROOT}/resources/*.h" "${ROOT}/resources/*.cpp"
  "${ROOT}/engine/*.h" "${ROOT}/engine/*.cpp"
  "${ROOT}/framework/*.h" "${ROOT}/framework/*.cpp"
  "${ROOT}/skin/*.h" "${ROOT}/skin/*.cpp"
  "${ROOT}/app/*.h" "${ROOT}/app/*.cpp")
if(NOT sources OR NOT EXISTS "${ROOT}/main.cpp")
  # A check that read nothing would pass with nothing to say.
  message(FATAL_ERROR "layers.cmake: no sources of the layers under ${ROOT}")
endif()
list(APPEND sources main.cpp)
list(SORT sources)

set(violations "")
set(excused "")
set(edges "")
foreach(source IN LISTS sources)
  layer_of("${source}" from)
  if(from STREQUAL "")
    continue()
  endif()
  file(STRINGS "${ROOT}/${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "#[ \t]*include[ \t]+\"([^\"]+)\"")
      continue()
    endif()
    set(included "${CMAKE_MATCH_1}")
    layer_of("${included}" to)
    if(to STREQUAL "")
      # A header beside the source ("units.h" in app/), or one of no layer.
      if(EXISTS "${ROOT}/${source}/../${included}")
        set(to ${from})
      else()
        continue()
      endif()
    endif()
    if(NOT to STREQUAL from)
      list(APPEND edges "${from}>${to}")
    endif()
    if(NOT to IN_LIST allowed_${from})
      if("${source}: ${included}" IN_LIST known_exceptions)
        list(APPEND excused "${source}: ${included}")
      else()
        list(APPEND violations "${source}: #include \"${included}\" (${from} may not include ${to})")
      endif()
    endif()
  endforeach()
endforeach()

# One line per pair of layers: "from -> to: count".
set(report "")
set(dot "digraph layers {\n  rankdir=BT;\n  node [shape=box];\n")
list(REMOVE_DUPLICATES layers)
foreach(from IN LISTS layers)
  foreach(to IN LISTS layers)
    set(count 0)
    foreach(edge IN LISTS edges)
      if(edge STREQUAL "${from}>${to}")
        math(EXPR count "${count} + 1")
      endif()
    endforeach()
    if(count GREATER 0)
      string(APPEND report "  ${from} -> ${to}: ${count}\n")
      string(APPEND dot "  \"${from}\" -> \"${to}\" [label=\"${count}\"];\n")
    endif()
  endforeach()
endforeach()
string(APPEND dot "}\n")
if(DOT)
  file(WRITE "${DOT}" "${dot}")
endif()

set(mended "")
foreach(e IN LISTS known_exceptions)
  if(NOT e IN_LIST excused)
    list(APPEND mended "${e}")
  endif()
endforeach()

list(LENGTH violations bad)
if(NOT CHECK)
  message(STATUS "Includes between the layers:\n${report}")
  foreach(v IN LISTS violations)
    message(STATUS "not allowed: ${v}")
  endforeach()
  foreach(e IN LISTS excused)
    message(STATUS "known exception, to be mended: ${e}")
  endforeach()
  foreach(e IN LISTS mended)
    message(STATUS "known exception no longer found, to be taken off the list: ${e}")
  endforeach()
else()
  foreach(e IN LISTS mended)
    message(WARNING "known exception no longer found, to be taken off the list: ${e}")
  endforeach()
  if(bad GREATER 0)
    string(REPLACE ";" "\n  " list "${violations}")
    message(FATAL_ERROR "includes that cross the layers the wrong way:\n  ${list}")
  elseif(STAMP)
    file(TOUCH "${STAMP}")
  endif()
endif()
