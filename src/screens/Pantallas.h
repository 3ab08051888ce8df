// Entry points through which the main window opens the record windows: each
// creates the window, shows it modally and destroys it when it closes.
#pragma once

class QWidget;

void Abrir_Matriculas(QWidget *parent = nullptr);
void Abrir_Marcas(QWidget *parent = nullptr);
void Abrir_Modelos(QWidget *parent = nullptr);
void Abrir_Mantenimiento(QWidget *parent = nullptr);
void Abrir_Intervalos(QWidget *parent = nullptr);
void Abrir_Averias(QWidget *parent = nullptr);
void Abrir_Ruedas(QWidget *parent = nullptr);
void Abrir_FichaTec(QWidget *parent = nullptr);
