# Installs the build into a scratch folder and checks that the binary, the
# menu entry, the icon and the metainfo land in their standard places.
file(REMOVE_RECURSE "${DEST}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${DEST}" RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
foreach(f bin/vendral
          share/applications/org.vendral.Vendral.desktop
          share/metainfo/org.vendral.Vendral.metainfo.xml
          share/icons/hicolor/scalable/apps/org.vendral.Vendral.svg)
  if(NOT EXISTS "${DEST}/${f}")
    message(FATAL_ERROR "missing after install: ${f}")
  endif()
endforeach()
file(READ "${DEST}/share/applications/org.vendral.Vendral.desktop" entry)
if(NOT entry MATCHES "\nExec=vendral\n" OR NOT entry MATCHES "\nIcon=org.vendral.Vendral\n")
  message(FATAL_ERROR "the menu entry does not start the installed game with its icon")
endif()
