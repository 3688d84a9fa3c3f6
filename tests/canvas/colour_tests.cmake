# The colour choice: swatches, the colour strip and picking from it.
mosaikon_add_test(colour_tests
  SOURCES ColourChoiceTest.cpp
  LIBS mosaikon_canvas
  LABELS unit)
