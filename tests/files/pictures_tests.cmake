# Tests of the picture readers, writers and the open/save commands.
# The reference PNGs are read with libspng directly, not through the readers under test.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SPNG_FOR_TESTS REQUIRED IMPORTED_TARGET spng)

mosaikon_add_test(mosaikon_pictures_tests
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/PictureTestSupport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/IconReaderTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/BitmapReaderTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/HostileFilesTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/PictureWriterTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/FileCommandsTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/FileBytesTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/SaveTargetsTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/SaveDurabilityTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/SaveCrashTest.cpp
  LIBS mosaikon_files PkgConfig::SPNG_FOR_TESTS
  LABELS unit)

