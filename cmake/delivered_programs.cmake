# How the delivered programs and the libraries they are made of are built:
# for size, without the C++ runtime pieces they do not use, and with
# their debug information kept apart in symbols/. The test programs link the
# same libraries with the full runtime, which GoogleTest needs.

set(QUELT_SYMBOLS_DIR ${CMAKE_BINARY_DIR}/symbols)

# The C++ runtime functions the delivered programs call, linked into each of
# them before libstdc++ is searched.
add_library(quelt_program_runtime OBJECT ${CMAKE_SOURCE_DIR}/support/runtime/program_runtime.cpp)

# Code that goes into a delivered program. It throws nothing, asks no type
# at run time and runs its statics on one thread, so the runtime needs none of
# its support for these. Every function and datum gets its own section, so
# that the linker drops what no program calls. -g costs the programs nothing:
# the debug information goes to symbols/. The C library's printf and strtod
# families are the system's (msvcrt), not mingw's own copies, which would
# add tens of kilobytes to each program; their formats are the system's too
# ("%I64u", not "%llu").
# The folders of the checkout and of the build are recorded as "." and
# "build" (in the debug information and in __FILE__), so that two builds of
# the same sources in different folders give the same bytes. The build
# folder's map comes last, so that it wins where it lies inside the sources.
function(quelt_product_code_options target)
    quelt_target_options(${target})
    target_compile_options(${target} PRIVATE
        -Os -g -fno-exceptions -fno-rtti -fno-threadsafe-statics
        -fno-asynchronous-unwind-tables -fno-unwind-tables
        -ffunction-sections -fdata-sections
        -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
        -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
    target_compile_definitions(${target} PRIVATE __USE_MINGW_ANSI_STDIO=0)
endfunction()
quelt_product_code_options(quelt_program_runtime)

# Links a delivered program or library: unused sections dropped, no link time
# in the header (the same sources give the same file), a subsystem
# version that Windows XP accepts (the 64-bit toolchain's default is already
# the lowest for 64-bit Windows), and the debug information moved to
# symbols/<name>.debug with a debug link left in the program.
function(quelt_release_link target)
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:quelt_program_runtime>)
    target_link_options(${target} PRIVATE -Wl,--gc-sections -Wl,--no-insert-timestamp)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        target_link_options(${target} PRIVATE
            -Wl,--major-subsystem-version,5,--minor-subsystem-version,1)
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/split-debug-info.sh
                ${CMAKE_OBJCOPY} $<TARGET_FILE:${target}> ${QUELT_SYMBOLS_DIR}
        VERBATIM)
endfunction()

# toolchain-versions.txt in the build folder: the Debian packages of the
# tools this folder is built with, checked at every build.
add_custom_target(quelt_toolchain_versions ALL
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/toolchain-versions.sh
            ${CMAKE_BINARY_DIR}/toolchain-versions.txt
    VERBATIM)
