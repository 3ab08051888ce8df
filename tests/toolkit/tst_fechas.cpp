// Date entry: the start-up formats, the check of typed dates with its messages
// and the stored value, the preparation of date fields, the focus going back
// to a rejected date, and the date button (placement, enabled state, the
// calendar, today's date).
#include "Avisos.h"
#include "BotonFecha.h"
#include "Calendario.h"
#include "ClaseAux.h"
#include "DBControles.h"
#include "DatosPrueba.h"
#include "DialogosPrueba.h"
#include "FechaEntrada.h"
#include "Formatos.h"
#include "Table.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QtTest>

#include <memory>

namespace {

QDate d(const char *texto)
{
    return QDate::fromString(QLatin1String(texto), QStringLiteral("dd/MM/yyyy"));
}

const QDate Antes = d("01/01/2020"); // the date stored before each case

// A maintenance table with one record, and a window whose data panel holds a
// bound date field (DBEditFecha) and a bound kilometres field, as in the editors.
struct Editor
{
    DatosPrueba datos;
    TDatabase db;
    TTable tabla;
    TDataSource ds{&tabla};
    QWidget ventana;
    QWidget *PnlDatos;
    TDBEdit *DBEditFecha;
    TDBEdit *DBEditKm;
    QLineEdit *EditPlano;
    tBotonFecha *BotonFecha;
    tBotonFecha *BotonPlano;

    explicit Editor(bool abrir = true)
    {
        datos.addMaintenance(QStringLiteral("1234ABC"), Antes, 1000);
        db.setDirectory(datos.carpeta());
        tabla.setDatabase(&db);
        tabla.setTableName(QStringLiteral("Mantenimiento.DAT"));
        ds.setAutoEdit(false);
        if (abrir)
            tabla.open();

        ventana.resize(400, 200);
        PnlDatos = new QWidget(&ventana);
        PnlDatos->setObjectName(QStringLiteral("PnlDatos"));
        PnlDatos->setGeometry(0, 0, 400, 200);
        DBEditFecha = new TDBEdit(PnlDatos);
        DBEditFecha->setObjectName(QStringLiteral("DBEditFecha"));
        DBEditFecha->setDataSource(&ds);
        DBEditFecha->setDataField(QStringLiteral("FECHA"));
        DBEditFecha->setGeometry(10, 20, 100, 22);
        DBEditKm = new TDBEdit(PnlDatos);
        DBEditKm->setObjectName(QStringLiteral("DBEditKm"));
        DBEditKm->setDataSource(&ds);
        DBEditKm->setDataField(QStringLiteral("KILOMETROS"));
        DBEditKm->setGeometry(10, 60, 100, 22);
        EditPlano = new QLineEdit(PnlDatos);
        EditPlano->setObjectName(QStringLiteral("EditPlano"));
        EditPlano->setGeometry(10, 100, 100, 30);
        BotonFecha = new tBotonFecha(PnlDatos);
        BotonFecha->setObjectName(QStringLiteral("BotonFecha"));
        BotonFecha->setEditComp(DBEditFecha);
        BotonPlano = new tBotonFecha(PnlDatos);
        BotonPlano->setObjectName(QStringLiteral("BotonPlano"));
        BotonPlano->setEditComp(EditPlano);
    }

    TField *fecha() const { return tabla.findField(QStringLiteral("FECHA")); }

    bool mostrar()
    {
        ventana.show();
        ventana.activateWindow();
        return QTest::qWaitForWindowActive(&ventana);
    }
};

QStringList textosMostrados()
{
    QStringList r;
    for (const TAvisoMostrado &a : Avisos_Prueba::Mostrados())
        r << a.Titulo + QStringLiteral(": ") + a.Texto;
    return r;
}

} // namespace

