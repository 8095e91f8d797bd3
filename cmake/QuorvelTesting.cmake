# GoogleTest for every build: Debian's packaged copy natively, and the same
# sources built with the cross compiler for Windows.
include(CTest)
if(NOT BUILD_TESTING)
    return()
endif()

if(CMAKE_CROSSCOMPILING)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
    # googletest 1.12 names its targets GTest::... itself; older copies do not.
    foreach(lib IN ITEMS gtest gtest_main gmock gmock_main)
        if(NOT TARGET GTest::${lib})
            add_library(GTest::${lib} ALIAS ${lib})
        endif()
    endforeach()
else()
    find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# quorvel_add_gtest(NAME SOURCES... LIBS... [PROPERTIES NAME VALUE...]): one
# test executable, its tests listed by GoogleTest at test time (through the
# emulator when cross-built), each test given the ctest PROPERTIES. ctest runs
# tests side by side: tests that share something of the machine's, such as the
# desktop's focus and clipboard, say so with PROPERTIES RESOURCE_LOCK desktop.
function(quorvel_add_gtest name)
    cmake_parse_arguments(arg "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gtest_main GTest::gmock)
    quorvel_warnings(${name})
    set(properties)
    if(arg_PROPERTIES)
        set(properties PROPERTIES ${arg_PROPERTIES})
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 ${properties})
endfunction()
