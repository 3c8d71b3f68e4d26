# add_qt_test(NAME SOURCES ... [LIBS ...] [LABELS ...])
# One QtTest executable per test class, run by CTest. Tests labelled "gui" run offscreen.
function(add_qt_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test varlo_core ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
    target_compile_definitions(${name} PRIVATE
        VARLO_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
        VARLO_PEER_DATA="${PROJECT_SOURCE_DIR}/../shared/testdata/peers"
        VARLO_CLI_PATH="$<TARGET_FILE:varlo-cli>")
    add_test(NAME ${name} COMMAND ${name})
    set(env "QT_QPA_PLATFORM=offscreen")
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