class TstFechas : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void formatosRegionales_data();
    void formatosRegionales();
    void formatosAlArrancar();

    void validar_data();
    void validar();
    void preparar_data();
    void preparar();
    void prepararConTablaCerrada();
    void focoVuelveAlCampo_data();
    void focoVuelveAlCampo();

    void fechaCorrecta_data();
    void fechaCorrecta();
    void colocacion_data();
    void colocacion();
    void colocacionEnDisposicion();
    void habilitado_data();
    void habilitado();
    void calendario_data();
    void calendario();
    void calendarioCampoEnlazado();
    void campoQueNoTomaElFoco();
    void fechaDeHoy_data();
    void fechaDeHoy();
};

void TstFechas::init()
{
    Avisos_Prueba::Reiniciar();
    Avisos_Prueba::Sin_Ventanas(true);
    Avisos_Prueba::Fijar_Pitido([](TTipoAviso) {});
    Clase_Aux().Fecha_Valida = true;
}

void TstFechas::cleanup()
{
    DialogosPrueba::cerrarModales();
    Avisos_Prueba::Reiniciar();
}

// ---------------------------------------------------------------- formats

void TstFechas::formatosRegionales_data()
{
    QTest::addColumn<QString>("fechaRegional");
    QTest::addColumn<QString>("horaRegional");
    QTest::addColumn<QString>("fecha");
    QTest::addColumn<QString>("hora");

    QTest::newRow("month first, 12-hour") << "M/d/yy" << "h:mm AP" << "MM/dd/yyyy" << "hh:mm AP";
    QTest::newRow("day first, one-digit 24-hour") << "d/M/yy" << "H:mm" << "dd/MM/yyyy" << "HH:mm";
    QTest::newRow("two-digit hour kept") << "dd.MM.yyyy" << "HH:mm:ss" << "dd/MM/yyyy" << "HH:mm:ss";
    QTest::newRow("no day letter") << "MM/yyyy" << "h:mm" << "dd/MM/yyyy" << "hh:mm";
}

void TstFechas::formatosRegionales()
{
    QFETCH(QString, fechaRegional);
    QFETCH(QString, horaRegional);
    QFETCH(QString, fecha);
    QFETCH(QString, hora);

    TFormatosRegionales regional;
    regional.DateSeparator = QLatin1Char('-');
    regional.TimeSeparator = QLatin1Char('.');
    regional.ShortDateFormat = fechaRegional;
    regional.ShortTimeFormat = horaRegional;
    regional.LongTimeFormat = QStringLiteral("h:mm:ss t");
    const TFormatosRegionales r = Ajustar_Formatos(regional);
    QCOMPARE(r.DateSeparator, QLatin1Char('/'));
    QCOMPARE(r.TimeSeparator, QLatin1Char(':'));
    QCOMPARE(r.ShortDateFormat, fecha);
    QCOMPARE(r.ShortTimeFormat, hora);
    QCOMPARE(r.LongTimeFormat, hora);
}

void TstFechas::formatosAlArrancar()
{
    Ajustar_Formatos_Regionales();
    const TFormatosRegionales &r = Formatos_Regionales();
    QVERIFY2(r.ShortTimeFormat.toLower().count(QLatin1Char('h')) >= 2, qPrintable(r.ShortTimeFormat));
    QCOMPARE(r.LongTimeFormat, r.ShortTimeFormat);
    QCOMPARE(QTime(7, 5).toString(r.LongTimeFormat).left(2), QStringLiteral("07"));
}

// ---------------------------------------------------------------- typed dates

