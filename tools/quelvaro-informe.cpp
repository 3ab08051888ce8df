// quelvaro-informe CARPETA_DATOS INFORME [MATRICULA] SALIDA
// Produces one report without the window: the same report definitions and the
// same engine as the preview, written as a PDF, a saved report (.qrp) or one of
// the engine's exports (.txt, .csv, .htm). The data folder is read through a
// temporary copy, so that the start-up check the data module does (tables of an
// older format upgraded, leftover files deleted) never touches the real one.
//
// Exit status: 0 the file was written; 2 a usage error, or the vehicle has
// nothing for the report (its own message on standard error); 1 anything else
// (missing or damaged folder, unknown plate, output that cannot be written).
#include "DataModulo.h"
#include "Excepciones.h"
#include "ExportFilters.h"
#include "ImprimeFichaTec.h"
#include "InformeAverias.h"
#include "InformeMantto.h"
#include "InformeRuedas.h"
#include "InformeVencimientos.h"
#include "ListaVehiIntervalo.h"
#include "ListaVehiculos.h"
#include "PageStore.h"
#include "PdfOutput.h"
#include "PrepararInformes.h"
#include "Table.h"
#include "VencimientosFlota.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>

namespace {

QTextStream &errores()
{
    static QTextStream s(stderr);
    return s;
}

// Any report container, seen through its report.
class tForma
{
public:
    virtual ~tForma() = default;
    virtual TReport &Informe() = 0;
};

template <class F>
class tFormaDe : public tForma
{
public:
    explicit tFormaDe(std::unique_ptr<F> f) : m_forma(std::move(f)) {}
    TReport &Informe() override { return m_forma->Informe(); }

private:
    std::unique_ptr<F> m_forma;
};

template <auto Crear>
std::unique_ptr<tForma> Forma()
{
    using F = typename decltype(Crear())::element_type;
    return std::make_unique<tFormaDe<F>>(Crear());
}

// A report the tool builds itself, from data it computed beforehand.
class tFormaPropia : public tForma
{
public:
    explicit tFormaPropia(TReport informe) : m_informe(std::move(informe)) {}
    TReport &Informe() override { return m_informe; }

private:
    TReport m_informe;
};

// The fleet's overdue and coming tasks, with the margin the user set in the program.
std::unique_ptr<tForma> Vencimientos()
{
    return std::make_unique<tFormaPropia>(Informe_Vencimientos(*ModuloDatos->DbMaestro, Leer_Margen_Proximo()));
}

// One kind of report: what it is called on the command line, whether it is of
// one vehicle, its message when there is nothing to report, and the same
// preparation, report and release the program's commands use.
struct tTipoInforme
{
    const char *Nombre;
    bool Con_Matricula;
    QString (*Sin_Datos)();
    bool (*Preparar)(TModuloDatos &); // false: nothing to report, nothing touched
    void (*Terminar)(TModuloDatos &); // after the report, however it ended; may be null
    std::unique_ptr<tForma> (*Crear)();
};

QString Sin_Vehiculos()
{
    return QStringLiteral("No hay vehículos para listar");
}

const tTipoInforme kInformes[] = {
    {"mantenimiento", true, [] { return Mensaje_Sin_Datos(Informe_Mantenimiento); }, Preparar_Informe_Mantto,
     Liberar_Vehiculo_Informe, Forma<Crear_Informe_Mantto>},
    {"averias", true, [] { return Mensaje_Sin_Datos(Informe_Averias); },
     [](TModuloDatos &m) { return Preparar_Informe_Averias(m, false); }, Liberar_Vehiculo_Informe,
     Forma<Crear_Informe_Averias>},
    {"historial", true, [] { return Mensaje_Sin_Datos(Informe_Averias); },
     [](TModuloDatos &m) { return Preparar_Informe_Averias(m, true); }, Liberar_Vehiculo_Informe,
     Forma<Crear_Informe_Averias>},
    {"neumaticos", true, [] { return Mensaje_Sin_Datos(Informe_Ruedas); }, Preparar_Informe_Ruedas,
     Terminar_Informe_Ruedas, Forma<Crear_Informe_Ruedas>},
    {"ficha", true, [] { return Mensaje_Sin_Datos(Informe_FichaTec); }, Preparar_Ficha_Tecnica, nullptr,
     Forma<Crear_Informe_Ficha_Tec>},
    {"vehiculos", false, Sin_Vehiculos, [](TModuloDatos &) { return Hay_Vehiculos_Que_Listar(); }, nullptr,
     Forma<Crear_Lista_Vehiculos>},
    {"intervalos", false, Sin_Vehiculos, [](TModuloDatos &) { return Hay_Vehiculos_Que_Listar(); }, nullptr,
     Forma<Crear_Lista_Vehi_Intervalos>},
    {"vencimientos", false, Sin_Vehiculos, [](TModuloDatos &) { return Hay_Vehiculos_Que_Listar(); }, nullptr,
     Vencimientos},
};

const tTipoInforme *Buscar_Informe(const QString &nombre)
{
    for (const tTipoInforme &t : kInformes)
        if (nombre == QLatin1String(t.Nombre))
            return &t;
    return nullptr;
}

QString Nombres_Informes()
{
    QStringList n;
    for (const tTipoInforme &t : kInformes)
        n << QLatin1String(t.Nombre);
    return n.join(QStringLiteral(", "));
}

void Uso()
{
    errores() << "Uso: quelvaro-informe CARPETA_DATOS INFORME [MATRICULA] SALIDA\n"
              << "INFORME: " << Nombres_Informes() << " (los cinco primeros piden MATRICULA).\n"
              << "SALIDA termina en .pdf, .qrp, .txt, .csv o .htm.\n";
}

// A failure as the user is told it, on lines of this terminal (the message
// box's blank lines left out), with the exception's own text where the
// message of its code leaves it out, and the temporary copy's path shown as
// the data folder the user gave.
QString Texto_Fallo(std::exception_ptr fallo, const QString &copia, const QString &carpeta)
{
    tExcepcion e;
    e.Registrar_Error(fallo, QString());
    QString texto = e.Texto_Error();
    if (texto.isEmpty())
        texto = QStringLiteral("Se ha producido un error inesperado.");
    if (!e.Mensaje_Error.isEmpty() && !texto.contains(e.Mensaje_Error))
        texto += QLatin1Char('\n') + e.Mensaje_Error;
    if (!copia.isEmpty()) {
        texto.replace(QDir::toNativeSeparators(copia), QDir::toNativeSeparators(carpeta));
        texto.replace(copia, carpeta);
    }
    texto.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lineas;
    for (const QString &l : texto.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!l.trimmed().isEmpty())
            lineas << l.trimmed();
    return lineas.join(QLatin1Char('\n'));
}

// Copies the files of `carpeta` (not its subfolders) into `destino`.
bool Copiar_Carpeta(const QString &carpeta, const QString &destino, QString *error)
{
    const QFileInfoList ficheros = QDir(carpeta).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &f : ficheros) {
        QFile origen(f.absoluteFilePath());
        if (!origen.copy(QDir(destino).filePath(f.fileName()))) {
            *error = QStringLiteral("No se puede leer el fichero «%1»: %2.")
                         .arg(QDir::toNativeSeparators(f.absoluteFilePath()), origen.errorString());
            return false;
        }
    }
    return true;
}

