# quelvaro_add_test(NAME name SOURCES a.cpp ... LIBS lib ...)
# A QtTest program run headless by CTest with a pinned locale.
function(quelvaro_add_test)
  cmake_parse_arguments(T "" "NAME;LOCALE" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
  if(NOT T_LOCALE)
    set(T_LOCALE C.UTF-8)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=${T_LOCALE};LC_ALL=${T_LOCALE}"
    TIMEOUT 300)
endfunction()

# Runs an already defined test program once more under another locale.
function(quelvaro_add_locale_run TARGET LOCALE)
  add_test(NAME ${TARGET}_${LOCALE} COMMAND ${TARGET})
  set_tests_properties(${TARGET}_${LOCALE} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=${LOCALE};LC_ALL=${LOCALE}"
    TIMEOUT 300)
endfunction()
