# Benchmark of a full tester read over the bulk pipes from the simulated tester.
# Included from bench/CMakeLists.txt: include(${CMAKE_CURRENT_SOURCE_DIR}/device.cmake)
add_executable(grx1-bench-device ${CMAKE_CURRENT_LIST_DIR}/bench_device_read.cpp)
target_link_libraries(grx1-bench-device PRIVATE grx1core grx1simdata benchmark::benchmark)
