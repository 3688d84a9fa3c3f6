# Benchmarks of the program-file icon reader.
mosaikon_add_bench(program_icon_bench ProgramIconBench.cpp ${PROJECT_SOURCE_DIR}/tests/files/ProgramFileBuilder.cpp)
target_include_directories(program_icon_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/files)
target_compile_definitions(program_icon_bench PRIVATE
  MOSAIKON_BENCH_DEFAULT_PROGRAM="${PROJECT_SOURCE_DIR}/tests/data/pe/pe32/inetcpl.cpl")
