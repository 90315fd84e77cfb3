# Windows builds: the saver, and its tests (tests/) when cross-compiling.
enable_language(RC)

# Static linking: no MinGW runtime DLLs beside the program. No link time in the PE header, so
# that every build of a commit gives the same bytes.
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static -Wl,--no-insert-timestamp")
zova_portable_library(zova_portable)

# Windows-side code, compiled once for the program and the Windows-side tests. Object files, not
# an archive: the C runtime asks for WinMain only after the archives have been searched. The
# tests carry WinMain unused, their entry being main.
file(GLOB ZOVA_WINDOWS_SOURCES CONFIGURE_DEPENDS settings/*.cpp shell/*.cpp)
add_library(zova_windows OBJECT ${ZOVA_WINDOWS_SOURCES})
target_link_libraries(zova_windows PUBLIC zova_portable user32 gdi32 advapi32 comctl32)
# Japanese texts of the narrow interfaces are CP932 bytes in the binary.
target_compile_options(zova_windows PUBLIC "$<$<COMPILE_LANGUAGE:CXX>:-fexec-charset=CP932>")

# windres reports no included files: name them, so that a change to any of them rebuilds the
# resources.
set(ZOVA_RESOURCE_INPUTS res/resource_ids.h res/zova.ico scene/tunables.h)
list(TRANSFORM ZOVA_RESOURCE_INPUTS PREPEND ${CMAKE_SOURCE_DIR}/)
set_source_files_properties(res/zova.rc PROPERTIES OBJECT_DEPENDS "${ZOVA_RESOURCE_INPUTS}")
add_executable(zova WIN32 res/zova.rc res/version.rc)
target_link_libraries(zova PRIVATE zova_windows)
target_compile_definitions(
    zova PRIVATE ZOVA_VERSION_MAJOR=${PROJECT_VERSION_MAJOR} ZOVA_VERSION_MINOR=${PROJECT_VERSION_MINOR}
                 ZOVA_VERSION_PATCH=${PROJECT_VERSION_PATCH})
set_target_properties(zova PROPERTIES SUFFIX ".scr")

# Ends a saver that runs on a display without a keyboard, as a user would (scripts/run.sh).
add_executable(press_key tools/press_key.cpp)
target_link_libraries(press_key PRIVATE user32)

# The tests are built when cross-compiling on Debian, which ships GoogleTest's sources; a build on
# Windows itself (MSYS2) makes the saver only.
if(CMAKE_CROSSCOMPILING AND EXISTS /usr/src/googletest/CMakeLists.txt)
    add_subdirectory(tests)
endif()
