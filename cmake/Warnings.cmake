# One place for the warning flags and include root every target shares.
function(morvane_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  target_include_directories(${target} PUBLIC ${MORVANE_ROOT})
endfunction()

# A Qt-free rule library: no Qt include path may reach it.
function(morvane_core_library target)
  add_library(${target} STATIC ${ARGN})
  morvane_target(${target})
endfunction()

# A Qt library (windows and the real platform).
function(morvane_qt_library target)
  add_library(${target} STATIC ${ARGN})
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
  morvane_target(${target})
endfunction()
