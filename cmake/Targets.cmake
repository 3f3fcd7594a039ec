# How the project's libraries and programs are made. Every header is named from the source tree's root
# (#include "common/DateTime.h"), the one include root every library hands on to its users.

# qn_library(<name> <sources>... [LINK <libraries>...]): a static library with the product's warnings.
function(qn_library name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "LINK")
    add_library(${name} STATIC ${arg_UNPARSED_ARGUMENTS})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${arg_LINK} PRIVATE qn_warnings)
endfunction()

# qn_program(<program> [CONSOLE]
#            [LOGIC <library> <portable sources>...]  the program's logic, portable: built natively too
#            [WIN32_SIDE <sources>...]                 its Win32 adapters, the library <library>_win32
#            [MAIN <sources>...]                       wWinMain, which only wires them up
#            [RC <resource script>]                    icon, version record and manifest
#            [LINK <libraries>...])                    what the Win32 side needs besides the shared adapters
# The executable is made for Windows only; it enters at wWinMain with the wide command line, whatever the
# system's code page.
function(qn_program program)
    cmake_parse_arguments(PARSE_ARGV 1 arg "CONSOLE" "RC" "LOGIC;WIN32_SIDE;MAIN;LINK")
    set(uses "")
    if(arg_LOGIC)
        list(POP_FRONT arg_LOGIC library)
        qn_library(${library} ${arg_LOGIC} LINK qn_common)
        set(uses ${library})
    endif()
    if(NOT WIN32)
        return()
    endif()
    if(arg_WIN32_SIDE)
        qn_library(${library}_win32 ${arg_WIN32_SIDE} LINK ${uses} qn_common_win32 ${arg_LINK})
        set(uses ${library}_win32)
    endif()
    add_executable(${program} ${arg_MAIN} ${arg_RC})
    target_link_libraries(${program} PRIVATE ${uses} qn_common_win32 ${arg_LINK} qn_warnings)
    target_link_options(${program} PRIVATE -municode $<$<NOT:$<BOOL:${arg_CONSOLE}>>:-mwindows>)
    if(arg_RC)
        # The program's .rc includes the shared icon and manifest, and the version header that common/ keeps
        # for the programs' texts.
        target_include_directories(${program} PRIVATE ${PROJECT_SOURCE_DIR}/resources ${PROJECT_SOURCE_DIR}/common)
        set_property(SOURCE ${arg_RC} APPEND PROPERTY OBJECT_DEPENDS
            ${PROJECT_SOURCE_DIR}/resources/product.rc ${PROJECT_SOURCE_DIR}/resources/ResourceIds.h
            ${PROJECT_SOURCE_DIR}/common/ProductVersion.h
            ${PROJECT_SOURCE_DIR}/resources/QeltoNimbi.ico ${PROJECT_SOURCE_DIR}/resources/QeltoNimbi.manifest)
    endif()
endfunction()
