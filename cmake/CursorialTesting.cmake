# cursorial_test(<name> SOURCES ... [LIBS ...] [GUI] [LABELS ...] [TIMEOUT s])
# One GoogleTest executable registered with CTest. Every test runs with its own HOME and
# XDG folders below the build tree, so no test reads or writes the user's real settings,
# and with the real HID backend forbidden: tests reach devices through the simulator only.
function(cursorial_test name)
    cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main cursorial_warnings)
    target_compile_definitions(${name} PRIVATE
        CURSORIAL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        CURSORIAL_BINARY_DIR="${CMAKE_BINARY_DIR}"
        CURSORIAL_OUTPUT_DIR="${CURSORIAL_OUTPUT_DIR}")
    set(home ${CMAKE_BINARY_DIR}/tests/home/${name})
    set(env
        HOME=${home}
        XDG_CONFIG_HOME=${home}/config
        XDG_DATA_HOME=${home}/data
        XDG_CACHE_HOME=${home}/cache
        XDG_RUNTIME_DIR=${home}/run
        CURSORIAL_HID_FORBID_REAL=1
        LANG=C.UTF-8)
    file(MAKE_DIRECTORY ${home}/config ${home}/data ${home}/cache ${home}/run)
    file(CHMOD ${home}/run DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    if(T_GUI)
        list(APPEND env QT_QPA_PLATFORM=offscreen)
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "${env}" TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}")
endfunction()
