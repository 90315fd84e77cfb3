# Windows builds: the saver, its tests, the end-to-end driver and the password-provider doubles.
# Tests run under Wine in a private prefix and display that a ctest fixture sets up.
enable_language(RC)

# Static linking: no MinGW runtime DLLs beside the program.
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static")
zova_portable_library(zova_portable)

# Windows-side code, compiled once for the program and the Windows-side tests. Object files, not
# an archive: the C runtime asks for WinMain only after the archives have been searched. The
# tests carry WinMain unused, their entry being main.
file(GLOB ZOVA_WINDOWS_SOURCES CONFIGURE_DEPENDS settings/*.cpp shell/*.cpp)
add_library(zova_windows OBJECT ${ZOVA_WINDOWS_SOURCES})
target_link_libraries(zova_windows PUBLIC zova_portable user32 gdi32 advapi32 comctl32)
# Japanese texts of the narrow interfaces are CP932 bytes in the binary.
target_compile_options(zova_windows PUBLIC "$<$<COMPILE_LANGUAGE:CXX>:-fexec-charset=CP932>")

add_executable(zova WIN32 res/zova.rc)
target_link_libraries(zova PRIVATE zova_windows)
set_target_properties(zova PROPERTIES SUFFIX ".scr")

# The tests are built when cross-compiling on Debian, which ships GoogleTest's sources; a build on
# Windows itself (MSYS2) makes the saver only.
if(NOT CMAKE_CROSSCOMPILING OR NOT EXISTS /usr/src/googletest/CMakeLists.txt)
    return()
endif()

set(ZOVA_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${ZOVA_WINE_STATE})

# GoogleTest from the sources Debian ships.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# The Wine prefix and display, made once per test run and removed after it.
add_test(NAME ${ZOVA_WINE_ARCH}.wine-setup
         COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-fixture.sh setup ${ZOVA_WINE_STATE} ${ZOVA_WINE_ARCH})
add_test(NAME ${ZOVA_WINE_ARCH}.wine-teardown
         COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-fixture.sh teardown ${ZOVA_WINE_STATE})
set_tests_properties(${ZOVA_WINE_ARCH}.wine-setup PROPERTIES FIXTURES_SETUP wine_${ZOVA_WINE_ARCH}
                     TIMEOUT 180)
set_tests_properties(${ZOVA_WINE_ARCH}.wine-teardown PROPERTIES
                     FIXTURES_CLEANUP wine_${ZOVA_WINE_ARCH})

# Each Windows test program is one ctest test: a Wine process start costs too much to spend one
# per test case.
function(zova_wine_test name)
    add_test(NAME ${ZOVA_WINE_ARCH}.${name} COMMAND ${ARGN})
    set_tests_properties(${ZOVA_WINE_ARCH}.${name} PROPERTIES
                         FIXTURES_REQUIRED wine_${ZOVA_WINE_ARCH}
                         RESOURCE_LOCK wine_${ZOVA_WINE_ARCH}_display TIMEOUT 600)
endfunction()

add_executable(unit_tests ${ZOVA_UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE zova_portable_reference gtest_main)
zova_wine_test(unit unit_tests)

file(GLOB ZOVA_WIN_TEST_SOURCES CONFIGURE_DEPENDS tests/win/*.cpp)
if(ZOVA_WIN_TEST_SOURCES)
    # The tests carry the program's resources so that the setup dialog can be created from them.
    add_executable(windows_tests ${ZOVA_WIN_TEST_SOURCES} res/zova.rc)
    target_link_libraries(windows_tests PRIVATE zova_windows gtest_main)
    zova_wine_test(windows windows_tests)
endif()

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/doubles/CMakeLists.txt)
    add_subdirectory(tests/doubles)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
    add_subdirectory(tests/e2e)
endif()
