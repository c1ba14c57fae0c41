# Images: the Image, its readers and LoadImage, and the mapping of points to pixels.
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(TIFF REQUIRED)

set(LUMETRA_IMAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/bmp_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gif_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_bgra.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_loader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_map_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_tiff_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jpeg_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/map_point.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixel_position.cpp
  ${CMAKE_CURRENT_LIST_DIR}/png_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tga_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tiff_reader.cpp
)
set(LUMETRA_IMAGES_LIBS lumetra_math lumetra2_headers PNG::PNG JPEG::JPEG TIFF::TIFF)

add_library(lumetra_images STATIC ${LUMETRA_IMAGES_SOURCES})
target_include_directories(lumetra_images PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(lumetra_images PUBLIC ${LUMETRA_IMAGES_LIBS})

lumetra_add_test(images_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/image_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/image_reader_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/image_interop_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/map_point_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pixel_position_test.cpp
  LIBS lumetra_images
)

# libFuzzer targets for the image readers (clang builds only):
#   <target> -max_total_time=600 -jobs=1 <corpus dir>
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_library(lumetra_images_fuzzing STATIC ${LUMETRA_IMAGES_SOURCES})
  target_include_directories(lumetra_images_fuzzing PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(lumetra_images_fuzzing PUBLIC ${LUMETRA_IMAGES_LIBS})
  target_compile_options(lumetra_images_fuzzing PUBLIC -fsanitize=fuzzer-no-link,address,undefined)
  foreach(fuzzer gif_reader_fuzz bmp_reader_fuzz tga_reader_fuzz image_loader_fuzz)
    add_executable(${fuzzer} ${CMAKE_CURRENT_LIST_DIR}/fuzz/${fuzzer}.cpp)
    target_link_libraries(${fuzzer} PRIVATE lumetra_images_fuzzing)
    target_link_options(${fuzzer} PRIVATE -fsanitize=fuzzer,address,undefined)
  endforeach()
endif()

# The textures that take their colours, normals or texture choices from an image belong
# to the texture engine's library.
target_sources(lumetra_texture PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/image_bump_normal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_mapping.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_material_map.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_pigment.cpp
)
target_link_libraries(lumetra_texture PUBLIC lumetra_images)
lumetra_add_test(image_textures_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/image_textures_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/image_map_settings_test.cpp
  LIBS lumetra_texture
)
