# The web page's data: emcc packages a folder into index.data while it links the page
# (--preload-file), and a link looks only at its objects. lumidor_web_data_dependencies(<target>
# <folder>) makes every file of the folder a link dependency of <target>, and the list of those files
# too, so a changed, added or removed file links the page again and packages its data again. The
# folder is listed again at every build (CONFIGURE_DEPENDS), so an added file needs no configure.
function(lumidor_web_data_dependencies target folder)
    file(GLOB_RECURSE files CONFIGURE_DEPENDS LIST_DIRECTORIES false "${folder}/*")
    list(SORT files)
    # The list is rewritten only when it changes, so only an added or removed file makes it newer.
    set(listFile "${CMAKE_CURRENT_BINARY_DIR}/${target}-data-files.txt")
    string(REPLACE ";" "\n" content "${files}")
    file(WRITE "${listFile}.new" "${content}\n")
    file(COPY_FILE "${listFile}.new" "${listFile}" ONLY_IF_DIFFERENT)
    file(REMOVE "${listFile}.new")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${files} "${listFile}")
endfunction()
