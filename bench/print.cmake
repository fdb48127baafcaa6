# Printing: the whole sheet to PDF and the preview's first page (window layer).
if(TARGET qtx_desktop)
  qtx_add_bench(bench_print SOURCES ${CMAKE_CURRENT_LIST_DIR}/BenchPrint.cpp LIBS qtx_desktop)
endif()
