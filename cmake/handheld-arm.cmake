# The handheld: ARM Windows CE 3.0 (Pocket PC), for the deliverables alone
# (configure with -DDELIVERABLES_ONLY=ON; `make handheld` does).
#
# No compiler of the platform is to be had here, so the toolchain is put
# together from Debian's packages: clang writes ARMv4 ARM-mode assembly for an
# ELF target, tools/handheld/ce-c++ translates it into the CE assembler's
# dialect and assembles it, and the CE target of GNU binutils, built once by
# scripts/handheld-toolchain.sh, assembles, links and makes the import
# libraries. The SDK's headers are the layer's own declarations of them
# (platform/handheld/include).
set(CMAKE_SYSTEM_NAME WindowsCE)
set(CMAKE_SYSTEM_VERSION 3.0)
set(CMAKE_SYSTEM_PROCESSOR ARMV4)

get_filename_component(HANDHELD_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
execute_process(COMMAND ${HANDHELD_ROOT}/scripts/handheld-toolchain.sh
  OUTPUT_VARIABLE HANDHELD_BINUTILS_PREFIX OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE toolchain_result)
if(NOT toolchain_result EQUAL 0)
  message(FATAL_ERROR "The handheld's binutils could not be built (scripts/handheld-toolchain.sh)")
endif()
set(HANDHELD_BINUTILS ${HANDHELD_BINUTILS_PREFIX}/bin)
set(HANDHELD_DLLTOOL ${HANDHELD_BINUTILS}/arm-mingw32ce-dlltool)
set(HANDHELD_OBJDUMP ${HANDHELD_BINUTILS}/arm-mingw32ce-objdump)
set(HANDHELD_PYTHON /usr/bin/python3)

set(CMAKE_C_COMPILER ${HANDHELD_ROOT}/tools/handheld/ce-c++)
set(CMAKE_CXX_COMPILER ${HANDHELD_ROOT}/tools/handheld/ce-c++)
set(CMAKE_RC_COMPILER ${HANDHELD_BINUTILS}/arm-mingw32ce-windres)
set(CMAKE_LINKER ${HANDHELD_BINUTILS}/arm-mingw32ce-ld)
set(CMAKE_AR ${HANDHELD_BINUTILS}/arm-mingw32ce-ar)
set(CMAKE_RANLIB ${HANDHELD_BINUTILS}/arm-mingw32ce-ranlib)
# The compiler's checks build a library: nothing links without the platform.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# The calling convention at every boundary (ce-c++ refuses a compile without
# these): ARMv4 in ARM mode, the APCS with CE's 64-bit argument alignment, no
# floating-point registers, 2-byte wchar_t, int-sized enums. The rest is the
# platform's identity and what the CE assembler can take.
set(handheld_flags "--ce-binutils=${HANDHELD_BINUTILS} -march=armv4 -marm -mabi=apcs-gnu -mfloat-abi=soft -fshort-wchar -fno-short-enums -D_WIN32_WCE=0x300 -DUNDER_CE=300 -DARM -D_ARM_ -fno-unwind-tables -fno-asynchronous-unwind-tables -fno-addrsig -fno-ident")
set(CMAKE_C_FLAGS_INIT "${handheld_flags}")
set(CMAKE_CXX_FLAGS_INIT "${handheld_flags}")
set(CMAKE_C_STANDARD_INCLUDE_DIRECTORIES ${HANDHELD_ROOT}/platform/handheld/include)
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${HANDHELD_ROOT}/platform/handheld/include)

# Resources: the layer's headers read by clang's preprocessor.
set(CMAKE_RC_COMPILE_OBJECT "<CMAKE_RC_COMPILER> -O coff --preprocessor=clang --preprocessor-arg=-E --preprocessor-arg=-xc --preprocessor-arg=-DRC_INVOKED --preprocessor-arg=-nostdlibinc -I${HANDHELD_ROOT}/platform/handheld/include <DEFINES> <INCLUDES> <FLAGS> -i <SOURCE> -o <OBJECT>")

# The CE linker, called directly: the images are for the CE subsystem 3.0,
# relocatable, without the desktop's DLL characteristics; a .def file is one
# of its inputs.
set(handheld_link_flags "-static --subsystem wince:3.0 --major-os-version 3 --minor-os-version 0 --enable-reloc-section --disable-dynamicbase --disable-nxcompat")
# A program's first thread gets the platform's usual 64 KiB of stack, not
# the linker's desktop default of 2 MiB.
set(CMAKE_EXE_LINKER_FLAGS_INIT "${handheld_link_flags} --stack 0x10000,0x1000")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${handheld_link_flags}")
set(CMAKE_LINK_DEF_FILE_FLAG " ")
set(CMAKE_C_LINK_EXECUTABLE "<CMAKE_LINKER> <LINK_FLAGS> -o <TARGET> <OBJECTS> <LINK_LIBRARIES>")
set(CMAKE_CXX_LINK_EXECUTABLE "<CMAKE_LINKER> <LINK_FLAGS> -o <TARGET> <OBJECTS> <LINK_LIBRARIES>")
set(CMAKE_C_CREATE_SHARED_LIBRARY "<CMAKE_LINKER> --dll <LINK_FLAGS> -o <TARGET> <OBJECTS> <LINK_LIBRARIES>")
set(CMAKE_CXX_CREATE_SHARED_LIBRARY "<CMAKE_LINKER> --dll <LINK_FLAGS> -o <TARGET> <OBJECTS> <LINK_LIBRARIES>")

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
