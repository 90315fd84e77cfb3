# Host build: the portable code, the tools, the X11 hack, and every test (tests/).
find_package(GTest REQUIRED)
include(GoogleTest)

# Debian's hardening for what the package ships: checked buffer functions, and relocations
# read-only before the program runs.
add_compile_definitions(_FORTIFY_SOURCE=2)
add_link_options(-Wl,-z,relro,-z,now)

zova_portable_library(zova_portable)

if(EXISTS ${CMAKE_SOURCE_DIR}/cmake/icon.cmake)
    include(cmake/icon.cmake)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/tools/CMakeLists.txt)
    add_subdirectory(tools)
endif()
add_subdirectory(tests)
# The X11 screen hack and its tests.
if(EXISTS ${CMAKE_SOURCE_DIR}/x11/CMakeLists.txt)
    add_subdirectory(x11)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/x11/CMakeLists.txt)
    add_subdirectory(tests/x11)
endif()
