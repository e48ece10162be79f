# One place for the warning flags and include root every target shares, and the guard that keeps
# the rule libraries free of Qt.
function(morvane_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  target_include_directories(${target} PUBLIC ${MORVANE_ROOT})
endfunction()

# A Qt-free rule library: the game's rules and window models, testable with no window system.
function(morvane_core_library target)
  add_library(${target} STATIC ${ARGN})
  morvane_target(${target})
  set_property(GLOBAL APPEND PROPERTY MORVANE_CORE_LIBRARIES ${target})
endfunction()

# A Qt library (windows and the real platform).
function(morvane_qt_library target)
  add_library(${target} STATIC ${ARGN})
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
  morvane_target(${target})
endfunction()

# Every library `target` links, directly or through others, into the variable `out`.
function(morvane_linked_libraries target out)
  set(seen ${${out}})
  foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    get_target_property(linked ${target} ${property})
    if(NOT linked)
      continue()
    endif()
    foreach(library ${linked})
      if(library IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${library})
      if(TARGET ${library} AND NOT library MATCHES "^Qt6::")
        morvane_linked_libraries(${library} seen)
      endif()
    endforeach()
  endforeach()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Fails the configuration when a Qt-free library links Qt, however indirectly: the replay tool and
# the headless tests depend on it.
function(morvane_check_qt_free)
  get_property(libraries GLOBAL PROPERTY MORVANE_CORE_LIBRARIES)
  foreach(library ${libraries})
    set(linked "")
    morvane_linked_libraries(${library} linked)
    foreach(dependency ${linked})
      if(dependency MATCHES "^Qt6?::|Qt6?(Core|Gui|Widgets)")
        message(FATAL_ERROR "${library} must stay free of Qt, but it links ${dependency}")
      endif()
    endforeach()
  endforeach()
endfunction()
