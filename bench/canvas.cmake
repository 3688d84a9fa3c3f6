# Benchmarks of the surface operations, the tools and the transforms.
