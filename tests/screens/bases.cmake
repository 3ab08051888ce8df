# The list and editor bases on which the record windows are written.
if(TARGET screens AND TARGET testcommon)
  quelvaro_add_test(NAME tst_bases SOURCES tst_bases.cpp LIBS screens testcommon)
endif()

# Failures inside the record windows' handlers reach the error handler where they run.
if(TARGET screens AND TARGET testcommon)
  quelvaro_add_test(NAME tst_fallos_pantallas SOURCES tst_fallos_pantallas.cpp LIBS screens errors testcommon)
endif()
