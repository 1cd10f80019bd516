# The installable, offline page: the web app manifest, the icons rendered
# from the game's icon by rsvg-convert (Debian's librsvg2-bin) and made
# smaller by pngquant, and last the
# service worker (sw.js), written with the build's exact file list and a
# cache named by the build's content hash. Included by src/web/CMakeLists.txt
# once the page's files are known: SITE is the site folder, `copied` the
# page's files and pictures as copied there, and vendral_web the module.
if(NOT SITE OR NOT copied OR NOT TARGET vendral_web)
  message(FATAL_ERROR "offline.cmake needs SITE, the copied page files and the vendral_web target")
endif()

find_program(VENDRAL_RSVG_CONVERT rsvg-convert)
if(NOT VENDRAL_RSVG_CONVERT)
  message(FATAL_ERROR "the web page's icons are drawn by rsvg-convert: install Debian's librsvg2-bin (scripts/deps.sh librsvg2-bin)")
endif()
find_program(VENDRAL_PNGQUANT pngquant)
if(NOT VENDRAL_PNGQUANT)
  message(FATAL_ERROR "the web page's icons are made smaller by pngquant: install Debian's pngquant (scripts/deps.sh pngquant)")
endif()
find_program(VENDRAL_NODE_FOR_WEB node REQUIRED)

set(offline_dir ${CMAKE_CURRENT_LIST_DIR})
# The desk's colour (style.css) behind the maskable icon, as in the manifest.
set(VENDRAL_ICON_BACKGROUND "#1d2430")
set(icons ${SITE}/icons/icon-192.png ${SITE}/icons/icon-512.png ${SITE}/icons/icon-maskable-512.png)
add_custom_command(OUTPUT ${icons}
  COMMAND ${VENDRAL_NODE_FOR_WEB} ${offline_dir}/icons.mjs ${CMAKE_SOURCE_DIR}/data/art/icon.svg ${SITE}/icons ${VENDRAL_ICON_BACKGROUND}
  DEPENDS ${offline_dir}/icons.mjs ${CMAKE_SOURCE_DIR}/data/art/icon.svg
  COMMENT "Rendering the app's icons" VERBATIM)
add_custom_command(OUTPUT ${SITE}/manifest.webmanifest
  COMMAND ${CMAKE_COMMAND} -E copy ${offline_dir}/manifest.webmanifest ${SITE}/manifest.webmanifest
  DEPENDS ${offline_dir}/manifest.webmanifest VERBATIM)

# Every file of the build, by its path in the site: what the worker caches.
set(built ${copied} ${icons} ${SITE}/manifest.webmanifest)
set(precached vendral.js vendral.wasm)
foreach(file ${built})
  file(RELATIVE_PATH name ${SITE} ${file})
  list(APPEND precached ${name})
endforeach()
add_custom_command(OUTPUT ${SITE}/sw.js
  COMMAND ${VENDRAL_NODE_FOR_WEB} ${offline_dir}/precache.mjs ${SITE} ${offline_dir}/sw.js ${precached}
  DEPENDS ${offline_dir}/precache.mjs ${offline_dir}/sw.js ${built} vendral_web $<TARGET_FILE:vendral_web>
  COMMENT "Writing the service worker with the build's file list" VERBATIM)
add_custom_target(vendral_web_offline ALL DEPENDS ${SITE}/sw.js)
add_dependencies(vendral_web_offline vendral_web_page)
