# The map of the test points: a full redraw of the largest set.
add_executable(grx1-bench-map bench_map.cpp)
target_link_libraries(grx1-bench-map PRIVATE grx1ui benchmark::benchmark)
