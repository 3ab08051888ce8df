// The pictures of the preview window's tool buttons, drawn in code.
#pragma once

#include <QIcon>
#include <QString>

// "Primera", "Anterior", "Siguiente", "Ultima", "HojaEntera", "TamanoCompleto",
// "AnchoPagina", "Reducir", "Ampliar", "Configurar", "Imprimir", "Guardar",
// "Cargar", "Cerrar". An unknown name gives an empty icon.
QIcon Imagen_Vista(const QString &nombre);
