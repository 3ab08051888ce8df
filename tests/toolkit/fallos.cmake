# Failures inside the toolkit's handlers go to the central handler, never through Qt.
if(TARGET toolkit AND TARGET testcommon)
  quelvaro_add_test(NAME tst_fallos_manejadores SOURCES tst_fallos_manejadores.cpp LIBS toolkit testcommon)
endif()
