# The dialog tests create the lookup dialog from its template, so they carry the program's resources; the
# resource tests read them back from the built program.
if(TARGET dialog_tests)
    tessival_add_resources(dialog_tests)
    target_include_directories(dialog_tests PRIVATE ${CMAKE_BINARY_DIR}/generated)
endif()
if(TARGET resources_tests)
    add_dependencies(resources_tests Tessival)
    target_link_libraries(resources_tests PRIVATE version)
endif()
if(TARGET end_to_end_tests)
    add_dependencies(end_to_end_tests Tessival)
endif()
