# The console helper of the end-to-end tests: a console program that, in a console of its own, starts the program
# as cmd.exe would once its console window is in front.
add_executable(app_console_start ${CMAKE_CURRENT_SOURCE_DIR}/app/console_start.cpp)
target_link_libraries(app_console_start PRIVATE tessival_build_flags user32)
target_link_options(app_console_start PRIVATE ${TEST_WIDE_ENTRY_LINK_OPTIONS})
set_target_properties(app_console_start PROPERTIES OUTPUT_NAME console_start RUNTIME_OUTPUT_DIRECTORY ${TEST_OUTPUT_DIR})
add_dependencies(end_to_end_tests app_console_start)
install(TARGETS app_console_start RUNTIME DESTINATION ${TEST_BUNDLE_DIR} COMPONENT tests)
