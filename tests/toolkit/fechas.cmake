# Date entry: formats, the check of typed dates and the date button.
if(TARGET toolkit AND TARGET testcommon)
  quelvaro_add_test(NAME tst_fechas SOURCES tst_fechas.cpp LIBS toolkit testcommon)
endif()
