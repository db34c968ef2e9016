# Installs the build into a folder of its own and checks what a desktop needs.
# Every rule is in the default component; naming it keeps the manifest of a
# user's own install (install_manifest.txt) as it was.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                        --component Unspecified
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${err}")
endif()
foreach(file bin/kestrel bin/kestrel-batch share/applications/kestrel.desktop
             share/icons/hicolor/scalable/apps/kestrel.svg
             share/icons/hicolor/48x48/apps/kestrel.png
             share/icons/hicolor/256x256/apps/kestrel.png)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(READ ${PREFIX}/share/applications/kestrel.desktop entry)
foreach(line "Exec=kestrel %f\n" "Icon=kestrel\n" "MimeType=application/json" "Type=Application\n")
  string(FIND "${entry}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the menu entry lacks \"${line}\"")
  endif()
endforeach()
execute_process(COMMAND ${PREFIX}/bin/kestrel-batch --version OUTPUT_VARIABLE version)
if(NOT version MATCHES "^kestrel-batch [0-9]")
  message(FATAL_ERROR "the installed runner says: ${version}")
endif()
