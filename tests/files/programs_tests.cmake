# Tests of the program-file icon reader and the extraction command.
