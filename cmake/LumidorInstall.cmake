# What `cmake --install` puts under the prefix P: the static libraries with the CMake package
# `Lumidor` (target Lumidor::lumidor), lumidor.pc, the public headers under P/include/lumidor/ in
# the source layout, the tools in P/bin and the demo data in P/share/lumidor/.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(LUMIDOR_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Lumidor)
set(LUMIDOR_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/lumidor)

# The public headers, relative to the source root; also what the docs target documents. They are
# installed in the source layout under P/include/lumidor/ and include each other by paths relative
# to themselves ("vector.h", "../engine/vector.h"), which hold in both trees. Consumers get P/include
# only: they write <lumidor/lumidor.h> or <lumidor/engine/...>, and a bare "engine/vector.h" of
# theirs never lands on ours. Headers not listed (the particle blocks, the sweep) stay private.
set(LUMIDOR_PUBLIC_HEADERS
    engine/collision_world.h
    engine/fixed_steps.h
    engine/gl_api.h
    engine/gl_loader.h
    engine/message.h
    engine/particle_array.h
    engine/particle_container.h
    engine/particle_life.h
    engine/particle_step_breakdown.h
    engine/particle_trails.h
    engine/pass_observer.h
    engine/random.h
    engine/simulation.h
    engine/task_runner.h
    engine/vector.h
    textures/decoders.h
    textures/image.h
    textures/textures.h
    script/particle_script.h
    script/script_diagnostics.h
    script/script_seek.h
    script/script_watch.h
    script/live_script.h
    font/particle_font.h
    font/rgb_image.h
    terrain/bitmap_reader.h
    terrain/terrain.h)
foreach(header ${LUMIDOR_PUBLIC_HEADERS})
    get_filename_component(folder ${header} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/${header} DESTINATION ${LUMIDOR_INCLUDE_DIR}/${folder} COMPONENT dev)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/include/lumidor/lumidor.h DESTINATION ${LUMIDOR_INCLUDE_DIR} COMPONENT dev)

# Libraries in link order, users first: the pkg-config file lists them in this order.
set(LUMIDOR_INSTALLED_LIBRARIES
    lumidor_terrain lumidor_bitmap lumidor_font lumidor_script lumidor_textures lumidor_engine
    lumidor_gl_loader lumidor_base)
install(TARGETS lumidor ${LUMIDOR_INSTALLED_LIBRARIES}
    EXPORT LumidorTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT LumidorTargets NAMESPACE Lumidor:: DESTINATION ${LUMIDOR_CMAKE_DIR} COMPONENT dev)

set(LUMIDOR_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/lumidor)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/LumidorConfig.cmake.in
    ${PROJECT_BINARY_DIR}/LumidorConfig.cmake INSTALL_DESTINATION ${LUMIDOR_CMAKE_DIR}
    PATH_VARS LUMIDOR_DATA_INSTALL_DIR)
# 0.x: a new minor version may change the API, so only 0.2.x satisfies a request for 0.2.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/LumidorConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/LumidorConfig.cmake ${PROJECT_BINARY_DIR}/LumidorConfigVersion.cmake
    DESTINATION ${LUMIDOR_CMAKE_DIR} COMPONENT dev)

# lumidor.pc is written at install time: only then is the prefix known (cmake --install --prefix).
list(TRANSFORM LUMIDOR_INSTALLED_LIBRARIES PREPEND "-l" OUTPUT_VARIABLE LUMIDOR_PC_LIBS)
list(JOIN LUMIDOR_PC_LIBS " " LUMIDOR_PC_LIBS)
install(CODE "
    set(LUMIDOR_PC_LIBS \"${LUMIDOR_PC_LIBS}\")
    set(PROJECT_VERSION \"${PROJECT_VERSION}\")
    set(LUMIDOR_PC_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
    set(LUMIDOR_PC_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
    # pkg-config splits its variables at spaces unless they are escaped.
    string(REPLACE \" \" \"\\\\ \" LUMIDOR_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
    configure_file(\"${PROJECT_SOURCE_DIR}/cmake/lumidor.pc.in\"
                   \"${PROJECT_BINARY_DIR}/pc/lumidor.pc\" @ONLY)
    file(INSTALL \"${PROJECT_BINARY_DIR}/pc/lumidor.pc\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig\")
" COMPONENT dev)

# The tools and the demo with its data. The demo looks for its data in the working directory
# first, then in ../share/lumidor beside its own folder (app/desktop/data_folder.cpp).
foreach(tool lumidor-psc lumidor-demo)
    if(TARGET ${tool})
        install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
    endif()
endforeach()
if(TARGET lumidor-demo)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${LUMIDOR_DATA_INSTALL_DIR} COMPONENT runtime)
endif()
