# Benchmarks of the surface operations, the tools and the transforms.
mosaikon_add_bench(canvas_bench CanvasBench.cpp)
