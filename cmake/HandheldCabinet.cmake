# The handheld's installer cabinet, build/handheld/cab/TavrinFoldKeyboard.cab:
# the desktop build's cabinet maker (DESKTOP_BUILD, which `make handheld`
# names) runs under Wine on the ARM deliverables and the description that the
# build puts beside them, processor 2577 (ARM).
#
# The keyboard service, KeybdR410.exe, is outside this system and has no ARM
# build here: the cabinet carries the keyboard maker's ARM service when
# KEYBOARD_SERVICE names it, and otherwise an empty file of that name in its
# place, which a user overwrites with that service after installing (README).
set(DESKTOP_BUILD "" CACHE PATH "The desktop build whose cabinet maker makes the handheld's cabinet")
if(NOT DESKTOP_BUILD)
  return()
endif()
set(bin ${CMAKE_BINARY_DIR}/bin)
configure_file(${PROJECT_SOURCE_DIR}/peers/keyboard-service/KeyTap.wav ${bin}/KeyTap.wav COPYONLY)
set(KEYBOARD_SERVICE "" CACHE FILEPATH "The keyboard maker's ARM KeybdR410.exe, for the cabinet")
if(KEYBOARD_SERVICE)
  configure_file(${KEYBOARD_SERVICE} ${bin}/KeybdR410.exe COPYONLY)
else()
  file(WRITE ${bin}/KeybdR410.exe "")
endif()
set(HANDHELD_CABINET ${CMAKE_BINARY_DIR}/cab/TavrinFoldKeyboard.cab)
add_custom_command(OUTPUT ${HANDHELD_CABINET}
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/make-cab.sh ${DESKTOP_BUILD} ${CMAKE_BINARY_DIR}
  DEPENDS settings setup rsn ${PROJECT_SOURCE_DIR}/setup/TavrinFoldKeyboard.inf ${bin}/KeybdR410.exe
    ${DESKTOP_BUILD}/bin/cab-maker.exe
  COMMENT "Making the handheld's installer cabinet cab/TavrinFoldKeyboard.cab"
  VERBATIM)
add_custom_target(cab ALL DEPENDS ${HANDHELD_CABINET})
