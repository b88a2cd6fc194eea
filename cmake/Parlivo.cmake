# parlivo_library(NAME deps... [EXCLUDE files...])
# Builds every source below the folder NAME into a static library NAME that links deps.
function(parlivo_library name)
    cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
        "${CMAKE_SOURCE_DIR}/${name}/*.cpp" "${CMAKE_SOURCE_DIR}/${name}/*.h")
    foreach(excluded ${ARG_EXCLUDE})
        list(REMOVE_ITEM sources "${CMAKE_SOURCE_DIR}/${name}/${excluded}")
    endforeach()
    add_library(${name} STATIC ${sources})
    # The library's headers are reached as "name/Header.h" through a folder that holds only a link to it.
    set(include_dir "${CMAKE_BINARY_DIR}/include/${name}")
    file(MAKE_DIRECTORY "${include_dir}")
    file(CREATE_LINK "${CMAKE_SOURCE_DIR}/${name}" "${include_dir}/${name}" SYMBOLIC)
    target_include_directories(${name} PUBLIC "${include_dir}")
    target_link_libraries(${name} PUBLIC ${ARG_UNPARSED_ARGUMENTS})
endfunction()

# parlivo_test(FOLDER libs...)
# One GoogleTest program per folder of tests/, each test run by ctest on its own with no display; only the
# sound tests use the sound server that tools/test.sh starts.
function(parlivo_test folder)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp")
    if(NOT sources)
        return()
    endif()
    set(target tests_${folder})
    add_executable(${target} ${sources})
    target_link_libraries(${target} PRIVATE testsupport ${ARGN})
    # The sound tests record the one sound server's output, so nothing else may run beside them.
    set(serial FALSE)
    if(folder STREQUAL "sound")
        set(serial TRUE)
    endif()
    gtest_discover_tests(${target}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES
            LABELS ${folder}
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8;QTWEBENGINE_DISABLE_SANDBOX=1"
            TIMEOUT 300
            RUN_SERIAL ${serial})
endfunction()
