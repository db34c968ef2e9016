# The layers, from the top down. Each folder may use (include, link) only
# itself and the folders listed for it, so a lower layer never sees a higher
# one; the Qt-free folders never see Qt. cmake/CheckLayers.cmake checks it on
# every build and as a test.
#
#   windows                   all windows; Qt Widgets
#   batch                     kestrel-batch
#   run  cases                the run driver; case files
#   plot  report              the result plot; the result table and exports
#   mesh                      the mesh picture and display
#   solver  cells             the flow solver; the cell map and its editing
#   staggered                 the second method's solver (staggered grid, Eigen)
#   geometry  fields  canvas  mesh nodes and coordinate lists; quantities derived from the
#                             field (vorticity); the drawing surface (QtGui only)
#   app                       the shared state, the parameter table and the ports
#   runtime                   Integer, numbers, failures, arrays, files
set(KESTREL_LAYERS
  "runtime:runtime"
  "app:runtime app"
  "canvas:runtime app canvas"
  "geometry:runtime app geometry"
  "fields:runtime app fields"
  "cells:runtime app cells"
  "staggered:runtime app staggered"
  "solver:runtime app geometry staggered solver"
  "mesh:runtime app geometry cells mesh"
  "plot:runtime app geometry fields cells mesh plot"
  "report:runtime app fields report"
  "run:runtime app geometry fields cells mesh staggered solver plot run"
  "cases:runtime app cells cases"
  "batch:runtime app canvas geometry fields cells staggered solver mesh plot report run cases batch"
  "windows:runtime app canvas geometry fields cells staggered solver mesh plot report run cases windows")
set(KESTREL_QT_FREE runtime app geometry fields cells staggered solver mesh plot report run cases)
