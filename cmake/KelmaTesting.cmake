# kelma_add_test(NAME tst_x SOURCES a.cpp LIBS kelma_db LABELS unit db [TIMEOUT s])
# One place sets what every test needs: no display, a settings store and
# temporary folder of its own, and the labels that let a part be run apart.
function(kelma_add_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE Qt6::Test kelma_testsupport ${T_LIBS})
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES
        LABELS "${T_LABELS}"
        TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KELMA_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
