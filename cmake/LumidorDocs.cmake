# `docs`: the API reference of the public headers (Doxygen, HTML in <build>/docs/html). A public
# name without a comment, or a page showing a picture missing from the output, fails the build.
find_package(Doxygen QUIET)
if(NOT DOXYGEN_FOUND)
    add_custom_target(docs COMMAND ${CMAKE_COMMAND} -E echo "docs: Doxygen was not found (apt-get install doxygen)"
                           COMMAND ${CMAKE_COMMAND} -E false)
    return()
endif()
set(DOXYGEN_PROJECT_NAME Lumidor)
set(DOXYGEN_PROJECT_BRIEF "Real-time particle effects")
set(DOXYGEN_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/docs)
set(DOXYGEN_STRIP_FROM_PATH ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/include)
set(DOXYGEN_STRIP_FROM_INC_PATH ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/include)
set(DOXYGEN_GENERATE_LATEX NO)
set(DOXYGEN_EXTRACT_ALL NO)
set(DOXYGEN_WARN_IF_UNDOCUMENTED YES)
set(DOXYGEN_WARN_IF_DOC_ERROR YES)
set(DOXYGEN_WARN_NO_PARAMDOC NO)
set(DOXYGEN_WARN_AS_ERROR FAIL_ON_WARNINGS)
set(DOXYGEN_QUIET YES)
set(DOXYGEN_JAVADOC_AUTOBRIEF YES)
set(DOXYGEN_SORT_MEMBER_DOCS NO)
# The README, the main page, shows pictures from docs/screenshots: Doxygen copies them beside the
# pages and refers to them by name.
set(DOXYGEN_IMAGE_PATH ${PROJECT_SOURCE_DIR}/docs/screenshots)
set(DOXYGEN_USE_MDFILE_AS_MAINPAGE ${PROJECT_SOURCE_DIR}/README.md)
set(LUMIDOR_DOC_INPUTS ${PROJECT_SOURCE_DIR}/include/lumidor/lumidor.h ${PROJECT_SOURCE_DIR}/README.md)
foreach(header ${LUMIDOR_PUBLIC_HEADERS})
    list(APPEND LUMIDOR_DOC_INPUTS ${PROJECT_SOURCE_DIR}/${header})
endforeach()
doxygen_add_docs(docs ${LUMIDOR_DOC_INPUTS} COMMENT "Lumidor API reference (Doxygen)")
add_custom_command(TARGET docs POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DHTML_DIR=${DOXYGEN_OUTPUT_DIRECTORY}/html
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckDocsImages.cmake
    COMMENT "Checking that every picture of the API reference is in its output")
