# The printed report: layout, PDF and the preview's first page of the largest series table.
add_executable(grx1-bench-report bench_report.cpp)
target_link_libraries(grx1-bench-report PRIVATE grx1ui benchmark::benchmark)
