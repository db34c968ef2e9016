# The layers, checked when the build is configured: each folder may include
# only its own headers and those of the folders listed for it, so a lower
# layer never sees a higher one; the core folders never see a Qt header.
#
#   windows                     all windows; Qt Widgets
#   batch                       kestrel-batch
#   app/run  cases              the run driver; case files
#   plot  report  mesh  cells   the subsystems (mesh: geometry apart from drawing)
#   solver                      the flow solver, on mesh geometry alone
#   canvas                      the QImage drawing surface (QtGui only)
#   app                         the shared state and the ports
#   runtime                     Integer, numbers, failures, arrays, files
set(KESTREL_LAYERS
  "runtime:runtime"
  "app:runtime app/simulation_state app/host app/surface app/handler_guard app/defaults app/limits"
  "canvas:runtime app canvas"
  "cells:runtime app cells"
  "mesh:runtime app cells mesh"
  "solver:runtime app mesh/mesh_nodes solver"
  "plot:runtime app cells mesh plot"
  "report:runtime app report"
  "app/run:runtime app solver plot app/run"
  "cases:runtime app cells cases"
  "batch:runtime app app/run canvas cells mesh solver plot report cases batch"
  "windows:runtime app app/run canvas cells mesh solver plot report cases windows")
set(KESTREL_QT_FREE runtime app cells mesh solver plot report app/run cases)

function(kestrel_check_layers)
  foreach(entry IN LISTS KESTREL_LAYERS)
    string(REPLACE ":" ";" parts "${entry}")
    list(GET parts 0 folder)
    list(GET parts 1 allowed)
    string(REPLACE " " ";" allowed "${allowed}")
    file(GLOB sources ${CMAKE_SOURCE_DIR}/${folder}/*.h ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    foreach(source IN LISTS sources)
      file(STRINGS ${source} includes REGEX "^#include [<\"]")
      foreach(line IN LISTS includes)
        if(line MATCHES "^#include <Q" AND folder IN_LIST KESTREL_QT_FREE)
          message(FATAL_ERROR "${source}: a core file must not include Qt (${line})")
        endif()
        if(NOT line MATCHES "^#include \"([^\"]+)\"")
          continue()
        endif()
        set(header "${CMAKE_MATCH_1}")
        if(NOT header MATCHES "/")
          continue() # a header of the same folder
        endif()
        # "app" alone is the state and the ports; the run driver is app/run.
        set(ok FALSE)
        foreach(prefix IN LISTS allowed)
          if(header MATCHES "^${prefix}" AND NOT (prefix STREQUAL "app" AND header MATCHES "^app/run/"))
            set(ok TRUE)
          endif()
        endforeach()
        if(NOT ok)
          message(FATAL_ERROR "${source}: ${folder}/ may not include ${header}: it lies in a higher layer")
        endif()
      endforeach()
    endforeach()
  endforeach()
endfunction()
