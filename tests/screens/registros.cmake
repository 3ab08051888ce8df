# Brands, models and vehicles windows.
if(TARGET screens AND TARGET testcommon)
  quelvaro_add_test(NAME tst_registros SOURCES tst_registros.cpp LIBS screens testcommon)

  # By hand: renders the windows to PNG files (capturas_registros [folder]).
  add_executable(capturas_registros EXCLUDE_FROM_ALL capturas.cpp)
  target_link_libraries(capturas_registros PRIVATE screens testcommon Qt6::Test)
  target_include_directories(capturas_registros PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
endif()
