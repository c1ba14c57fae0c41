# The writers of the still and frame output files (not in the 32-bit layout build,
# which has no 32-bit image libraries).
if(NOT LUMETRA_M32)
  find_package(PNG REQUIRED)
  find_package(TIFF REQUIRED)
  add_library(lumetra_render_output STATIC
    image_writer.cpp
    image_writer_bmp.cpp
    image_writer_file.cpp
    image_writer_png.cpp
    image_writer_ppm.cpp
    image_writer_tga.cpp
    image_writer_tiff.cpp
  )
  target_include_directories(lumetra_render_output PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(lumetra_render_output PUBLIC lumetra_images PNG::PNG TIFF::TIFF)

  lumetra_add_test(image_writer_test
    SOURCES image_writer_test.cpp image_writer_interop_test.cpp
    LIBS lumetra_render_output
  )
endif()
