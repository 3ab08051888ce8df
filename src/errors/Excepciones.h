// The error handler: turns a failure into a Spanish message, shows it with the
// message dialog and appends an entry to the error log (beside the executable, or in
// the user's data folder when the program is installed; see Ubicaciones.h).
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <exception>
#include <functional>
#include <memory>

class tExcepcion
{
public:
    // Whether shown errors are also written to the log.
    bool Grabar_Log = false;
    // 0 nothing captured; 1 system error; 2 table store engine error.
    quint8 Origen_Error = 0;
    // Windows system code (origin 1) or engine code (origin 2); 0 for none.
    qint32 Codigo_Error = 0;
    QString Mensaje_Usuario; // what was being done, possibly empty
    QString Mensaje_Error;   // the exception's own message

    // Captures `E` without showing anything.
    void Registrar_Error(const std::exception &E, const QString &Mensaje_Usuario);
    // The same for whatever was caught with catch (...).
    void Registrar_Error(std::exception_ptr E, const QString &Mensaje_Usuario);
    bool Hay_Error() const { return Origen_Error != 0; }
    // Shows the captured error and logs it; the capture stays. While one error
    // message is open, a further one is logged only.
    void Mostrar_Error();
    void Borrar_Error() { Origen_Error = 0; }
    // Registrar_Error, Mostrar_Error and Borrar_Error in one call.
    void Tratar_Error(const std::exception &E, const QString &Mensaje_Usuario);
    void Tratar_Error(std::exception_ptr E, const QString &Mensaje_Usuario);
    // The same with a note the user reads under the message (what to do about
    // it); the note is not written to the log, whose entry stays as it is.
    void Tratar_Error(std::exception_ptr E, const QString &Mensaje_Usuario, const QString &Nota);
    // Appends one entry for the captured error to the log; never fails outward.
    void Grabar_Error(const QString &Texto);
    // Makes this object the handler of the application's central handler.
    void Configurar_Excepciones(bool Grabar_Log);

    // The text the user is shown for the captured error.
    QString Texto_Error() const;

    // The log's folder: the program's (Ubicaciones()) unless set (tests set it; empty restores).
    void Fijar_Carpeta_Log(const QString &carpeta) { m_carpetaLog = carpeta; }
    QString Ruta_Log() const;
    // Asked after a failed attempt to write the log; true tries again. The default
    // is the platform's message box.
    void Fijar_Pregunta_Reintento(std::function<bool()> pregunta) { m_preguntaReintento = std::move(pregunta); }
    // The time written in each entry (default: now).
    void Fijar_Reloj(std::function<QDateTime()> reloj) { m_reloj = std::move(reloj); }

private:
    bool escribirEntrada(const QString &Texto) const;
    void grabarSinPreguntar(const QString &Texto) noexcept;

    bool m_mostrando = false; // an error message is open
    // The last message shown, until the event loop turns.
    std::shared_ptr<QString> m_mostrado = std::make_shared<QString>();
    QString m_nota;           // shown under the message, never logged

    QString m_carpetaLog;
    std::function<bool()> m_preguntaReintento;
    std::function<QDateTime()> m_reloj;
};

// The application's one error handler.
extern tExcepcion Excepcion;

// Handles an exception that escaped an event handler: given to the handler that
// Configurar_Excepciones installed. Never lets anything out.
void Manejar_Excepcion_Central(std::exception_ptr E) noexcept;

// ---- Pieces of the log, free of files -----------------------------------------

// Texts of the two code tables; empty for a code they do not hold.
QString Texto_Error_Sistema(int codigo);
QString Texto_Error_Motor(int codigo);
// The log's file name for the executable `ejecutable`: its extension replaced
// by "_Errores.txt", lower case, first letter capital ("Quelvaro_errores.txt").
QString Nombre_Log(const QString &ejecutable);
// "08/12/2024 14:05"; at exactly midnight the date alone.
QString Texto_Fecha_Hora(const QDateTime &momento);
// Windows-1252 bytes of `texto`; a character it cannot hold becomes "?".
QByteArray Codificar_1252(const QString &texto);