void TstFechas::validar_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("requerido");
    QTest::addColumn<QString>("mensaje"); // empty: none
    QTest::addColumn<QDate>("guardada");  // null: no date

    const QString mal = QStringLiteral("Atención: La fecha \"%1\" no es correcta");
    const QString enBlanco = QStringLiteral("Atención: No se puede dejar esta fecha en blanco");
    QTest::newRow("valid") << "15/03/2024" << false << "" << d("15/03/2024");
    QTest::newRow("leap day") << "29/02/2024" << true << "" << d("29/02/2024");
    QTest::newRow("one-digit day and month") << "1/3/2024" << false << "" << d("01/03/2024");
    QTest::newRow("blanks left by the mask") << " 1/ 3/2024" << false << "" << d("01/03/2024");
    QTest::newRow("31 February") << "31/02/2024" << false << mal.arg("31/02/2024") << Antes;
    QTest::newRow("day zero") << "00/01/2024" << false << mal.arg("00/01/2024") << Antes;
    QTest::newRow("29 February, common year") << "29/02/2023" << true << mal.arg("29/02/2023") << Antes;
    QTest::newRow("partly typed") << "15/03/    " << false << mal.arg("15/03/    ") << Antes;
    QTest::newRow("letters") << "ayer" << false << mal.arg("ayer") << Antes;
    QTest::newRow("empty, optional") << "" << false << "" << QDate();
    QTest::newRow("untouched mask, optional") << "  /  /    " << false << "" << QDate();
    QTest::newRow("underscores, optional") << "__/__/____" << false << "" << QDate();
    QTest::newRow("empty, required") << "" << true << enBlanco << Antes;
    QTest::newRow("untouched mask, required") << "  /  /    " << true << enBlanco << Antes;
    QTest::newRow("underscores, required") << "__/__/____" << true << enBlanco << Antes;
}

void TstFechas::validar()
{
    QFETCH(QString, texto);
    QFETCH(bool, requerido);
    QFETCH(QString, mensaje);
    QFETCH(QDate, guardada);

    Editor e;
    Preparar_Campo_Fecha(e.DBEditFecha, true);
    e.fecha()->setRequired(requerido);
    e.tabla.edit();
    e.fecha()->setText(texto); // what the field layer does with the control's text

    QCOMPARE(textosMostrados(), mensaje.isEmpty() ? QStringList() : QStringList{mensaje});
    QCOMPARE(e.fecha()->asDate(), guardada);
    QCOMPARE(e.fecha()->isNull(), guardada.isNull());
    QCOMPARE(Clase_Aux().Fecha_Valida, mensaje.isEmpty());
    if (!mensaje.isEmpty())
        QCOMPARE(Avisos_Prueba::Mostrados().first().Tipo, avAtencion);
}

void TstFechas::preparar_data()
{
    QTest::addColumn<bool>("requeridoAntes");
    QTest::addColumn<bool>("permiteVacia");
    QTest::addColumn<bool>("requeridoDespues");

    QTest::newRow("blank allowed") << false << true << false;
    QTest::newRow("blank not allowed") << false << false << true;
    QTest::newRow("a required field stays required") << true << true << true;
}

void TstFechas::preparar()
{
    QFETCH(bool, requeridoAntes);
    QFETCH(bool, permiteVacia);
    QFETCH(bool, requeridoDespues);

    Editor e;
    e.fecha()->setRequired(requeridoAntes);
    Preparar_Campo_Fecha(e.DBEditFecha, permiteVacia);
    QCOMPARE(textosMostrados(), QStringList());
    QVERIFY(e.fecha()->hasOnSetText());
    QCOMPARE(e.fecha()->editMask(), QStringLiteral("!99/99/9999;1;_"));
    QCOMPARE(e.fecha()->required(), requeridoDespues);

    // Preparing again (every editor does on each opening) changes nothing.
    Preparar_Campo_Fecha(e.DBEditFecha, permiteVacia);
    QCOMPARE(e.fecha()->required(), requeridoDespues);

    e.tabla.append(); // a new record: the untouched field reads as the blank mask
    QCOMPARE(e.DBEditFecha->displayText(), QStringLiteral("  /  /    "));
    QVERIFY(Fecha_En_Blanco(e.DBEditFecha->displayText()));
}

