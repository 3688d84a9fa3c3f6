# Fuzz targets of the icon and bitmap readers.
mosaikon_add_fuzzer(fuzz_icon_file ${CMAKE_CURRENT_SOURCE_DIR}/FuzzIconFile.cpp)
mosaikon_add_fuzzer(fuzz_bitmap_file ${CMAKE_CURRENT_SOURCE_DIR}/FuzzBitmapFile.cpp)
