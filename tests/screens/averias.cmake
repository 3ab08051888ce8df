# Breakdowns windows.
if(TARGET screens AND TARGET testcommon)
  quelvaro_add_test(NAME tst_averias SOURCES tst_averias.cpp LIBS screens testcommon)

  # By hand: renders the windows to PNG files (capturas_averias [folder]).
  add_executable(capturas_averias EXCLUDE_FROM_ALL capturas_averias.cpp)
  target_link_libraries(capturas_averias PRIVATE screens testcommon Qt6::Test)
  target_include_directories(capturas_averias PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
endif()
