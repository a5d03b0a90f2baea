# The core library (platform, data, device, export and names logic) must stay free of widgets so
# that the command-line companion, the simulator and the tests build without a window system.
# Two fences: a poisoned QtWidgets header first on the core's include path (catches any include,
# direct or through another header), and a check of what the core links against.
function(grx1_guard_core target)
  target_include_directories(${target} BEFORE PRIVATE ${PROJECT_SOURCE_DIR}/cmake/nowidgets)
  get_target_property(_libs ${target} LINK_LIBRARIES)
  foreach(_lib IN LISTS _libs)
    if(_lib MATCHES "Widgets|PrintSupport")
      message(FATAL_ERROR "${target} links ${_lib}; the core library must not use widgets")
    endif()
  endforeach()
endfunction()
