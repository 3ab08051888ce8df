# Date entry: formats, the check of typed dates and the date button.
if(TARGET toolkit AND TARGET testcommon)
  quelvaro_add_test(NAME tst_fechas SOURCES tst_fechas.cpp LIBS toolkit testcommon)
endif()
if(TARGET tst_fechas)
  # The start-up formats under Spanish regional settings (one-digit hour "H:mm").
  quelvaro_add_locale_run(tst_fechas es_ES.UTF-8)
endif()
