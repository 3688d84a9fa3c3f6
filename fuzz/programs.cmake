# Fuzz target of the program-file icon reader.
mosaikon_add_fuzzer(fuzz_program_icon FuzzProgramIcon.cpp)
