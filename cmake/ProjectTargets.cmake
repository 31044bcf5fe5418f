# Build settings shared by the project's own targets.

# A handheld build is configured with a toolchain file for Windows CE, which
# names the system so; every other build is the desktop one.
if(CMAKE_SYSTEM_NAME STREQUAL "WindowsCE")
  set(HANDHELD_BUILD ON)
  # The loader relocates a DLL through its relocation table: no
  # position-independent code.
  set(CMAKE_C_COMPILE_OPTIONS_PIC "")
  set(CMAKE_CXX_COMPILE_OPTIONS_PIC "")
  set(CMAKE_SHARED_LIBRARY_C_FLAGS "")
  set(CMAKE_SHARED_LIBRARY_CXX_FLAGS "")
else()
  set(HANDHELD_BUILD OFF)
endif()

# Every project target: warnings are errors, Unicode Win32, no runtime DLLs.
function(project_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN)
  get_target_property(type ${target} TYPE)
  if(NOT type STREQUAL "STATIC_LIBRARY" AND NOT type STREQUAL "OBJECT_LIBRARY")
    target_link_options(${target} PRIVATE -static)
  endif()
endfunction()

# A deliverable for the handheld: C++98, the dialect of the handheld SDK's
# compilers (strictly: any later feature fails the build), small, no
# exceptions or RTTI (so it allocates with the nothrow `new`, which returns
# null), unused code dropped, symbols stripped. In a desktop build programs
# start at the layer's program entry (with a wide WinMain, as on the handheld)
# and take the layer's heap, which gives the nothrow `new` only;
# libraries start at DllMain. Neither has the C runtime's start-up code, which
# they don't use; the compiler's own helpers (memcpy and the like) still come
# from the system's C library.
function(handheld_target target)
  project_target(${target})
  set_target_properties(${target} PROPERTIES CXX_STANDARD 98)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-pedantic-errors -fno-exceptions -fno-rtti -fno-threadsafe-statics>
    -Os -ffunction-sections -fdata-sections)
  get_target_property(type ${target} TYPE)
  if(HANDHELD_BUILD)
    # The CE linker is called directly: programs start at the layer's entry.
    if(type STREQUAL "EXECUTABLE")
      target_link_libraries(${target} PRIVATE handheld_entry)
      target_link_options(${target} PRIVATE -e HandheldProgramEntry)
    elseif(type STREQUAL "SHARED_LIBRARY")
      target_link_options(${target} PRIVATE -e DllMain)
    endif()
    if(NOT type STREQUAL "STATIC_LIBRARY" AND NOT type STREQUAL "OBJECT_LIBRARY")
      target_link_options(${target} PRIVATE -s --gc-sections)
    endif()
    return()
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(symbol_prefix "_")
    set(dll_main_suffix "@12")
    # Nothing unwinds through the deliverables: no tables for it.
    target_compile_options(${target} PRIVATE -fno-asynchronous-unwind-tables)
  endif()
  if(type STREQUAL "EXECUTABLE" AND NOT HANDHELD_BUILD)
    target_link_libraries(${target} PRIVATE handheld_heap handheld_entry)
    target_link_options(${target} PRIVATE -municode -nostartfiles
      -Wl,-e,${symbol_prefix}HandheldProgramEntry)
  elseif(type STREQUAL "SHARED_LIBRARY")
    target_link_options(${target} PRIVATE -nostartfiles
      -Wl,-e,${symbol_prefix}DllMain${dll_main_suffix})
  endif()
  if(NOT type STREQUAL "STATIC_LIBRARY" AND NOT type STREQUAL "OBJECT_LIBRARY")
    target_link_options(${target} PRIVATE -s -Wl,--gc-sections)
  endif()
endfunction()
