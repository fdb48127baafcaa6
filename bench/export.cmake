qtx_add_bench(bench_export SOURCES ${CMAKE_CURRENT_LIST_DIR}/BenchExport.cpp LIBS qtx_session qtx_export qtx_text)
