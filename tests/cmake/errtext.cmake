# Build steps of the message-text tests, all in the errtext/ subfolder beside the test programs:
# - edge_messages.dll: a message table of known texts (exact lengths around the buffer, trailing white space,
#   insert sequences) with its generated header of message identifiers;
# - trap/wininet.dll, trap/winhttp.dll: planted DLLs whose entry point leaves a trace file when it runs;
# - lookup_probe.exe: a program that looks codes up like Tessival, run by the tests beside the planted DLLs.
if(NOT TARGET error_text_tests)
    return()
endif()

set(errtextGenerated ${CMAKE_CURRENT_BINARY_DIR}/errtext/generated)
set(errtextSource ${CMAKE_CURRENT_SOURCE_DIR}/errtext)
file(MAKE_DIRECTORY ${errtextGenerated})

# The long texts are generated: runs of "A" of the exact lengths the template asks for.
foreach(length 1021 1022 1024 1500)
    string(REPEAT "A" ${length} A${length})
endforeach()
configure_file(${errtextSource}/edge_messages.mc.in ${errtextGenerated}/edge_messages.mc @ONLY)

# The message compiler: GNU windmc beside windres (the cross toolchain names it), or Microsoft's mc.exe from
# the Windows SDK beside rc.exe.
get_filename_component(resourceCompilerFolder "${CMAKE_RC_COMPILER}" DIRECTORY)
if(MSVC)
    get_filename_component(windowsKits
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows Kits\\Installed Roots;KitsRoot10]" ABSOLUTE)
    file(GLOB sdkBinFolders LIST_DIRECTORIES true "${windowsKits}/bin/10.*")
    list(SORT sdkBinFolders)
    list(REVERSE sdkBinFolders)
    set(sdkHints ${resourceCompilerFolder})
    foreach(folder "${windowsKits}/bin/${CMAKE_VS_WINDOWS_TARGET_PLATFORM_VERSION}" ${sdkBinFolders})
        list(APPEND sdkHints "${folder}/x64" "${folder}/x86")
    endforeach()
    find_program(TESSIVAL_MESSAGE_COMPILER NAMES mc HINTS ${sdkHints})
    if(NOT TESSIVAL_MESSAGE_COMPILER)
        message(STATUS "mc.exe not found in the Windows SDK; the build looks for it on its PATH")
        set(TESSIVAL_MESSAGE_COMPILER mc.exe)
    endif()
    # mc.exe reads Unicode only as UTF-16 (-u), and the template holds characters beyond any ANSI code page:
    # a small program of the build machine rewrites each source in that form first.
    add_executable(errtext_utf16_text ${errtextSource}/utf16_text.cpp)
    target_link_libraries(errtext_utf16_text PRIVATE tessival_build_flags)
elseif(CMAKE_MC_COMPILER)
    set(TESSIVAL_MESSAGE_COMPILER ${CMAKE_MC_COMPILER})
else()
    find_program(TESSIVAL_MESSAGE_COMPILER NAMES windmc HINTS ${resourceCompilerFolder} REQUIRED)
endif()

# UTF-16 texts out and file names prefixed with the source's, for both compilers; windmc reads the UTF-8
# source directly (-C 65001), mc.exe its UTF-16 copy.
function(errtext_message_table name mcFile)
    set(outputs ${errtextGenerated}/${name}.rc ${errtextGenerated}/${name}.h
        ${errtextGenerated}/${name}_MSG00409.bin)
    if(MSVC)
        set(utf16Folder ${errtextGenerated}/utf16)
        add_custom_command(OUTPUT ${outputs}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${utf16Folder}
            COMMAND errtext_utf16_text ${mcFile} ${utf16Folder}/${name}.mc
            COMMAND ${TESSIVAL_MESSAGE_COMPILER} -u -U -b -h ${errtextGenerated} -r ${errtextGenerated} ${name}.mc
            DEPENDS ${mcFile} errtext_utf16_text
            WORKING_DIRECTORY ${utf16Folder}
            VERBATIM)
    else()
        add_custom_command(OUTPUT ${outputs}
            COMMAND ${TESSIVAL_MESSAGE_COMPILER} -U -C 65001 -b -h ${errtextGenerated} -r ${errtextGenerated}
                    ${mcFile}
            DEPENDS ${mcFile}
            WORKING_DIRECTORY ${errtextGenerated}
            VERBATIM)
    endif()
endfunction()
errtext_message_table(edge_messages ${errtextGenerated}/edge_messages.mc)
errtext_message_table(trap_messages ${errtextSource}/trap_messages.mc)

function(errtext_module target outputName subfolder)
    cmake_parse_arguments(PARSE_ARGV 3 arg "" "" "SOURCES")
    add_library(${target} MODULE ${arg_SOURCES})
    target_link_libraries(${target} PRIVATE tessival_build_flags)
    target_include_directories(${target} PRIVATE ${errtextGenerated})
    target_link_options(${target} PRIVATE ${TEST_HELPER_LINK_OPTIONS})
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${outputName}
        LIBRARY_OUTPUT_DIRECTORY ${TEST_OUTPUT_DIR}/${subfolder})
    install(TARGETS ${target} LIBRARY DESTINATION ${TEST_BUNDLE_DIR}/${subfolder} COMPONENT tests)
    add_dependencies(error_text_tests ${target})
endfunction()

errtext_module(errtext_edge_messages edge_messages errtext
    SOURCES ${errtextSource}/message_module.cpp ${errtextGenerated}/edge_messages.rc)
errtext_module(errtext_trap_wininet wininet errtext/trap
    SOURCES ${errtextSource}/trap_dll.cpp ${errtextGenerated}/trap_messages.rc)
errtext_module(errtext_trap_winhttp winhttp errtext/trap
    SOURCES ${errtextSource}/trap_dll.cpp ${errtextGenerated}/trap_messages.rc)
# One after the other: Visual Studio's generator gives each of the two its own copy of the rule that writes the
# shared message table, and two copies running at once would write the same files.
add_dependencies(errtext_trap_winhttp errtext_trap_wininet)

add_executable(errtext_lookup_probe ${errtextSource}/lookup_probe.cpp)
target_link_libraries(errtext_lookup_probe PRIVATE tessival_build_flags tessival_core)
target_link_options(errtext_lookup_probe PRIVATE ${TEST_WIDE_ENTRY_LINK_OPTIONS})
set_target_properties(errtext_lookup_probe PROPERTIES OUTPUT_NAME lookup_probe
    RUNTIME_OUTPUT_DIRECTORY ${TEST_OUTPUT_DIR}/errtext)
install(TARGETS errtext_lookup_probe RUNTIME DESTINATION ${TEST_BUNDLE_DIR}/errtext COMPONENT tests)
add_dependencies(error_text_tests errtext_lookup_probe)

# The tests name the known texts by the identifiers of the generated header.
target_include_directories(error_text_tests PRIVATE ${errtextGenerated})
target_sources(error_text_tests PRIVATE ${errtextGenerated}/edge_messages.h)
target_link_libraries(error_text_tests PRIVATE psapi)

# One test copies the built program beside the planted DLLs, so the program must be built first.
add_dependencies(error_text_tests Tessival)
