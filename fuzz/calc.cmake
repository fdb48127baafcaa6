qtx_add_fuzzer(fuzz_calc SOURCES ${CMAKE_CURRENT_LIST_DIR}/FuzzCalc.cpp LIBS qtx_engine)
