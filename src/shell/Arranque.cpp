// Start-up and end of the program.
#include "Arranque.h"

#include "Aplicacion.h"
#include "Avisos.h"
#include "Ayuda.h"
#include "CargaAplicacion.h"
#include "ClaseAux.h"
#include "DataModulo.h"
#include "Excepciones.h"
#include "FechaEntrada.h"
#include "Imagenes.h"
#include "Principal.h"
#include "SharedMem.h"
#include "StoreErrors.h"
#include "Ubicaciones.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <memory>

namespace {

// Step 3: what the application object needs before the first window.
void Inicializar_Aplicacion()
{
    // No display name: on X11 Qt would append it to every caption ("Finalizar — Quelvaro").
    QCoreApplication::setApplicationName(QStringLiteral("Quelvaro"));
    QGuiApplication::setWindowIcon(Icono_Shell(QStringLiteral("emblema")));
    // The windows are laid out for these faces; the installed look-alikes stand in for them.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    // The standard dialogs (files, printing, colours) speak Spanish like the rest.
    auto *Traductor = new QTranslator(qApp);
    if (Traductor->load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(Traductor);
    else
        delete Traductor;
    // The program ends when the main window closes, whatever else (the help) is open.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    // Ties the windows to the menu entry and its icon where the desktop goes by it (Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("es.quelvaro.Quelvaro"));
}

// The first start on the user's data folder makes its empty tables and says where they are.
// A failure is reported here; the data module then reports the tables it cannot open.
void Preparar_Datos_Del_Usuario(const QString &Carpeta)
{
    try {
        if (Crear_Carpeta_Datos_Nueva(Carpeta))
            Aviso(QStringLiteral("Carpeta de datos"),
                  QStringLiteral("Quelvaro guardará sus datos en la carpeta\r\r%1\r\r"
                                 "Se han creado en ella las tablas vacías.")
                      .arg(QDir::toNativeSeparators(Carpeta)),
                  avInformacion);
    } catch (...) {
        Excepcion.Tratar_Error(std::current_exception(),
                               QStringLiteral("No se ha podido crear la carpeta de datos %1.")
                                   .arg(QDir::toNativeSeparators(Carpeta)));
    }
}

// Failures of the data module while the program runs.
void Error_Datos(std::exception_ptr Error)
{
    Excepcion.Tratar_Error(Error, QString());
}

// What the user reads under a failure of the start-up check: the table's file,
// and for a damaged one the way out. The log's entry stays the plain one.
QString Nota_Arranque(std::exception_ptr Error, const QString &Fichero)
{
    if (Fichero.isEmpty())
        return QString();
    QString Nota = QStringLiteral("Fichero de la tabla: ") + Fichero;
    try {
        std::rethrow_exception(Error);
    } catch (const EDBEngineError &e) {
        if (e.errorCode() == EngineCode::ReadError)
            Nota += QStringLiteral("\rRestaure una copia con «Copia de Seguridad», o conserve el fichero para el "
                                   "técnico.");
    } catch (...) {
    }
    return Nota;
}

} // namespace

void Preparar_Unidades()
{
    Estilo_Avisos();
    Clase_Aux();
    Ajustar_Formatos_Regionales();
    Excepcion.Configurar_Excepciones(true);
    TModuloDatos::Establecer_Manejador_Error(Error_Datos);
    TModuloDatos::Establecer_Cursor_Espera([](bool Ocupado) {
        if (Ocupado)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
    Instalar_Tecla_Ayuda();
}

int Secuencia_Principal(const tOpcionesArranque &Opciones)
{
    // Declared in this order so that, however the sequence ends, the main window goes first,
    // then the data module, and the guard last of all.
    std::unique_ptr<tSharedMem> Guardia;
    std::unique_ptr<TModuloDatos> Modulo;
    std::unique_ptr<TFormPrincipal> Principal;

    // 1. The guard, holding this process's handle.
    Guardia = std::make_unique<tSharedMem>(Opciones.Nombre_Bloque, quint32(QCoreApplication::applicationPid()));

    // 2. A copy already runs: bring it to the front and end, showing nothing, touching nothing.
    if (Guardia->Ya_Ejecutandose()) {
        Guardia->Activar_Primera_Instancia();
        return 0;
    }

    // 3.
    Inicializar_Aplicacion();

    // 4. The splash window, painted at once: the event loop is not running yet.
    auto Splash = std::make_unique<TFormCargaAplicacion>();
    QObject::connect(Guardia.get(), &tSharedMem::Activacion_Solicitada, Splash.get(), [&Splash, &Principal] {
        if (Principal)
            Principal->Traer_Al_Frente();
        else if (Splash)
            Splash->raise();
    });
    Splash->Mostrar_Ya();

    // 5. The short date format for the whole run (day/month/four-digit year); thousands and
    // decimals are always "." and "," in the program's own number formats.
    Formatos_Regionales().ShortDateFormat = QStringLiteral("dd/MM/yyyy");

    // 6. The data module checks and opens the tables; a failure there is reported by the
    // error handler, naming the table, and start-up goes on with the tables closed.
    QString Carpeta = Opciones.Carpeta_Datos;
    bool Del_Usuario = Opciones.Datos_Del_Usuario;
    if (Carpeta.isEmpty()) {
        Carpeta = Ubicaciones().Carpeta_Datos;
        Del_Usuario = Ubicaciones().Datos_Del_Usuario;
    }
    if (Del_Usuario)
        Preparar_Datos_Del_Usuario(Carpeta);
    TModuloDatos::Establecer_Manejador_Error([](std::exception_ptr Error) {
        Excepcion.Tratar_Error(Error, QString(), Nota_Arranque(Error, ModuloDatos ? ModuloDatos->Fichero_Fallido : QString()));
    });
    Modulo = std::make_unique<TModuloDatos>(Carpeta);
    TModuloDatos::Establecer_Manejador_Error(Error_Datos);

    // 7.
    Principal = std::make_unique<TFormPrincipal>();
    QObject::connect(Guardia.get(), &tSharedMem::Activacion_Solicitada, Principal.get(),
                     &TFormPrincipal::Traer_Al_Frente);
    QObject::connect(Principal.get(), &TFormPrincipal::Cerrada, qApp, &QCoreApplication::quit);

    // 8.
    Splash.reset();

    // 9.
    Principal->show();
    if (Opciones.Al_Empezar)
        Opciones.Al_Empezar(*Principal, *Guardia);
    const int Resultado = QApplication::exec();

    // 10.
    Guardia.reset();

    // 11. The main window, then the data module, which closes its tables.
    if (TFormAyuda *Ayuda = Ventana_Ayuda())
        delete Ayuda;
    Principal.reset();
    Modulo.reset();
    return Resultado;
}

int Ejecutar_Quelvaro(int &argc, char **argv, const tOpcionesArranque &Opciones)
{
    tAplicacion Aplicacion(argc, argv);
    Preparar_Unidades();
    try {
        return Secuencia_Principal(Opciones);
    } catch (...) {
        Manejar_Excepcion_Central(std::current_exception());
        return 1;
    }
}
