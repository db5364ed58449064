# Puts a target's output into the staged layout.
#   vx_stage_library(target)      shared library of the host or platform: stage/lib
#   vx_stage_program(target)      host program: stage/bin
#   vx_stage_driver_module(target NAME name SUFFIX suffix)
#                                 plug-in, engine or resource library: stage/bin/drv under its file name
function(vx_stage_library target)
    set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY "${VX_STAGE_LIB}")
endfunction()

function(vx_stage_program target)
    set_target_properties(${target} PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY "${VX_STAGE_BIN}"
        BUILD_RPATH "\$ORIGIN/../lib")
endfunction()

function(vx_stage_driver_module target)
    cmake_parse_arguments(ARG "" "NAME;SUFFIX" "" ${ARGN})
    set_target_properties(${target} PROPERTIES
        PREFIX ""
        OUTPUT_NAME "${ARG_NAME}"
        SUFFIX "${ARG_SUFFIX}"
        LIBRARY_OUTPUT_DIRECTORY "${VX_STAGE_DRV}"
        BUILD_RPATH "\$ORIGIN/../../lib")
endfunction()
