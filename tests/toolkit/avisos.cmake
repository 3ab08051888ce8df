# Message dialogs: layout, keys, beeps and the answers of the test seam.
quelvaro_add_test(NAME tst_avisos SOURCES tst_avisos.cpp LIBS toolkit testcommon)
# The shared helper that drives modal windows in every GUI test.
quelvaro_add_test(NAME tst_dialogosprueba SOURCES tst_dialogosprueba.cpp LIBS testcommon)
