// Start-up formats, blank dates, and the check of dates typed into fields.
#include "FechaEntrada.h"

#include "Avisos.h"
#include "ClaseAux.h"
#include "DBEnlace.h"
#include "Formatos.h"
#include "Table.h"

#include <QLocale>
#include <QStringList>
#include <QWidget>

TFormatosRegionales &Formatos_Regionales()
{
    static TFormatosRegionales formatos;
    return formatos;
}

namespace {
// 1-based position of the first `c`, 0 when missing.
int posicion(const QString &s, QChar c)
{
    return int(s.indexOf(c)) + 1;
}
}

TFormatosRegionales Ajustar_Formatos(const TFormatosRegionales &regional)
{
    TFormatosRegionales r = regional;
    r.DateSeparator = QLatin1Char('/');
    r.TimeSeparator = QLatin1Char(':');

    const QString fecha = regional.ShortDateFormat.toUpper();
    r.ShortDateFormat = posicion(fecha, QLatin1Char('D')) > posicion(fecha, QLatin1Char('M'))
        ? QStringLiteral("MM/dd/yyyy")
        : QStringLiteral("dd/MM/yyyy");

    QString hora = regional.ShortTimeFormat;
    if (hora.toLower().count(QLatin1Char('h')) < 2) {
        const QChar letra = hora.contains(QLatin1Char('h')) ? QLatin1Char('h') : QLatin1Char('H');
        const int i = int(hora.indexOf(letra));
        if (i >= 0)
            hora.insert(i, letra);
    }
    r.ShortTimeFormat = hora;
    r.LongTimeFormat = hora; // hours and minutes, no seconds, wherever a time is written
    return r;
}

void Ajustar_Formatos_Regionales()
{
    const QLocale region = QLocale::system();
    TFormatosRegionales regional;
    regional.ShortDateFormat = region.dateFormat(QLocale::ShortFormat);
    regional.ShortTimeFormat = region.timeFormat(QLocale::ShortFormat);
    regional.LongTimeFormat = region.timeFormat(QLocale::LongFormat);
    Formatos_Regionales() = Ajustar_Formatos(regional);
}

bool Fecha_En_Blanco(const QString &Texto)
{
    return Texto.isEmpty() || Texto == QLatin1String("  /  /    ") || Texto == QLatin1String("__/__/____");
}

QDate Convertir_Texto_Fecha(const QString &Texto)
{
    QStringList partes = Texto.split(QLatin1Char('/'));
    for (QString &p : partes)
        p = p.trimmed();
    return Formatos::Leer_Fecha(partes.join(QLatin1Char('/')));
}

void Preparar_Campo_Fecha(QWidget *Edit, bool Permite_Vacia)
{
    auto *control = dynamic_cast<IDBControl *>(Edit);
    TField *campo = control ? control->dbField() : nullptr;
    if (!campo || !campo->table() || !campo->table()->active()) {
        Aviso(QStringLiteral("Error"),
              QStringLiteral("La base de datos del campo %1 está cerrada.\rNo se puede asignar control de errores al campo")
                  .arg(Edit ? Edit->objectName() : QString()),
              avAtencion);
        return;
    }
    campo->setOnSetText(&Validar_Texto_Fecha);
    campo->setEditMask(Mascara_Fecha);
    if (!campo->required())
        campo->setRequired(!Permite_Vacia);
    control->dbRefreshText(); // the control takes the mask at once
}

void Validar_Texto_Fecha(TField &Campo, const QString &Texto)
{
    tClaseAux &aux = Clase_Aux();
    aux.Fecha_Valida = true;
    if (!Fecha_En_Blanco(Texto)) {
        const QDate fecha = Convertir_Texto_Fecha(Texto);
        if (fecha.isValid()) {
            Campo.setAsDate(fecha);
        } else {
            aux.Fecha_Valida = false;
            Aviso(QString(), QStringLiteral("La fecha \"%1\" no es correcta").arg(Texto), avAtencion);
        }
    } else if (Campo.required()) {
        Aviso(QString(), QStringLiteral("No se puede dejar esta fecha en blanco"), avAtencion);
        aux.Fecha_Valida = false;
    } else {
        Campo.clear();
    }
}
