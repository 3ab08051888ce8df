// The data module: the database object, every table object and data source, the
// values the windows share, the start-up check and the due computation.
// One instance lives for the whole run and is reachable as ModuloDatos.
#pragma once

#include "Tareas.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <exception>
#include <functional>

class TDatabase;
class TTable;
class TDataSource;

// Which list window follows the current vehicle.
enum : quint8 {
    Pantalla_Mantenimiento = 0,
    Pantalla_Averias = 1,
    Pantalla_Ruedas = 2,
    Pantalla_FichaTec = 3,
    Pantalla_Ninguna = 4,
};

// What the next editor dialog does (Modo_Edicion and its brand and model twins).
enum : quint8 { Modo_Anadir = 0, Modo_Editar = 1, Modo_Eliminar = 2 };

// Which report the report dialog prepares.
enum : quint8 { Informe_Mantenimiento = 0, Informe_Averias = 1, Informe_Ruedas = 2, Informe_FichaTec = 3 };

// Implemented by the list windows that follow the current vehicle; the module
// calls them when the vehicle changes while they are the window named by
// Pantalla_Activa.
class tVentanaVehiculo
{
public:
    virtual ~tVentanaVehiculo() = default;
    virtual void Actualizar_Titulo() = 0;
    // Writes Km_Proximo into the due panels (maintenance window only).
    virtual void Mostrar_Proximo_Mantenimiento() {}
};

class TModuloDatos : public QObject
{
    Q_OBJECT
public:
    // Without a folder, the data folder is the program's (Ubicaciones()). Creation
    // checks the folder's tables and opens them; a failure stops it at that step
    // and goes to the error handler (see Establecer_Manejador_Error).
    explicit TModuloDatos(const QString &carpetaDatos = QString(), QObject *parent = nullptr);
    ~TModuloDatos() override;

    // "Datos" beside the executable, or the user's data folder (see Ubicaciones.h).
    static QString Carpeta_Datos_Predeterminada();

    // Where failures of creation, destruction and the after-scroll handler go. The
    // shell sets it to the application's error handler before creating the module;
    // until then they are written to the debug log.
    using tManejadorError = std::function<void(std::exception_ptr)>;
    static void Establecer_Manejador_Error(tManejadorError manejador);
    static void Informar_Error(std::exception_ptr error);

    // Shows (true) or restores (false) the busy cursor; set by the GUI.
    using tCursorEspera = std::function<void(bool)>;
    static void Establecer_Cursor_Espera(tCursorEspera cursor);

    TDatabase *DbMaestro = nullptr;

    TTable *TableMatriculas = nullptr;
    TTable *TableMarcas = nullptr;
    TTable *TableModelos = nullptr;
    TTable *TableMantto = nullptr;
    TTable *TableAverias = nullptr;
    TTable *TableRuedas = nullptr;
    TTable *TableFichaTec = nullptr;
    TTable *TableKmCambios = nullptr;
    TTable *TablaMantto = nullptr;
    TTable *TablaKmCambios = nullptr;
    TTable *TablaMatriculas = nullptr;
    TTable *TablaFichaTec = nullptr;

    TDataSource *DSMatriculas = nullptr;
    TDataSource *DSMarcas = nullptr;
    TDataSource *DSModelos = nullptr;
    TDataSource *DSMantto = nullptr;
    TDataSource *DSAverias = nullptr;
    TDataSource *DSRuedas = nullptr;
    TDataSource *DSFichaTec = nullptr;
    TDataSource *DSKmCambios = nullptr;

    // Shared values.
    quint8 Pantalla_Activa = Pantalla_Ninguna;
    quint8 Modo_Edicion = Modo_Anadir;
    quint8 Modo_Edicion_Marca = Modo_Anadir;
    quint8 Modo_Edicion_Modelo = Modo_Anadir;
    quint8 Tipo_Informe = Informe_Mantenimiento;
    std::array<qint32, Num_Tareas> Km_Proximo{}; // task order; 0 when no due reading is known
    qint32 Km_Actuales = 0;
    QString Cabecera_Vehiculo;

    // Open and close the eight Table objects in their fixed orders; the first
    // failure stops the walk and goes to the caller.
    void Abrir_Tablas();
    void Cerrar_Tablas();
    // Closes every table object of the module, the work tables included, so that
    // no table file of the data folder stays open (the backup copies them). A
    // failure does not stop the walk: every other object is still closed, and
    // the first failure then goes to the caller. Abrir_Tablas opens them again.
    void Cerrar_Carpeta_Datos();

    // The table object of that name ("TableMantto", "TablaFichaTec"; any case),
    // or nullptr: report expressions such as "TableMantto.FECHA" name them so.
    TTable *Tabla(const QString &nombre) const;
    // The data source that presents `tabla` to the windows, or nullptr (work tables).
    TDataSource *Fuente(const TTable *tabla) const;
    // The names of the twelve table objects, masters and lookup tables first.
    static QStringList Nombres_Tablas();

    // Brand, model and reading of the current vehicle, as the list windows' captions begin.
    void Actualizar_Cabecera_Vehiculo();

    // Due reading of every task for the current vehicle, into Km_Proximo and Km_Actuales.
    void Calcular_Proximo_Mantenimiento();
    // Has the maintenance window, when there is one, show Km_Proximo.
    void Mostrar_Proximo_Mantenimiento();

    // A list window that follows the vehicle registers itself for its Pantalla_...
    // value; `vida`, when given, unregisters it when destroyed.
    void Registrar_Ventana(quint8 pantalla, tVentanaVehiculo *ventana, QObject *vida = nullptr);
    void Quitar_Ventana(tVentanaVehiculo *ventana);

    // Start-up check of a data folder: upgrades the tables stored in an older
    // format and deletes the leftover "*.DUP" and "*.??P" files.
    static void Revisar_Tablas(const QString &carpeta);

    QString Carpeta_Datos() const { return m_carpeta; }

    // The file name of the table ("Mantenimiento.DAT") whose check or opening
    // stopped the creation; empty when it went well or stopped elsewhere.
    QString Fichero_Fallido;

private:
    // As their public namesakes; `enCurso`, when given, names the table file
    // being worked on, so a failure can be told with it.
    static void Revisar_Tablas(const QString &carpeta, QString *enCurso);
    void Abrir_Tablas(QString *enCurso);
    void Crear_Objetos();
    void Destruir_Objetos();
    void DataModuleCreate();
    void DataModuleDestroy();
    void TableMatriculasAfterScroll();
    void TableRuedasCalcFields(TTable &tabla);
    // Whether TableMantto holds the current vehicle's operations as stored.
    bool TableMantto_Del_Vehiculo() const;

    QString m_carpeta;
    std::array<tVentanaVehiculo *, Pantalla_Ninguna> m_ventanas{};
};

// Filter texts on a plate ("Matricula = 'O''NEIL'", quotes doubled) and on a
// brand number ("Marca = 7").
QString Filtro_Matricula(const QString &matricula);
QString Filtro_Marca(qint32 marca);

// The program's data module (nullptr while none exists).
extern TModuloDatos *ModuloDatos;
