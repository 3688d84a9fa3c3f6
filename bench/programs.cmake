# Benchmarks of the program-file icon reader.
