# The measurement archive on both engines (PostgreSQL through tools/pg.sh).
add_executable(grx1-bench-archive bench_archive.cpp)
target_link_libraries(grx1-bench-archive PRIVATE grx1archive benchmark::benchmark)
