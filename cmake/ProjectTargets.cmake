# Build settings shared by the project's own targets.

# Resources are UTF-8, so the German texts stand as written.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} --codepage=65001")

# Every project target: warnings are errors, Unicode Win32, no runtime DLLs.
function(project_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN)
  get_target_property(type ${target} TYPE)
  if(NOT type STREQUAL "STATIC_LIBRARY" AND NOT type STREQUAL "OBJECT_LIBRARY")
    target_link_options(${target} PRIVATE -static)
  endif()
endfunction()

# A deliverable for the handheld: small, no exceptions or RTTI, allocation that
# returns null on failure (checked before construction), unused code dropped,
# symbols stripped.
function(handheld_target target)
  project_target(${target})
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -fcheck-new>
    -Os -ffunction-sections -fdata-sections)
  get_target_property(type ${target} TYPE)
  if(NOT type STREQUAL "STATIC_LIBRARY" AND NOT type STREQUAL "OBJECT_LIBRARY")
    target_link_options(${target} PRIVATE -s -Wl,--gc-sections)
  endif()
endfunction()
