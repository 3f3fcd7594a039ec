# The release archive: the four programs and the two documents, side by side in one ZIP, as users unpack it.
# `cmake --build --preset win32 --target package` writes build/release/QeltoNimbi-0.04.zip; the win64 preset writes
# build/release/QeltoNimbi-0.04-x64.zip. Both go to one folder, where SHA256SUMS lists every archive beside it.
# The archive is the same, byte for byte, from every build of one commit (cmake/make-archive.sh).
set(QN_RELEASE_DIR ${PROJECT_SOURCE_DIR}/build/release CACHE PATH "Folder of the release archives and SHA256SUMS")
set(QN_ARCHIVE_PROGRAMS Qelto Mossik Kolvane Dunfel)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(archive QeltoNimbi-0.04-x64.zip)
else()
    set(archive QeltoNimbi-0.04.zip)
endif()
set(contents ${PROJECT_SOURCE_DIR}/docs/ReadMe.Txt ${PROJECT_SOURCE_DIR}/docs/History.Txt)
foreach(program ${QN_ARCHIVE_PROGRAMS})
    list(APPEND contents $<TARGET_FILE:${program}>)
endforeach()

add_custom_target(package
    COMMAND sh ${PROJECT_SOURCE_DIR}/cmake/make-archive.sh ${QN_RELEASE_DIR}/${archive} ${PROJECT_SOURCE_DIR}
        ${contents}
    COMMENT "Release archive ${QN_RELEASE_DIR}/${archive}"
    VERBATIM)
add_dependencies(package ${QN_ARCHIVE_PROGRAMS})
