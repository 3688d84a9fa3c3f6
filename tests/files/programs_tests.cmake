# Tests of the program-file icon reader and the extraction command.
mosaikon_add_test(program_resources_tests
  SOURCES ProgramResourcesTest.cpp ProgramFileBuilder.cpp
  LIBS mosaikon_files LABELS unit)
