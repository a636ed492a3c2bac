# The window-owning helper of the parent detection tests, built twice: under an image name that begins with
# "tcmd" and under another, so that the tests see the same window class owned by both kinds of process. The
# foreground and end-to-end tests use it as another program's window in the foreground.
foreach(helper tcmd:TCMDowner other:editor)
    string(REPLACE ":" ";" helper ${helper})
    list(GET helper 0 helperKind)
    list(GET helper 1 imageName)
    set(helperName placement_${helperKind}_owner)
    add_executable(${helperName} WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/placement/window_owner.cpp)
    target_link_libraries(${helperName} PRIVATE tessival_build_flags user32 shell32)
    target_link_options(${helperName} PRIVATE ${TEST_WIDE_ENTRY_LINK_OPTIONS})
    set_target_properties(${helperName} PROPERTIES OUTPUT_NAME ${imageName} RUNTIME_OUTPUT_DIRECTORY ${TEST_OUTPUT_DIR})
    add_dependencies(parent_detection_tests ${helperName})
    add_dependencies(foreground_tests ${helperName})
    add_dependencies(end_to_end_tests ${helperName})
    install(TARGETS ${helperName} RUNTIME DESTINATION ${TEST_BUNDLE_DIR} COMPONENT tests)
endforeach()
