# The release archive: the four programs and the two documents, side by side in one ZIP, as users unpack it.
# `cmake --build --preset win32 --target package` writes build/win32/QeltoNimbi-0.04.zip; the win64 preset writes
# build/win64/QeltoNimbi-0.04-x64.zip.
foreach(program Qelto Mossik Kolvane Dunfel)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION .)
    endif()
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/docs/ReadMe.Txt ${PROJECT_SOURCE_DIR}/docs/History.Txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME QeltoNimbi)
set(CPACK_PACKAGE_VERSION 0.04)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_PACKAGE_FILE_NAME QeltoNimbi-0.04-x64)
else()
    set(CPACK_PACKAGE_FILE_NAME QeltoNimbi-0.04)
endif()
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