void TstFechas::prepararConTablaCerrada()
{
    Editor e(false);
    Preparar_Campo_Fecha(e.DBEditFecha, true);
    QCOMPARE(textosMostrados(),
             QStringList{QStringLiteral("Error: La base de datos del campo DBEditFecha está cerrada.\r"
                                        "No se puede asignar control de errores al campo")});
    QCOMPARE(Avisos_Prueba::Mostrados().first().Tipo, avAtencion);

    e.tabla.open(); // nothing was set up: the field keeps its own conversion
    QVERIFY(!e.fecha()->hasOnSetText());
    QVERIFY(e.fecha()->editMask().isEmpty());
}

void TstFechas::focoVuelveAlCampo_data()
{
    QTest::addColumn<QString>("teclas"); // digits typed after clearing the field
    QTest::addColumn<bool>("requerido");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<bool>("vuelve");

    QTest::newRow("31 February") << "31022024" << false << "La fecha \"31/02/2024\" no es correcta" << true;
    QTest::newRow("partly typed") << "1503" << false << "La fecha \"15/03/    \" no es correcta" << true;
    QTest::newRow("blank, required") << "" << true << "No se puede dejar esta fecha en blanco" << true;
    QTest::newRow("valid") << "15032024" << false << "" << false;
}

void TstFechas::focoVuelveAlCampo()
{
    QFETCH(QString, teclas);
    QFETCH(bool, requerido);
    QFETCH(QString, mensaje);
    QFETCH(bool, vuelve);

    Editor e;
    Preparar_Campos(e.PnlDatos);
    Preparar_Campo_Fecha(e.DBEditFecha, !requerido);
    e.tabla.edit();
    QVERIFY(e.mostrar());

    e.DBEditFecha->setFocus();
    QTRY_VERIFY(e.DBEditFecha->hasFocus());
    e.DBEditFecha->selectAll();
    QTest::keyClick(e.DBEditFecha, Qt::Key_Delete);
    QTest::keyClicks(e.DBEditFecha, teclas);
    e.DBEditKm->setFocus(Qt::TabFocusReason);

    const QStringList esperados = mensaje.isEmpty() ? QStringList() : QStringList{QStringLiteral("Atención: ") + mensaje};
    QTRY_COMPARE(textosMostrados(), esperados);
    if (vuelve) {
        QTRY_VERIFY(e.DBEditFecha->hasFocus());
        QCOMPARE(e.fecha()->asDate(), Antes);
    } else {
        QTest::qWait(20); // the focus would come back through a queued call
        QVERIFY(e.DBEditKm->hasFocus());
        QCOMPARE(e.fecha()->asDate(), d("15/03/2024"));
    }
    QVERIFY(Clase_Aux().Fecha_Valida);
}

// ---------------------------------------------------------------- the date button

void TstFechas::fechaCorrecta_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("vacia");
    QTest::addColumn<bool>("correcta");

    QTest::newRow("ordinary") << "15/03/2024" << false << true;
    QTest::newRow("first year") << "01/01/1900" << false << true;
    QTest::newRow("last year") << "31/12/2099" << false << true;
    QTest::newRow("1899") << "31/12/1899" << false << false;
    QTest::newRow("2100") << "01/01/2100" << false << false;
    QTest::newRow("1850") << "15/03/1850" << false << false;
    QTest::newRow("2150") << "15/03/2150" << false << false;
    QTest::newRow("no such day") << "31/02/2024" << true << false;
    QTest::newRow("blank, fVacia") << "  /  /    " << true << true;
    QTest::newRow("empty, fVacia") << "" << true << true;
    QTest::newRow("blank") << "  /  /    " << false << false;
}

void TstFechas::fechaCorrecta()
{
    QFETCH(QString, texto);
    QFETCH(bool, vacia);
    QFETCH(bool, correcta);

    tBotonFecha b;
    b.setFVacia(vacia);
    QCOMPARE(b.Fecha_Correcta(texto), correcta);
}

void TstFechas::colocacion_data()
{
    QTest::addColumn<QRect>("campo");
    QTest::addColumn<QRect>("boton");

    QTest::newRow("low field: at least 24 wide") << QRect(10, 20, 100, 22) << QRect(112, 20, 24, 22);
    QTest::newRow("tall field: square") << QRect(30, 5, 80, 30) << QRect(112, 5, 30, 30);
}

