# The benchmark: the floor dialog (same template and resources, nothing else) and the driver that measures
# both programs. Built with the tests, run by scripts/bench.sh.
add_executable(floor_dialog WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/bench/floor_dialog.cpp ${TESSIVAL_RESOURCES})
target_link_libraries(floor_dialog PRIVATE tessival_build_flags)
target_include_directories(floor_dialog PRIVATE ${CMAKE_SOURCE_DIR}/res ${CMAKE_BINARY_DIR}/generated)
target_link_options(floor_dialog PRIVATE ${TESSIVAL_LINK_OPTIONS})
add_dependencies(floor_dialog build_info)

# The driver starts, finds and ends the programs with the tests' own helpers. Like the test programs it uses the
# standard library, which Visual Studio's headers want unwind semantics for.
add_executable(bench_driver ${CMAKE_CURRENT_SOURCE_DIR}/bench/bench_driver.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/support/message_pump.cpp ${CMAKE_CURRENT_SOURCE_DIR}/support/test_processes.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/support/window_search.cpp)
target_include_directories(bench_driver PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support)
target_link_libraries(bench_driver PRIVATE tessival_build_flags tessival_test_flags psapi)
target_link_options(bench_driver PRIVATE ${TEST_WIDE_ENTRY_LINK_OPTIONS})
