# Takes the manual's pictures with the window program itself under Xvfb:
#   cmake -DGRX1=<grx1 executable> -DXVFB_RUN=<xvfb-run> -DOUT=<picture dir> -DSCRATCH=<dir> -P this
# Writes OUT/<language>/<name>.png and OUT/pictures.stamp. Each picture is taken in its own scratch
# copy of the program folder with its own GRX1.ini (language, window size, view), so nothing is left
# beside the built program. A picture that cannot be taken is reported and left out; the build goes on.
foreach(var GRX1 XVFB_RUN OUT SCRATCH)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "ManualPictures.cmake needs -D${var}=...")
  endif()
endforeach()

# Each picture: its name and the keys of section Config besides the language (the program's INI
# lines end with CR LF).
set(standard_config "")
set(full_config "Super=Y\r\nLeftAxisPlus=Y\r\nAccelGraph=Y\r\nVelocityGraph=Y\r\nDisplacementGraph=Y\r\nForceGraph=Y\r\n")

# Further arguments: environment settings of the program (GRX1_TAB=1 shows the map).
function(take lang langid name config)
  set(folder "${SCRATCH}/${lang}-${name}")
  file(REMOVE_RECURSE "${folder}")
  file(MAKE_DIRECTORY "${folder}" "${OUT}/${lang}")
  file(COPY "${GRX1}" DESTINATION "${folder}")
  get_filename_component(exe "${GRX1}" NAME)
  file(WRITE "${folder}/GRX1.ini"
       "[Config]\r\nLangId=${langid}\r\n${config}"
       "[FormMain]\r\nWidth=1100\r\nHeight=640\r\nTable1Width=470\r\nLeft=0\r\nTop=0\r\nMaximized=0\r\n")
  set(png "${OUT}/${lang}/${name}.png")
  file(REMOVE "${png}")
  # No tester is looked for on this machine's buses: the libusb library name leads nowhere.
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -E env --unset=QT_QPA_PLATFORM
            GRX1_SAMPLE_IMPACTS=120 "GRX1_GRAB=${png}" GRX1_GRAB_DELAY_MS=900 ${ARGN}
            "GRX1_LIBUSB=${folder}/no-libusb.so" LC_ALL=C.UTF-8
            "${XVFB_RUN}" -a -s "-screen 0 1280x800x24" "./${exe}"
    WORKING_DIRECTORY "${folder}"
    RESULT_VARIABLE result
    OUTPUT_QUIET ERROR_QUIET
    TIMEOUT 60)
  if(EXISTS "${png}")
    message(STATUS "Manual picture ${lang}/${name}.png")
  else()
    message(WARNING "The manual's picture ${lang}/${name}.png could not be taken (${result}); the pages leave it out")
  endif()
  file(REMOVE_RECURSE "${folder}")
endfunction()

foreach(pair "ru;Rus" "en;Eng")
  list(GET pair 0 lang)
  list(GET pair 1 langid)
  take(${lang} ${langid} main-window "${standard_config}")
  take(${lang} ${langid} full-view "${full_config}")
  take(${lang} ${langid} map "${standard_config}" GRX1_TAB=1)
endforeach()
file(REMOVE_RECURSE "${SCRATCH}")
file(TOUCH "${OUT}/pictures.stamp")
