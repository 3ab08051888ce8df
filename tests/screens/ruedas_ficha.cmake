# Tyres and technical sheet windows.
if(TARGET screens AND TARGET testcommon)
  quelvaro_add_test(NAME tst_ruedas SOURCES tst_ruedas.cpp LIBS screens testcommon)
  quelvaro_add_test(NAME tst_fichatec SOURCES tst_fichatec.cpp LIBS screens testcommon)
endif()