void TstFechas::colocacion()
{
    QFETCH(QRect, campo);
    QFETCH(QRect, boton);

    Editor e;
    e.DBEditFecha->setGeometry(campo);
    e.BotonFecha->move(300, 150);
    e.BotonFecha->grab(); // the first painting
    QCOMPARE(e.BotonFecha->geometry(), boton);

    // Placed once: later paintings leave it where it is.
    e.DBEditFecha->move(campo.x() + 50, campo.y() + 50);
    e.BotonFecha->grab();
    QCOMPARE(e.BotonFecha->geometry(), boton);
}

void TstFechas::colocacionEnDisposicion()
{
    // Inside a layout the button keeps its place there and takes the field's height.
    QWidget ventana;
    auto *fila = new QHBoxLayout(&ventana);
    auto *campo = new QLineEdit(&ventana);
    campo->setFixedHeight(30);
    auto *boton = new tBotonFecha(&ventana);
    boton->setEditComp(campo);
    fila->addWidget(campo);
    fila->addWidget(boton);
    ventana.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ventana));
    boton->grab();
    QTRY_COMPARE(boton->size(), QSize(30, 30));
    QTRY_COMPARE(boton->y(), campo->y());
    QVERIFY(boton->x() >= campo->geometry().right());
    ventana.resize(ventana.width() + 40, ventana.height() + 10); // the layout runs again
    QTest::qWait(20);
    QCOMPARE(boton->size(), QSize(30, 30));
    QVERIFY(boton->x() > campo->geometry().right());
}

void TstFechas::habilitado_data()
{
    QTest::addColumn<bool>("enlazado");
    QTest::addColumn<QString>("estado"); // "cerrada", "browse", "edit", "insert"
    QTest::addColumn<bool>("campoHabilitado");
    QTest::addColumn<bool>("soloLectura");
    QTest::addColumn<bool>("habilitado");

    QTest::newRow("plain field") << false << "browse" << true << false << true;
    QTest::newRow("plain, disabled") << false << "browse" << false << false << false;
    QTest::newRow("plain, read-only") << false << "browse" << true << true << false;
    QTest::newRow("bound, browsing") << true << "browse" << true << false << false;
    QTest::newRow("bound, editing") << true << "edit" << true << false << true;
    QTest::newRow("bound, adding") << true << "insert" << true << false << true;
    QTest::newRow("bound, editing, read-only") << true << "edit" << true << true << false;
    QTest::newRow("bound, editing, panel disabled") << true << "edit" << false << false << false;
    QTest::newRow("bound, table closed") << true << "cerrada" << true << false << false;
}

void TstFechas::habilitado()
{
    QFETCH(bool, enlazado);
    QFETCH(QString, estado);
    QFETCH(bool, campoHabilitado);
    QFETCH(bool, soloLectura);
    QFETCH(bool, habilitado);

    Editor e(estado != QLatin1String("cerrada"));
    if (estado == QLatin1String("edit"))
        e.tabla.edit();
    else if (estado == QLatin1String("insert"))
        e.tabla.append();
    QLineEdit *campo = enlazado ? static_cast<QLineEdit *>(e.DBEditFecha) : e.EditPlano;
    tBotonFecha *boton = enlazado ? e.BotonFecha : e.BotonPlano;
    campo->setReadOnly(soloLectura);
    e.PnlDatos->setEnabled(campoHabilitado);

    boton->grab();
    QCOMPARE(boton->isEnabled(), habilitado);
    if (!habilitado) { // and back, at the next painting, once the field may take a date
        campo->setReadOnly(false);
        e.PnlDatos->setEnabled(true);
        if (enlazado && !e.tabla.active())
            e.tabla.open();
        if (enlazado && e.tabla.state() == TDataSetState::Browse)
            e.tabla.edit();
        boton->grab();
        QVERIFY(boton->isEnabled());
    }
}

