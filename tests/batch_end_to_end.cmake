# Runs kestrel-batch on a small case and checks its outputs; then a bad case.
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/case.json [=[{"nx": 12, "ny": 8, "stepCount": 6, "obstacles": [[5, 4]], "display": "speed"}]=])
execute_process(COMMAND ${BATCH} ${WORK}/case.json --table ${WORK}/t.txt --csv ${WORK}/t.csv
                        --stats ${WORK}/s.json --image ${WORK}/p.bmp
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "kestrel-batch failed: ${err}")
endif()
file(SIZE ${WORK}/t.txt size)
math(EXPR expected "87 + 44 * 12 * 8")
if(NOT size EQUAL expected)
  message(FATAL_ERROR "table has ${size} characters, expected ${expected}")
endif()
# A CSV output with this many lines, the first of them this header.
function(expect_csv file lines header)
  file(STRINGS ${file} rows)
  list(LENGTH rows count)
  list(GET rows 0 first)
  if(NOT count EQUAL lines OR NOT first STREQUAL header)
    message(FATAL_ERROR "${file}: ${count} lines, header ${first}")
  endif()
endfunction()
expect_csv(${WORK}/t.csv 97 "i,j,x,y,U,V,P,vorticity")
file(READ ${WORK}/s.json stats)
string(JSON steps LENGTH "${stats}" sweeps)
if(NOT steps EQUAL 6)
  message(FATAL_ERROR "stats hold ${steps} steps")
endif()
file(READ ${WORK}/p.bmp head LIMIT 2)
if(NOT head STREQUAL "BM")
  message(FATAL_ERROR "image is not a BMP")
endif()

