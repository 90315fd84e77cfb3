# Host build: the portable code and its tests (plain and sanitised), and the tools.
find_package(GTest REQUIRED)
include(GoogleTest)

zova_portable_library(zova_portable)

add_executable(unit_tests ${ZOVA_UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE zova_portable_reference GTest::gtest_main)
gtest_discover_tests(unit_tests TEST_PREFIX "native." DISCOVERY_TIMEOUT 60)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
set(ZOVA_SANITIZE -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all -fno-omit-frame-pointer)
zova_portable_library(zova_portable_sanitized)
target_compile_options(zova_portable_sanitized PUBLIC ${ZOVA_SANITIZE})
target_link_options(zova_portable_sanitized PUBLIC ${ZOVA_SANITIZE})
add_executable(unit_tests_sanitized ${ZOVA_UNIT_TEST_SOURCES})
target_link_libraries(unit_tests_sanitized PRIVATE zova_portable_sanitized_reference
                      GTest::gtest_main)
gtest_discover_tests(unit_tests_sanitized TEST_PREFIX "sanitized." DISCOVERY_TIMEOUT 60)

if(EXISTS ${CMAKE_SOURCE_DIR}/cmake/icon.cmake)
    include(cmake/icon.cmake)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/tools/CMakeLists.txt)
    add_subdirectory(tools)
endif()
# The X11 screen hack and its tests.
if(EXISTS ${CMAKE_SOURCE_DIR}/x11/CMakeLists.txt)
    add_subdirectory(x11)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/x11/CMakeLists.txt)
    add_subdirectory(tests/x11)
endif()

# One ctest run covers every build: the Windows builds' tests, when those trees exist beside
# this one, are included from here.
get_filename_component(ZOVA_BUILD_ROOT ${CMAKE_BINARY_DIR} DIRECTORY)
file(WRITE ${CMAKE_BINARY_DIR}/include-windows-tests.cmake
     "foreach(arch win32 win64)\n"
     "  if(EXISTS \"${ZOVA_BUILD_ROOT}/\${arch}/CTestTestfile.cmake\")\n"
     "    subdirs(\"${ZOVA_BUILD_ROOT}/\${arch}\")\n"
     "  endif()\n"
     "endforeach()\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES
             ${CMAKE_BINARY_DIR}/include-windows-tests.cmake)