void TstFechas::calendario_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<bool>("aceptar");
    QTest::addColumn<QDate>("inicial"); // null: today
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<QString>("final");

    QTest::newRow("a date") << "15/03/2024" << "" << true << d("15/03/2024") << "" << "20/04/2024";
    QTest::newRow("cancelled") << "15/03/2024" << "" << false << d("15/03/2024") << "" << "15/03/2024";
    QTest::newRow("blank") << "" << "" << true << QDate() << "" << "20/04/2024";
    QTest::newRow("year out of range")
        << "15/03/1850" << "" << true << QDate() << "Error: La fecha \"15/03/1850\" no es correcta" << "20/04/2024";
    QTest::newRow("no such day")
        << "31/02/2024" << "" << false << QDate() << "Error: La fecha \"31/02/2024\" no es correcta" << "31/02/2024";
    QTest::newRow("own caption") << "" << "Fecha de la avería" << true << QDate() << "" << "20/04/2024";
}

void TstFechas::calendario()
{
    QFETCH(QString, texto);
    QFETCH(QString, titulo);
    QFETCH(bool, aceptar);
    QFETCH(QDate, inicial);
    QFETCH(QString, mensaje);
    QFETCH(QString, final);

    Editor e;
    e.EditPlano->setText(texto);
    e.BotonPlano->setTitulo(titulo);
    QVERIFY(e.mostrar());

    QDate vista;
    QString caption;
    DialogosPrueba dialogos;
    dialogos.alAparecer(QStringLiteral("FmCalendario"), [&](QWidget *w) {
        auto *dlg = qobject_cast<TFmCalendario *>(w);
        vista = dlg->date();
        caption = dlg->windowTitle();
        dlg->setDate(d("20/04/2024"));
        DialogosPrueba::pulsarBoton(w, aceptar ? QStringLiteral("&Aceptar") : QStringLiteral("&Cancelar"));
    });
    e.BotonPlano->click();
    QVERIFY2(dialogos.correcto(), qPrintable(dialogos.errores().join(QLatin1Char('\n'))));

    QCOMPARE(vista, inicial.isNull() ? QDate::currentDate() : inicial);
    QCOMPARE(caption, titulo.isEmpty() ? QStringLiteral("Seleccionar una fecha") : titulo);
    QCOMPARE(textosMostrados(), mensaje.isEmpty() ? QStringList() : QStringList{mensaje});
    QCOMPARE(e.EditPlano->text(), final);
    QCOMPARE(e.ventana.focusWidget(), e.EditPlano); // the window may not be active again yet
    QVERIFY(!e.BotonPlano->findChild<TFmCalendario *>()); // destroyed after use
}

void TstFechas::calendarioCampoEnlazado()
{
    Editor e;
    Preparar_Campo_Fecha(e.DBEditFecha, true);
    e.tabla.append();
    QVERIFY(e.mostrar());
    e.BotonFecha->grab();
    QVERIFY(e.BotonFecha->isEnabled());

    DialogosPrueba dialogos;
    dialogos.alAparecer(QStringLiteral("FmCalendario"), [](QWidget *w) {
        qobject_cast<TFmCalendario *>(w)->setDate(d("20/04/2024"));
        DialogosPrueba::pulsarBoton(w, QStringLiteral("&Aceptar"));
    });
    e.BotonFecha->click();
    QVERIFY(dialogos.correcto());
    QCOMPARE(e.fecha()->asDate(), d("20/04/2024"));
    QCOMPARE(e.DBEditFecha->displayText(), QStringLiteral("20/04/2024"));
    QCOMPARE(textosMostrados(), QStringList());
}

