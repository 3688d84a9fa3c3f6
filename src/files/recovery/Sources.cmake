# The kept copy of the icon and the recent files, in the user's state folder.
target_sources(mosaikon_files PRIVATE
  recovery/KeptCopies.cpp
  recovery/KeptCopyNames.cpp
  recovery/KeptCopySchedule.cpp
  recovery/KeptCopyWriter.cpp
  recovery/RecentFiles.cpp
)
# The calls that differ between platforms: the state folder and the copies' locks.
if(WIN32)
  target_sources(mosaikon_files PRIVATE recovery/StateFolderWindows.cpp)
else()
  target_sources(mosaikon_files PRIVATE recovery/StateFolderPosix.cpp)
endif()
find_package(Threads REQUIRED)
target_link_libraries(mosaikon_files PRIVATE Threads::Threads)