# Each way of ending has its own status, so a script can tell them apart.
function(expect_status expected pattern)
  execute_process(COMMAND ${BATCH} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  set(err "${out}${err}")
  if(NOT rc EQUAL expected OR NOT err MATCHES "${pattern}")
    message(FATAL_ERROR "kestrel-batch ${ARGN}: status ${rc}, expected ${expected}: ${err}")
  endif()
endfunction()

expect_status(0 "Exit status" --help)
expect_status(1 "--nonsense" ${WORK}/case.json --nonsense)

file(WRITE ${WORK}/bad.json [=[{"nx": 12, "dt": 0}]=])
expect_status(2 "時間刻みが 0" ${WORK}/bad.json)
expect_status(1 "is also the file of --table" ${WORK}/case.json --table ${WORK}/x --csv ${WORK}/x)
expect_status(1 "is also the case file" ${WORK}/case.json --table ${WORK}/case.json)

# Progress: every 50th step and the last, nothing else.
file(WRITE ${WORK}/progress.json [=[{"nx": 8, "ny": 6, "stepCount": 120, "maxIter": 2}]=])
execute_process(COMMAND ${BATCH} ${WORK}/progress.json RESULT_VARIABLE rc ERROR_VARIABLE err)
string(REGEX MATCHALL "step [0-9]+ / 120" lines "${err}")
if(NOT lines STREQUAL "step 50 / 120;step 100 / 120;step 120 / 120")
  message(FATAL_ERROR "progress lines: ${lines}")
endif()

# A picture that cannot be drawn is a failure, and leaves no file.
file(WRITE ${WORK}/tall.json [=[{"nx": 8, "ny": 12, "stepCount": 3, "maxIter": 5, "meshSizeX": 1, "meshSizeY": 32767}]=])
file(REMOVE ${WORK}/tall.png)
expect_status(4 "--image: the plot could not be drawn" ${WORK}/tall.json --image ${WORK}/tall.png
              --table ${WORK}/tall.txt)
if(EXISTS ${WORK}/tall.png OR NOT EXISTS ${WORK}/tall.txt)
  message(FATAL_ERROR "a failed picture left a file, or took the table with it")
endif()

# A diverged run writes the last finite field.
file(WRITE ${WORK}/unstable.json [=[{"nx": 20, "ny": 12, "meshSizeX": 1, "meshSizeY": 1, "dt": 2,
  "stepCount": 300, "obstacles": [[6, 5], [7, 5], [6, 6], [7, 6]]}]=])
file(REMOVE ${WORK}/unstable.csv)
expect_status(3 "the run diverged; the outputs hold step" ${WORK}/unstable.json
              --csv ${WORK}/unstable.csv)
file(STRINGS ${WORK}/unstable.csv rows)
list(LENGTH rows count)
if(NOT count EQUAL 241 OR rows MATCHES "inf|nan")
  message(FATAL_ERROR "the diverged run's CSV: ${count} lines")
endif()

# The exports: VTK of the field, the history, and a frame every displayInterval steps.
file(WRITE ${WORK}/frames.json [=[{"nx": 12, "ny": 8, "stepCount": 10, "displayInterval": 3,
  "obstacles": [[5, 4]]}]=])
file(REMOVE_RECURSE ${WORK}/frames)
expect_status(0 "done: 10 steps" ${WORK}/frames.json --vtk ${WORK}/f.vtk
              --history ${WORK}/h.csv --frames ${WORK}/frames)
file(GLOB frames RELATIVE ${WORK}/frames ${WORK}/frames/*)
if(NOT frames STREQUAL "frame-00001.png;frame-00002.png;frame-00003.png")
  message(FATAL_ERROR "frames of steps 3, 6, 9 expected: ${frames}")
endif()
file(READ ${WORK}/frames/frame-00001.png head LIMIT 4 HEX)
if(NOT head STREQUAL "89504e47")
  message(FATAL_ERROR "a frame is not a PNG")
endif()
expect_csv(${WORK}/h.csv 11 "step,sweeps,lastError")
file(STRINGS ${WORK}/f.vtk vtk LIMIT_COUNT 5)
list(GET vtk 4 dimensions)
if(NOT dimensions STREQUAL "DIMENSIONS 13 9 1")
  message(FATAL_ERROR "VTK: ${vtk}")
endif()
file(WRITE ${WORK}/never.json [=[{"nx": 12, "ny": 8, "stepCount": 3, "displayInterval": 0}]=])
expect_status(1 "--frames needs a displayInterval of 1 or more" ${WORK}/never.json
              --frames ${WORK}/frames)

# Forces on the default obstacle: a row every step, the last as published;
# without an obstacle the run says so and writes nothing.
file(WRITE ${WORK}/obstacle.json
     [=[{"obstacleRuns": [[14, 15, 19], [15, 15, 19], [16, 15, 19], [17, 15, 19], [18, 15, 19]]}]=])
expect_status(0 "done: 400 steps" ${WORK}/obstacle.json --forces ${WORK}/forces.csv)
expect_csv(${WORK}/forces.csv 401 "step,Cd,Cl,CdPressure,CdFriction")
file(STRINGS ${WORK}/forces.csv last REGEX "^400,")
if(NOT last MATCHES "^400,2\\.95665023[0-9]*,-0\\.0073475574[0-9]*,")
  message(FATAL_ERROR "step 400 of the forces: ${last}")
endif()
file(WRITE ${WORK}/no-obstacle.json [=[{"nx": 12, "ny": 8, "stepCount": 3}]=])
file(REMOVE ${WORK}/none.csv)
expect_status(4 "no obstacle and no force" ${WORK}/no-obstacle.json --forces ${WORK}/none.csv)
if(EXISTS ${WORK}/none.csv)
  message(FATAL_ERROR "forces written without an obstacle")
endif()

# A monitor cell: its values every step, and why there is no Strouhal number yet.
file(WRITE ${WORK}/monitor.json [=[{"nx": 12, "ny": 8, "stepCount": 7, "monitor": [6, 4]}]=])
expect_status(0 "Strouhal number: none; V at the monitor crossed its mean upwards"
              ${WORK}/monitor.json --monitor ${WORK}/monitor.csv)
expect_csv(${WORK}/monitor.csv 8 "step,U,V,P")
expect_status(4 "has no \"monitor\"" ${WORK}/no-obstacle.json --monitor ${WORK}/none.csv)
