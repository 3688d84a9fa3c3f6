# Icon and bitmap readers and writers, and the open and save commands.
list(APPEND MOSAIKON_FILES_SOURCES
  IconImage.cpp
)
