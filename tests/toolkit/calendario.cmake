# The calendar dialog, its month grid and the auto-repeating button.
quelvaro_add_test(NAME tst_calendario SOURCES tst_calendario.cpp LIBS toolkit)
quelvaro_add_test(NAME tst_repbutton SOURCES tst_repbutton.cpp LIBS toolkit)
# Month and day names are the program's own, whatever the user's locale.
quelvaro_add_locale_run(tst_calendario en_US.UTF-8)