void TstFechas::campoQueNoTomaElFoco()
{
    // A rejected date in another field keeps the focus there: the button waits.
    Editor e;
    Preparar_Campos(e.PnlDatos);
    Preparar_Campo_Fecha(e.DBEditFecha, true);
    e.tabla.edit();
    QVERIFY(e.mostrar());
    e.DBEditFecha->setFocus();
    QTRY_VERIFY(e.DBEditFecha->hasFocus());
    e.DBEditFecha->selectAll();
    QTest::keyClick(e.DBEditFecha, Qt::Key_Delete);
    QTest::keyClicks(e.DBEditFecha, QStringLiteral("31022024"));

    bool abierto = false;
    QTimer vigia; // closes a calendar that should not have opened
    connect(&vigia, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget()) {
            abierto = true;
            DialogosPrueba::cerrarModales();
        }
    });
    vigia.start(10);
    e.BotonPlano->click();
    vigia.stop();

    QVERIFY(!abierto);
    QCOMPARE(textosMostrados(), QStringList{QStringLiteral("Atención: La fecha \"31/02/2024\" no es correcta")});
    QVERIFY(e.DBEditFecha->hasFocus());
    QCOMPARE(e.EditPlano->text(), QString());
}

void TstFechas::fechaDeHoy_data()
{
    QTest::addColumn<bool>("enlazado");
    QTest::addColumn<QString>("texto");    // "" leaves a bound field empty
    QTest::addColumn<int>("respuesta");    // scripted answer: -1 none, 0 " &No", 1 " &Sí"
    QTest::addColumn<bool>("pregunta");
    QTest::addColumn<bool>("hoy");

    QTest::newRow("plain, empty") << false << "" << -1 << false << true;
    QTest::newRow("plain, blank mask") << false << "  /  /    " << -1 << false << true;
    QTest::newRow("plain, a date, yes") << false << "15/03/2024" << 1 << true << true;
    QTest::newRow("plain, a date, no") << false << "15/03/2024" << 0 << true << false;
    QTest::newRow("bound, empty") << true << "" << -1 << false << true;
    QTest::newRow("bound, a date, no") << true << "15/03/2024" << 0 << true << false;
    QTest::newRow("bound, a date, yes") << true << "15/03/2024" << 1 << true << true;
}

void TstFechas::fechaDeHoy()
{
    QFETCH(bool, enlazado);
    QFETCH(QString, texto);
    QFETCH(int, respuesta);
    QFETCH(bool, pregunta);
    QFETCH(bool, hoy);

    Editor e;
    Preparar_Campo_Fecha(e.DBEditFecha, true);
    e.tabla.edit();
    if (enlazado) {
        if (texto.isEmpty())
            e.fecha()->clear();
        else
            e.fecha()->setAsDate(Formatos::Leer_Fecha(texto));
    } else {
        e.EditPlano->setText(texto);
    }
    QVERIFY(e.mostrar());
    tBotonFecha *boton = enlazado ? e.BotonFecha : e.BotonPlano;
    boton->grab();
    if (respuesta >= 0)
        Avisos_Prueba::Programar_Respuesta(respuesta == 1);

    QTest::mouseClick(boton, Qt::RightButton);

    QCOMPARE(Avisos_Prueba::Mostrados().size(), pregunta ? 1 : 0);
    if (pregunta) {
        const TAvisoMostrado &a = Avisos_Prueba::Mostrados().first();
        QCOMPARE(a.Titulo, QStringLiteral("Atención"));
        QCOMPARE(a.Texto, QStringLiteral("¿Desea obtener la fecha de hoy?"));
        QCOMPARE(a.Tipo, avConfirmacion);
        QCOMPARE(a.Botones, baSiNo);
        QVERIFY(a.Defecto_Segundo);
    }
    const QString hoyTexto = Formatos::Formatear_Fecha(QDate::currentDate());
    if (enlazado) {
        QCOMPARE(e.fecha()->asDate(), hoy ? QDate::currentDate() : Formatos::Leer_Fecha(texto));
        QCOMPARE(e.DBEditFecha->displayText(), hoy ? hoyTexto : texto);
    } else {
        QCOMPARE(e.EditPlano->text(), hoy ? hoyTexto : texto);
    }
}

QTEST_MAIN(TstFechas)
#include "tst_fechas.moc"
