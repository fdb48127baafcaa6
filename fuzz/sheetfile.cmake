qtx_add_fuzzer(fuzz_sheetfile SOURCES ${CMAKE_CURRENT_LIST_DIR}/FuzzSheetFile.cpp LIBS qtx_document)
