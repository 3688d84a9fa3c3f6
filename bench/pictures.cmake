# Benchmarks of the picture readers.
