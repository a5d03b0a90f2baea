# Assembles the user manual: cmake -DSOURCE=docs/manual -DDEST=<build>/manual -DPICTURES=<dir> -P this
# For each language folder of SOURCE: copies every file, and in each page replaces the placeholders
#     <!--picture:NAME|Alternative text-->
# by a figure showing img/NAME.png when PICTURES/<language>/NAME.png exists (the picture is copied to
# DEST/<language>/img), or by nothing when it does not. The alternative text must not hold ";", "|"
# or ">".
foreach(var SOURCE DEST PICTURES)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "ManualAssemble.cmake needs -D${var}=...")
  endif()
endforeach()

foreach(var SOURCE DEST PICTURES)
  get_filename_component(${var} "${${var}}" ABSOLUTE)
endforeach()

# Start from an empty folder, so a page or picture removed from the sources does not linger.
file(REMOVE_RECURSE "${DEST}")
file(GLOB languages RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(lang IN LISTS languages)
  if(NOT IS_DIRECTORY "${SOURCE}/${lang}")
    configure_file("${SOURCE}/${lang}" "${DEST}/${lang}" COPYONLY)  # the language choice page
    continue()
  endif()
  file(GLOB_RECURSE files RELATIVE "${SOURCE}/${lang}" "${SOURCE}/${lang}/*")
  foreach(f IN LISTS files)
    if(NOT f MATCHES "\\.html$")
      configure_file("${SOURCE}/${lang}/${f}" "${DEST}/${lang}/${f}" COPYONLY)
      continue()
    endif()
    file(READ "${SOURCE}/${lang}/${f}" page)
    string(REGEX MATCHALL "<!--picture:[^|>]+\\|[^|>]*-->" placeholders "${page}")
    foreach(ph IN LISTS placeholders)
      string(REGEX REPLACE "^<!--picture:([^|>]+)\\|([^|>]*)-->$" "\\1" name "${ph}")
      string(REGEX REPLACE "^<!--picture:([^|>]+)\\|([^|>]*)-->$" "\\2" alt "${ph}")
      string(STRIP "${name}" name)
      string(STRIP "${alt}" alt)
      set(picture "${PICTURES}/${lang}/${name}.png")
      if(EXISTS "${picture}")
        configure_file("${picture}" "${DEST}/${lang}/img/${name}.png" COPYONLY)
        set(figure "<figure><img src=\"img/${name}.png\" alt=\"${alt}\"><figcaption>${alt}</figcaption></figure>")
      else()
        set(figure "")
      endif()
      string(REPLACE "${ph}" "${figure}" page "${page}")
    endforeach()
    file(WRITE "${DEST}/${lang}/${f}" "${page}")
  endforeach()
endforeach()
