# Icons inside program files and libraries, and the extraction command.
list(APPEND MOSAIKON_FILES_SOURCES
  PeResources.cpp
  NeResources.cpp
  ProgramIconReader.cpp
  GenericAppIcon.cpp
  ProgramIcons.cpp
  ExtractionCommand.cpp
)
