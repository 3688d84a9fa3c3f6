# Tests of the whole window layout, colour choice and web link.
