qtx_add_fuzzer(fuzz_sheetactions SOURCES ${CMAKE_CURRENT_LIST_DIR}/FuzzSheetActions.cpp LIBS qtx_session qtx_document)
