# Data-bound controls: edits, memo, lookup combo, navigator, grid and record panels.
if(TARGET toolkit AND TARGET testcommon)
  quelvaro_add_test(NAME tst_dbgrid SOURCES tst_dbgrid.cpp LIBS toolkit testcommon SQLite::SQLite3)
  quelvaro_add_test(NAME tst_dbcontroles SOURCES tst_dbcontroles.cpp LIBS toolkit testcommon)
endif()
