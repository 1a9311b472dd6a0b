# Particles must come out with the same bits on every lane width, thread count and processor, so no
# code that makes particles may let the compiler fuse a multiply and an add (R() * Spread + Base would
# round once instead of twice under an -march with FMA). Included by the top level and by the web
# build before any library is defined; lumidor_check_no_contraction() then fails the configuration
# for a particle-making library that somehow lost the flag.

add_compile_options(-ffp-contract=off)

function(lumidor_check_no_contraction)
    foreach(target ${ARGN})
        if(NOT TARGET ${target})
            continue()
        endif()
        get_target_property(options ${target} COMPILE_OPTIONS)
        if(NOT options MATCHES "-ffp-contract=off")
            message(FATAL_ERROR "${target} makes particles but is not built with -ffp-contract=off: "
                                "its arithmetic could be contracted into fused multiply-adds")
        endif()
    endforeach()
endfunction()

# The libraries whose arithmetic makes or moves particles.
set(LUMIDOR_PARTICLE_LIBRARIES
    lumidor_base lumidor_engine lumidor_script lumidor_font lumidor_terrain lumidor_effects lumidor_demo_core)
