# Maintenance intervals and maintenance records windows.
if(TARGET screens AND TARGET testcommon)
  quelvaro_add_test(NAME tst_intervalos SOURCES tst_intervalos.cpp LIBS screens testcommon)
  quelvaro_add_test(NAME tst_mantenimiento SOURCES tst_mantenimiento.cpp LIBS screens testcommon)
endif()
