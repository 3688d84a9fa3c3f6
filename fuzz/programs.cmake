# Fuzz target of the program-file icon reader.
