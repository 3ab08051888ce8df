# The calendar dialog, its month grid and the auto-repeating button.
quelvaro_add_test(NAME tst_calendario SOURCES tst_calendario.cpp LIBS toolkit)
quelvaro_add_test(NAME tst_repbutton SOURCES tst_repbutton.cpp LIBS toolkit)
