# The fleet overview window.
if(TARGET screens AND TARGET testcommon)
  quelvaro_add_test(NAME tst_vencimientos SOURCES tst_vencimientos.cpp LIBS screens testcommon)
endif()
