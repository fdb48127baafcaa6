# The window layer: built with the desktop program only.
if(TARGET qtx_desktop)
  find_package(Qt6 COMPONENTS Test)
  if(TARGET Qt6::Test)
    qtx_add_bench(bench_app SOURCES ${CMAKE_CURRENT_LIST_DIR}/BenchApp.cpp LIBS qtx_desktop Qt6::Test)
  endif()
endif()
