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
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        # A 32-bit reservation can then use up to 4 GB of address space on 64-bit Windows.
        add_link_options(-Wl,--large-address-aware)
    endif()
    enable_language(RC)
endif()

# qn_windows_program(<target> GUI|CONSOLE <sources>...): a Windows program with the product's warnings.
function(qn_windows_program target kind)
    add_executable(${target} ${ARGN})
    target_link_libraries(${target} PRIVATE qn_warnings)
    # The programs enter at wWinMain: the wide command line, whatever the system's code page.
    target_link_options(${target} PRIVATE -municode)
    if(kind STREQUAL "GUI")
        target_link_options(${target} PRIVATE -mwindows)
    endif()
endfunction()

# qn_program_resources(<target>): lets the program's .rc find the shared icon and manifest, and the version header
# that common/ keeps for the programs' texts.
function(qn_program_resources target)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/resources ${PROJECT_SOURCE_DIR}/common)
    set_property(SOURCE ${ARGN} APPEND PROPERTY OBJECT_DEPENDS
        ${PROJECT_SOURCE_DIR}/resources/product.rc ${PROJECT_SOURCE_DIR}/common/ProductVersion.h
        ${PROJECT_SOURCE_DIR}/resources/QeltoNimbi.ico ${PROJECT_SOURCE_DIR}/resources/QeltoNimbi.manifest)
endfunction()
