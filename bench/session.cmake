# Whole user actions through the session, with the INI settings on disk.
if(TARGET qtx_settings_ini)
  qtx_add_bench(bench_session
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/BenchSession.cpp ${PROJECT_SOURCE_DIR}/tests/core/sheet/LiteralSheet.cpp
    LIBS qtx_session qtx_document qtx_settings_ini)
endif()
