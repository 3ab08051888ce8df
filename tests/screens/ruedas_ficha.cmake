# Tyres and technical sheet windows.
if(TARGET screens AND TARGET testcommon)
  quelvaro_add_test(NAME tst_ruedas SOURCES tst_ruedas.cpp LIBS screens testcommon)
  quelvaro_add_test(NAME tst_fichatec SOURCES tst_fichatec.cpp LIBS screens testcommon)
endif()

# By hand: renders the windows to PNG files (capturas_ruedas_ficha [folder]).
if(TARGET screens AND TARGET testcommon)
  add_executable(capturas_ruedas_ficha EXCLUDE_FROM_ALL capturas_ruedas_ficha.cpp)
  target_link_libraries(capturas_ruedas_ficha PRIVATE screens testcommon Qt6::Test)
  target_include_directories(capturas_ruedas_ficha PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
endif()
