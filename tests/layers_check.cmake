# The layer check refuses a tree with an upward include of each form, one in
# a subfolder, an upward link and Qt in a core folder, naming each; the
# checkout itself passes.
set(TREE ${WORK}/tree)
file(REMOVE_RECURSE ${TREE})
file(WRITE ${TREE}/cells/quoted.cpp "#include \"solver/time_step.h\"\n")
file(WRITE ${TREE}/cells/angled.cpp "#include <plot/field_plot.h>\n")
file(WRITE ${TREE}/report/sub/deep.h "  #  include \"windows/main_window.h\"\n")
file(WRITE ${TREE}/solver/qt.h "#include <QImage>\n")
file(WRITE ${TREE}/plot/CMakeLists.txt "add_library(kestrel_plot STATIC p.cpp)\n")
file(WRITE ${TREE}/cells/CMakeLists.txt
     "add_library(kestrel_cells STATIC quoted.cpp)\ntarget_link_libraries(kestrel_cells PUBLIC\n  kestrel_state kestrel_plot)\n")

execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE=${TREE} -P ${SOURCE}/cmake/CheckLayers.cmake
                RESULT_VARIABLE rc ERROR_VARIABLE err)
string(REGEX REPLACE "[ \n]+" " " err "${err}")
if(rc EQUAL 0)
  message(FATAL_ERROR "a tree with broken layers passed")
endif()
foreach(expected "cells/ may not include solver/time_step.h" "cells/ may not include plot/field_plot.h"
        "report/ may not include windows/main_window.h" "solver/ must not include Qt (QImage)"
        "cells/ may not link kestrel_plot")
  string(FIND "${err}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "not reported: ${expected}\n${err}")
  endif()
endforeach()

execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE=${SOURCE} -P ${SOURCE}/cmake/CheckLayers.cmake
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the checkout's layers are broken:\n${err}")
endif()
file(REMOVE_RECURSE ${TREE})
