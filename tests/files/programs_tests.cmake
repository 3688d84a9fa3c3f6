# Tests of the program-file icon reader and the extraction command.
mosaikon_add_test(program_resources_tests
  SOURCES ProgramResourcesTest.cpp ProgramFileBuilder.cpp
  LIBS mosaikon_files LABELS unit)

find_package(PkgConfig REQUIRED)
pkg_check_modules(SPNG_FOR_PROGRAM_TESTS REQUIRED IMPORTED_TARGET spng)

mosaikon_add_test(program_icons_tests
  SOURCES ProgramIconsTest.cpp ProgramFileBuilder.cpp PictureTestSupport.cpp
  LIBS mosaikon_files PkgConfig::SPNG_FOR_PROGRAM_TESTS LABELS unit)

mosaikon_add_test(program_corpus_tests
  SOURCES ProgramCorpusTest.cpp PictureTestSupport.cpp
  LIBS mosaikon_files PkgConfig::SPNG_FOR_PROGRAM_TESTS LABELS unit)

mosaikon_add_test(extraction_command_tests
  SOURCES ExtractionCommandTest.cpp PictureTestSupport.cpp
  LIBS mosaikon_files PkgConfig::SPNG_FOR_PROGRAM_TESTS LABELS unit)
