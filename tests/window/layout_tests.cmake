# Tests of the whole window layout, colour choice and web link.
mosaikon_add_window_test(window_layout_tests
  LayoutTest.cpp
  ToolbarTest.cpp
  ColourWindowTest.cpp
  WebLinkTest.cpp
  DisplayScaleTest.cpp
  DispatchTest.cpp
)
