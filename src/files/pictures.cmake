# Icon and bitmap readers and writers, and the open and save commands.
list(APPEND MOSAIKON_FILES_SOURCES
  ByteSource.cpp
  FileBytes.cpp
  DibFormat.cpp
  RleDecoder.cpp
  FileBackedBitmap.cpp
  BmpReader.cpp
  PngImage.cpp
  IconImage.cpp
  IconFileReader.cpp
  AtomicFile.cpp
  SaveTemporaries.cpp
  IconWriter.cpp
  BmpWriter.cpp
  IconConversion.cpp
  PictureFiles.cpp
  FileCommands.cpp
)
