# One library per layer. Each layer declares the Qt modules it may use and the
# layers below it that it links; the build refuses a link upwards, and the test
# "capas" fails when a layer's sources include a header of a Qt module it did not
# declare, by whatever path the compiler found it.
set(QUELVARO_ORDEN_CAPAS store data toolkit errors reportengine reports screens backup shell)

# Qt modules a module brings with it (Widgets brings Gui, Gui brings Core, ...).
function(_quelvaro_modulos_qt salida)
  set(pendientes ${ARGN} Core)
  set(vistos "")
  while(pendientes)
    list(POP_FRONT pendientes m)
    if(m IN_LIST vistos)
      continue()
    endif()
    list(APPEND vistos ${m})
    if(TARGET Qt6::${m})
      get_target_property(deps Qt6::${m} INTERFACE_LINK_LIBRARIES)
      foreach(dep IN LISTS deps)
        if(dep MATCHES "^Qt6::([A-Za-z]+)$")
          set(mod ${CMAKE_MATCH_1})
          if(NOT mod MATCHES "Private$")
            list(APPEND pendientes ${mod})
          endif()
        endif()
      endforeach()
    endif()
  endwhile()
  set(${salida} ${vistos} PARENT_SCOPE)
endfunction()

# quelvaro_capa(NAME capa QT Core Gui ... [LINKS capas de abajo ...] [PRIVATE otras ...] [SOURCES extra ...])
# Builds the static library of the folder's *.cpp, *.h, *.ui and *.qrc.
function(quelvaro_capa)
  cmake_parse_arguments(C "" "NAME" "QT;LINKS;PRIVATE;SOURCES;EXCLUDE" ${ARGN})
  list(FIND QUELVARO_ORDEN_CAPAS ${C_NAME} mi_nivel)
  if(mi_nivel LESS 0)
    message(FATAL_ERROR "${C_NAME} no es una capa conocida")
  endif()
  foreach(capa IN LISTS C_LINKS)
    list(FIND QUELVARO_ORDEN_CAPAS ${capa} nivel)
    if(nivel LESS 0 OR NOT nivel LESS mi_nivel)
      message(FATAL_ERROR "La capa ${C_NAME} no puede depender de ${capa}")
    endif()
  endforeach()

  file(GLOB fuentes CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
    ${CMAKE_CURRENT_SOURCE_DIR}/*.ui ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  foreach(f IN LISTS C_EXCLUDE)
    list(REMOVE_ITEM fuentes ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
  add_library(${C_NAME} STATIC ${fuentes} ${C_SOURCES})
  target_include_directories(${C_NAME} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  set(qt "")
  foreach(m IN LISTS C_QT)
    list(APPEND qt Qt6::${m})
  endforeach()
  target_link_libraries(${C_NAME} PUBLIC ${C_LINKS} ${qt} PRIVATE ${C_PRIVATE})

  _quelvaro_modulos_qt(permitidos ${C_QT})
  list(JOIN permitidos "+" permitidos)
  set_property(GLOBAL APPEND PROPERTY QUELVARO_CAPAS
    "${C_NAME}|${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/${C_NAME}.dir|${permitidos}")
endfunction()

# Registers the test that reads the compiler's dependency files of every layer.
function(quelvaro_prueba_capas)
  get_property(capas GLOBAL PROPERTY QUELVARO_CAPAS)
  get_target_property(core_dirs Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
  set(raiz "")
  foreach(d IN LISTS core_dirs)
    if(d MATCHES "^(.*)/QtCore$")
      set(raiz ${CMAKE_MATCH_1})
    endif()
  endforeach()
  list(JOIN capas "," capas_arg)
  add_test(NAME capas COMMAND ${CMAKE_COMMAND}
    -DRAIZ_QT=${raiz} "-DCAPAS=${capas_arg}"
    -P ${CMAKE_SOURCE_DIR}/cmake/ComprobarCapas.cmake)
  # The check must see a foreign include where there is one.
  add_test(NAME capas_detecta COMMAND ${CMAKE_COMMAND}
    -DRAIZ_QT=/qt6 "-DCAPAS=store|${CMAKE_SOURCE_DIR}/tests/capas/store.dir|Core"
    -P ${CMAKE_SOURCE_DIR}/cmake/ComprobarCapas.cmake)
  set_tests_properties(capas_detecta PROPERTIES
    PASS_REGULAR_EXPRESSION "store incluye QtWidgets: /qt6/QtWidgets/QWidget")
endfunction()
