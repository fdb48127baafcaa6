qtx_add_bench(bench_sheetedit SOURCES ${CMAKE_CURRENT_LIST_DIR}/BenchSheetEdit.cpp LIBS qtx_session qtx_document qtx_edit qtx_sheet qtx_settings qtx_engine)
