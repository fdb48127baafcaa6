qtx_add_bench(bench_document SOURCES ${CMAKE_CURRENT_LIST_DIR}/BenchDocument.cpp LIBS qtx_session qtx_document)
