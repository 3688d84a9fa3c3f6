# Benchmarks of the picture readers.
mosaikon_add_bench(pictures_bench ${CMAKE_CURRENT_SOURCE_DIR}/PictureFilesBench.cpp)
target_compile_definitions(pictures_bench PRIVATE MOSAIKON_BENCH_DATA="${PROJECT_SOURCE_DIR}/tests/data")
