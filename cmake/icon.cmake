# The program icon is drawn by the saver's own rasteriser; a test (tests/) proves that the
# committed res/zova.ico is exactly that drawing.
add_executable(make_icon tools/make_icon.cpp)
target_link_libraries(make_icon PRIVATE zova_portable)

# After a change to the drawing: cmake --build <dir> --target update-icon
add_custom_target(update-icon COMMAND make_icon ${CMAKE_SOURCE_DIR}/res/zova.ico
                  COMMENT "Redrawing res/zova.ico")
