# Copies data/config.ini beside the demo executable, where the demo reads it; nothing when there is none.
# Usage: cmake -DSOURCE=<data/config.ini> -DDESTINATION=<folder of lumidor-demo> -P copy_config.cmake
if(EXISTS "${SOURCE}")
    file(COPY_FILE "${SOURCE}" "${DESTINATION}/config.ini" ONLY_IF_DIFFERENT)
endif()
