# Settings shared by every target of the project.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

add_library(qn_warnings INTERFACE)
target_compile_options(qn_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Werror)

if(QN_SANITIZE)
    # float-cast-overflow is not part of "undefined" in GCC: a double out of an integer's range (or NaN)
    # converted to that integer must fail the test that reaches it.
    add_compile_options(-fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer
        -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()

if(QN_FUZZ)
    # Every library is instrumented for coverage; only the fuzz targets link libFuzzer's main.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
    # Texts are UTF-8 inside; every Win32 call is the W variant, so UNICODE is defined everywhere.
    add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    # Statically linked: the programs import system DLLs only.
    add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
    # Reproducible programs: the same commit gives the same bytes wherever and whenever it is built. The linker
    # leaves the PE header's time stamp at zero, and no path of the source or build folder gets into a program
    # (__FILE__ in the test programs' assertions, debug information).
    add_link_options(-Wl,--no-insert-timestamp)
    add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        # A 32-bit reservation can then use up to 4 GB of address space on 64-bit Windows.
        add_link_options(-Wl,--large-address-aware)
    endif()
    enable_language(RC)
endif()
