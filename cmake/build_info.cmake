# Writes build_info.h for the version block: the build's date and time (from SOURCE_DATE_EPOCH when it is
# set, so that a build can be reproduced byte for byte) and the build host's name (TESSIVAL_BUILD_HOST when
# it is set). Run with -DOUTPUT=<file>.
string(TIMESTAMP buildTime "%Y-%m-%d %H:%M:%S" UTC)
if(DEFINED ENV{TESSIVAL_BUILD_HOST})
    set(buildHost "$ENV{TESSIVAL_BUILD_HOST}")
else()
    cmake_host_system_information(RESULT buildHost QUERY HOSTNAME)
endif()
string(REGEX REPLACE "[^A-Za-z0-9._-]" "_" buildHost "${buildHost}")
set(content "#define BUILD_TIME \"${buildTime}\"\n#define BUILD_HOST \"${buildHost}\"\n")
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" previous)
endif()
if(NOT "${previous}" STREQUAL "${content}")
    file(WRITE "${OUTPUT}" "${content}")
endif()
