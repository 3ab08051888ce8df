# Form and system utilities, and the highlighting of the focused input control.
quelvaro_add_test(NAME tst_utilidades SOURCES tst_utilidades.cpp LIBS toolkit)
quelvaro_add_locale_run(tst_utilidades es_ES.UTF-8)
quelvaro_add_test(NAME tst_resalte SOURCES tst_resalte.cpp LIBS toolkit)