// Writes the pages of `informe` to `salida` in the kind its extension names.
void Escribir(TReport &informe, const QString &salida)
{
    const QString ext = QFileInfo(salida).suffix().toUpper();
    if (ext == QLatin1String("PDF") || ext == QLatin1String(Report_File_Extension)) {
        TPageStore almacen;
        almacen.Set_Title(informe.Title);
        almacen.Start();
        TPageStoreOutput paginas(almacen, false);
        Generate_Report(informe, paginas);
        almacen.Finish();
        if (ext == QLatin1String("PDF"))
            Write_Pdf(almacen, salida);
        else
            almacen.Save(salida);
        return;
    }
    // The same three filters the preview window offers.
    TTextFilter texto;
    TCSVFilter csv(nullptr, QLatin1Char(','));
    THTMLFilter html;
    for (const TExportFilter *f : {static_cast<TExportFilter *>(&texto), static_cast<TExportFilter *>(&csv),
                                   static_cast<TExportFilter *>(&html)})
        if (f->Extension() == ext) {
            Export_Report(informe, *f, salida);
            return;
        }
}

bool Extension_Valida(const QString &salida)
{
    static const QStringList validas{QStringLiteral("PDF"), QString::fromLatin1(Report_File_Extension),
                                     QStringLiteral("TXT"), QStringLiteral("CSV"), QStringLiteral("HTM")};
    return validas.contains(QFileInfo(salida).suffix().toUpper());
}

