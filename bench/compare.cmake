qtx_add_bench(bench_compare SOURCES ${CMAKE_CURRENT_LIST_DIR}/BenchCompare.cpp LIBS qtx_compare qtx_document)
