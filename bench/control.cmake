# The compaction control: the evaluation of the largest read and its acceptance protocol as PDF.
add_executable(grx1-bench-control bench_control.cpp)
target_link_libraries(grx1-bench-control PRIVATE grx1report benchmark::benchmark)