// Standard error carries this tool's own messages only: the platform's notes
// (no runtime folder, no session) are not for whoever runs a script.
void Mensajes_Qt(QtMsgType tipo, const QMessageLogContext &, const QString &texto)
{
    if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
        errores() << texto << "\n" << Qt::flush;
}

} // namespace

int main(int argc, char *argv[])
{
    // Pages are laid out with the fonts' metrics, which need a GUI application;
    // none is ever shown, so no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(Mensajes_Qt);
    QGuiApplication app(argc, argv);
    // The program's own name, so that its settings (the margin of coming tasks) are found.
    QCoreApplication::setApplicationName(QStringLiteral("Quelvaro"));
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 1 && (args[0] == QLatin1String("-h") || args[0] == QLatin1String("--help"))) {
        Uso();
        return 0;
    }
    if (args.size() < 3 || args.size() > 4) {
        Uso();
        return 2;
    }
    const tTipoInforme *tipo = Buscar_Informe(args[1]);
    if (!tipo) {
        errores() << "Informe desconocido: «" << args[1] << "». Los informes son: " << Nombres_Informes() << ".\n";
        return 2;
    }
    if (args.size() != (tipo->Con_Matricula ? 4 : 3)) {
        errores() << (tipo->Con_Matricula ? "El informe «" + args[1] + "» pide una matrícula.\n"
                                          : "El informe «" + args[1] + "» no lleva matrícula.\n");
        Uso();
        return 2;
    }
    const QString matricula = tipo->Con_Matricula ? args[2] : QString();
    const QString salida = QFileInfo(args.last()).absoluteFilePath();
    if (!Extension_Valida(salida)) {
        errores() << "La salida «" << args.last() << "» debe terminar en .pdf, .qrp, .txt, .csv o .htm.\n";
        return 2;
    }

    const QString carpeta = QDir::cleanPath(QFileInfo(args[0]).absoluteFilePath());
    if (!QFileInfo(carpeta).isDir()) {
        errores() << "No existe la carpeta de datos «" << QDir::toNativeSeparators(carpeta) << "».\n";
        return 1;
    }
    QTemporaryDir temporal;
    if (!temporal.isValid()) {
        errores() << "No se puede crear una carpeta temporal: " << temporal.errorString() << ".\n";
        return 1;
    }
    const QString copia = QDir::cleanPath(temporal.path());
    QString error;
    if (!Copiar_Carpeta(carpeta, copia, &error)) {
        errores() << error << "\n";
        return 1;
    }

    // The data module reports the failures of its creation and of its
    // after-scroll handler to this handler instead of throwing them.
    std::exception_ptr fallo;
    TModuloDatos::Establecer_Manejador_Error([&fallo](std::exception_ptr e) {
        if (!fallo)
            fallo = e;
    });
    int estado = 0;
    try {
        TModuloDatos modulo(copia);
        if (fallo)
            std::rethrow_exception(fallo);
        if (tipo->Con_Matricula) {
            const bool hay = modulo.TableMatriculas->locate(QStringLiteral("MATRICULA"), matricula);
            if (fallo)
                std::rethrow_exception(fallo);
            if (!hay) {
                errores() << "No existe ningún vehículo con la matrícula «" << matricula << "».\n";
                return 1;
            }
        }
        if (!tipo->Preparar(modulo)) {
            errores() << tipo->Sin_Datos() << "\n";
            estado = 2;
        } else {
            struct tTerminar
            {
                const tTipoInforme *Tipo;
                TModuloDatos &Modulo;
                ~tTerminar()
                {
                    if (Tipo->Terminar) {
                        try {
                            Tipo->Terminar(Modulo);
                        } catch (...) {
                        }
                    }
                }
            } terminar{tipo, modulo};
            const std::unique_ptr<tForma> forma = tipo->Crear();
            try {
                Escribir(forma->Informe(), salida);
            } catch (...) {
                errores() << "No se ha podido escribir «" << QDir::toNativeSeparators(salida) << "».\n"
                          << Texto_Fallo(std::current_exception(), copia, carpeta) << "\n";
                return 1;
            }
        }
        if (fallo)
            std::rethrow_exception(fallo);
    } catch (...) {
        errores() << Texto_Fallo(std::current_exception(), copia, carpeta) << "\n";
        return 1;
    }
    return estado;
}
