# Build steps of the message-text tests, all under the tests folder's errtext/ subfolder:
# - edge_messages.dll: a message table of known texts (exact lengths around the buffer, trailing white space,
#   insert sequences) with its generated header of message identifiers;
# - trap/wininet.dll, trap/winhttp.dll: planted DLLs whose entry point leaves a trace file when it runs;
# - lookup_probe.exe: a program that looks codes up like Tessival, run by the tests beside the planted DLLs.
if(NOT TARGET error_text_tests)
    return()
endif()

set(errtextOut ${CMAKE_CURRENT_BINARY_DIR}/errtext)
set(errtextSource ${CMAKE_CURRENT_SOURCE_DIR}/errtext)
file(MAKE_DIRECTORY ${errtextOut}/generated)

# The long texts are generated: runs of "A" of the exact lengths the template asks for.
foreach(length 1021 1022 1024 1500)
    string(REPEAT "A" ${length} A${length})
endforeach()
configure_file(${errtextSource}/edge_messages.mc.in ${errtextOut}/generated/edge_messages.mc @ONLY)

# windmc: UTF-8 in (the template holds characters outside Latin-1), UTF-16 texts out, file names prefixed.
function(errtext_message_table name mcFile)
    set(outDir ${errtextOut}/generated)
    add_custom_command(OUTPUT ${outDir}/${name}.rc ${outDir}/${name}.h ${outDir}/${name}_MSG00409.bin
        COMMAND ${CMAKE_MC_COMPILER} -U -C 65001 -b -h ${outDir} -r ${outDir} ${mcFile}
        DEPENDS ${mcFile}
        WORKING_DIRECTORY ${outDir}
        VERBATIM)
endfunction()
errtext_message_table(edge_messages ${errtextOut}/generated/edge_messages.mc)
errtext_message_table(trap_messages ${errtextSource}/trap_messages.mc)

function(errtext_module target outputName outputDir)
    cmake_parse_arguments(PARSE_ARGV 3 arg "" "" "SOURCES")
    add_library(${target} MODULE ${arg_SOURCES})
    target_compile_definitions(${target} PRIVATE ${TESSIVAL_DEFINES})
    target_compile_options(${target} PRIVATE ${TESSIVAL_WARNINGS})
    target_include_directories(${target} PRIVATE ${errtextOut}/generated)
    target_link_options(${target} PRIVATE -static)
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${outputName}
        LIBRARY_OUTPUT_DIRECTORY ${outputDir})
    add_dependencies(error_text_tests ${target})
endfunction()

errtext_module(errtext_edge_messages edge_messages ${errtextOut}
    SOURCES ${errtextSource}/message_module.cpp ${errtextOut}/generated/edge_messages.rc)
errtext_module(errtext_trap_wininet wininet ${errtextOut}/trap
    SOURCES ${errtextSource}/trap_dll.cpp ${errtextOut}/generated/trap_messages.rc)
errtext_module(errtext_trap_winhttp winhttp ${errtextOut}/trap
    SOURCES ${errtextSource}/trap_dll.cpp ${errtextOut}/generated/trap_messages.rc)

add_executable(errtext_lookup_probe ${errtextSource}/lookup_probe.cpp)
target_compile_options(errtext_lookup_probe PRIVATE ${TESSIVAL_WARNINGS})
target_link_libraries(errtext_lookup_probe PRIVATE tessival_core)
target_link_options(errtext_lookup_probe PRIVATE -static -municode)
set_target_properties(errtext_lookup_probe PROPERTIES OUTPUT_NAME lookup_probe
    RUNTIME_OUTPUT_DIRECTORY ${errtextOut})
add_dependencies(error_text_tests errtext_lookup_probe)

# The tests name the known texts by the identifiers of the generated header.
target_include_directories(error_text_tests PRIVATE ${errtextOut}/generated)
target_sources(error_text_tests PRIVATE ${errtextOut}/generated/edge_messages.h)
target_link_libraries(error_text_tests PRIVATE psapi)

# One test copies the built program beside the planted DLLs, so the program must be built first.
add_dependencies(error_text_tests Tessival)
