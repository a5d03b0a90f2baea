# The user manual (HTML, Russian and English) and its pictures.
#
# docs/manual/{ru,en} hold the page sources. The target `manual` (part of `all`) assembles them into
# <build>/manual/{ru,en}: pages, style sheet and the pictures that exist. A page marks a picture with
# a placeholder comment
#     <!--picture:NAME|Alternative text-->
# which becomes a figure showing img/NAME.png when that picture was taken, and disappears otherwise,
# so the manual builds without a broken link on machines without Xvfb.
#
# The pictures are taken by grx1 itself under Xvfb (its GRX1_SAMPLE_IMPACTS and GRX1_GRAB hooks), in
# scratch copies of the program folder so that no GRX1.ini is left beside the built program. They are
# taken once, on the first build that finds them missing, and not again on every relink of grx1: that
# would add a few seconds to nearly every build. `cmake --build ... --target manual-pictures` takes
# them again (do so before packaging when the window has changed).
include(GNUInstallDirs)

option(GRX1_MANUAL_PICTURES "Take the manual's pictures with grx1 under Xvfb when xvfb-run is present" ON)

set(GRX1_MANUAL_SOURCE "${PROJECT_SOURCE_DIR}/docs/manual")
set(GRX1_MANUAL_DIR "${PROJECT_BINARY_DIR}/manual")
set(GRX1_MANUAL_PICTURE_DIR "${PROJECT_BINARY_DIR}/manual-pictures")

file(GLOB_RECURSE grx1_manual_sources CONFIGURE_DEPENDS "${GRX1_MANUAL_SOURCE}/*")

set(grx1_manual_assemble
  "${CMAKE_COMMAND}" "-DSOURCE=${GRX1_MANUAL_SOURCE}" "-DDEST=${GRX1_MANUAL_DIR}"
  "-DPICTURES=${GRX1_MANUAL_PICTURE_DIR}" -P "${PROJECT_SOURCE_DIR}/cmake/ManualAssemble.cmake")

set(grx1_manual_depends ${grx1_manual_sources} "${PROJECT_SOURCE_DIR}/cmake/ManualAssemble.cmake")

set(grx1_manual_with_pictures OFF)
if(GRX1_MANUAL_PICTURES AND TARGET grx1)
  find_program(GRX1_XVFB_RUN xvfb-run)
  if(GRX1_XVFB_RUN)
    set(grx1_manual_with_pictures ON)
  else()
    message(STATUS "xvfb-run not found: the manual is built without pictures")
  endif()
endif()

if(grx1_manual_with_pictures)
  set(grx1_manual_take_pictures
    "${CMAKE_COMMAND}" "-DGRX1=$<TARGET_FILE:grx1>" "-DXVFB_RUN=${GRX1_XVFB_RUN}"
    "-DOUT=${GRX1_MANUAL_PICTURE_DIR}" "-DSCRATCH=${PROJECT_BINARY_DIR}/manual-scratch"
    -P "${PROJECT_SOURCE_DIR}/cmake/ManualPictures.cmake")
  # The stamp is written even when a picture could not be taken, so a broken Xvfb does not make
  # every build try again; the pages then simply leave that picture out.
  add_custom_command(
    OUTPUT "${GRX1_MANUAL_PICTURE_DIR}/pictures.stamp"
    COMMAND ${grx1_manual_take_pictures}
    DEPENDS "${PROJECT_SOURCE_DIR}/cmake/ManualPictures.cmake"
    COMMENT "Taking the manual's pictures under Xvfb"
    VERBATIM)
  list(APPEND grx1_manual_depends "${GRX1_MANUAL_PICTURE_DIR}/pictures.stamp")
endif()

add_custom_command(
  OUTPUT "${GRX1_MANUAL_DIR}/manual.stamp"
  COMMAND ${grx1_manual_assemble}
  COMMAND "${CMAKE_COMMAND}" -E touch "${GRX1_MANUAL_DIR}/manual.stamp"
  DEPENDS ${grx1_manual_depends}
  COMMENT "Assembling the user manual"
  VERBATIM)
add_custom_target(manual ALL DEPENDS "${GRX1_MANUAL_DIR}/manual.stamp")

if(grx1_manual_with_pictures)
  # The pictures need the program; the order is a target dependency only (not a file dependency on
  # the executable), so relinking grx1 does not retake them.
  add_dependencies(manual grx1)
  add_custom_target(manual-pictures
    COMMAND ${grx1_manual_take_pictures}
    COMMAND ${grx1_manual_assemble}
    COMMAND "${CMAKE_COMMAND}" -E touch "${GRX1_MANUAL_DIR}/manual.stamp"
    COMMENT "Taking the manual's pictures again and assembling the manual"
    VERBATIM)
  add_dependencies(manual-pictures grx1)
endif()

install(DIRECTORY "${GRX1_MANUAL_DIR}/" DESTINATION "${CMAKE_INSTALL_DOCDIR}/manual"
        PATTERN "manual.stamp" EXCLUDE)
