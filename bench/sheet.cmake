qtx_add_bench(bench_sheet SOURCES ${CMAKE_CURRENT_LIST_DIR}/BenchSheet.cpp LIBS qtx_sheet qtx_settings qtx_engine)
