# vx_add_test(name SOURCES ... LIBS ... [DEPENDS targets...])
# One GoogleTest executable per module; its cases are registered with CTest one by one. The staged
# layout is handed to the tests in VX_STAGE_DIR, and DEPENDS names the modules they load at run time.
function(vx_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;DEPENDS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE GTest::gtest_main GTest::gmock ${ARG_LIBS})
    target_compile_definitions(${name} PRIVATE
        VX_STAGE_DIR="${VX_STAGE_DIR}"
        VX_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
    set_target_properties(${name} PROPERTIES BUILD_RPATH "${VX_STAGE_LIB}")
    if(ARG_DEPENDS)
        add_dependencies(${name} ${ARG_DEPENDS})
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
