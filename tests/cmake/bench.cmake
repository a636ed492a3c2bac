# The benchmark: two floor dialogs of the same template and resources, one doing the work any faithful program
# must (floor_dialog) and one doing none of it (floor_bare), and the driver that measures them with the program.
# Built with the tests, run by scripts/bench.sh.
foreach(floor floor_dialog floor_bare)
    # The program's own reading of its integrity level, which decides, as there, whether the filter opens.
    add_executable(${floor} WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/bench/floor_dialog.cpp
        ${CMAKE_SOURCE_DIR}/src/dialog/integrity_level.cpp)
    tessival_add_resources(${floor})
    target_link_libraries(${floor} PRIVATE tessival_build_flags advapi32 gdi32 psapi)
    target_include_directories(${floor} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/res
        ${CMAKE_BINARY_DIR}/generated)
    target_link_options(${floor} PRIVATE ${TESSIVAL_LINK_OPTIONS})
endforeach()
target_compile_definitions(floor_bare PRIVATE FLOOR_BARE)

# The driver starts, finds and ends the programs with the tests' own helpers. Like the test programs it uses the
# standard library, which Visual Studio's headers want unwind semantics for.
add_executable(bench_driver ${CMAKE_CURRENT_SOURCE_DIR}/bench/bench_driver.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/support/message_pump.cpp ${CMAKE_CURRENT_SOURCE_DIR}/support/test_processes.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/support/window_search.cpp)
target_include_directories(bench_driver PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(bench_driver PRIVATE tessival_build_flags tessival_test_flags psapi)
target_link_options(bench_driver PRIVATE ${TEST_WIDE_ENTRY_LINK_OPTIONS})
# The Windows job of the CI workflow runs the benchmark from the test bundle.
install(TARGETS floor_dialog floor_bare bench_driver RUNTIME DESTINATION ${TEST_BUNDLE_DIR} COMPONENT tests)
