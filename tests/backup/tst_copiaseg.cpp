// The backup dialog driven as the user does it: the folder dialog, every question
// with its caption and preselected answer, the copy dialog, and what the data
// module's tables do around them; a backup and its restore from end to end.
#include "Avisos.h"
#include "CopiaDatos.h"
#include "CopiaSeg.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "DialogosPrueba.h"
#include "Excepciones.h"
#include "FicherosPrueba.h"
#include "Principal.h"
#include "RealizarCopia.h"
#include "SeleccionarDir.h"
#include "Table.h"
#include "Volumenes.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <unistd.h>

#include <memory>

namespace {

// One message box as the user saw it.
struct tCaja
{
    QString Titulo, Texto;
    QMessageBox::StandardButtons Botones;
    bool No_Por_Defecto = false;
};

// The copy dialog as it stood when it ended.
struct tCopiaVista
{
    QString Titulo, Grupo;
    int Barra = -1;
};

// What is answered to each window after the folder dialog, in order.
enum tPaso { Si, No, Aceptar, Copia };

// Waits, without nesting event loops, until the copy has ended, then acts.
void Al_Terminar(TFormRealizarCopia *c, std::function<void(TFormRealizarCopia *)> accion, int restante_ms = 60000)
{
    if (!c->Copia_Iniciada() || c->Copia_En_Curso()) {
        if (restante_ms <= 0) {
            qWarning("la copia no terminó");
            c->done(QDialog::Rejected);
            return;
        }
        QTimer::singleShot(10, c, [=] { Al_Terminar(c, accion, restante_ms - 10); });
        return;
    }
    accion(c);
}

} // namespace

class tst_copiaseg : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> fLog;
    std::unique_ptr<DatosPrueba> fDatos;
    std::unique_ptr<TModuloDatos> fModulo;
    std::unique_ptr<TFormCopiaSeg> fForm;
    QString fCwd;

    QList<tCaja> fCajas;
    tCopiaVista fCopia;

    void Abrir()
    {
        fDatos = std::make_unique<DatosPrueba>();
        QVERIFY(fDatos->isValid());
        const int Marca = fDatos->addBrand("SEAT");
        fDatos->addVehicle("1111AAA", Marca, fDatos->addModel("IBIZA", Marca), 50000);
        fModulo = std::make_unique<TModuloDatos>(fDatos->carpeta());
        QVERIFY(fModulo->TableMatriculas->active());
        fModulo->Pantalla_Activa = Pantalla_Mantenimiento;
        fForm = std::make_unique<TFormCopiaSeg>();
        fForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(fForm.get()));
    }

    QString Datos() const { return fDatos->carpeta(); }

    // Presses `boton`, types `carpeta` in the folder dialog, accepts it and answers
    // the windows that follow as `pasos` says; `al_terminar` may act on the copy
    // dialog once its copy has ended, before it is closed.
    bool Recorrer(QAbstractButton *boton, const QString &carpeta, const QList<tPaso> &pasos,
                  std::function<void(TFormRealizarCopia *)> al_terminar = {})
    {
        fCajas.clear();
        fCopia = tCopiaVista();
        DialogosPrueba d(20000);
        d.alAparecer("FormSeleccionarDir", [carpeta](QWidget *w) {
            auto *s = qobject_cast<TFormSeleccionarDir *>(w);
            s->EditDirectorio->setText(carpeta);
            s->BtnAceptar->click();
        });
        for (tPaso p : pasos) {
            if (p == Copia) {
                d.alAparecer("FormRealizarCopia", [this, al_terminar](QWidget *w) {
                    Al_Terminar(qobject_cast<TFormRealizarCopia *>(w), [this, al_terminar](TFormRealizarCopia *c) {
                        fCopia = {c->windowTitle(), c->GroupBox1->title(), c->BarraProgreso->value()};
                        if (al_terminar)
                            al_terminar(c);
                        c->BtnAceptar->click();
                    });
                });
            } else {
                d.alAparecer("QMessageBox", [this, p](QWidget *w) {
                    auto *mb = qobject_cast<QMessageBox *>(w);
                    fCajas.append({mb->windowTitle(), mb->text(), mb->standardButtons(),
                                   mb->defaultButton() && mb->defaultButton() == mb->button(QMessageBox::No)});
                    mb->button(p == Si ? QMessageBox::Yes : p == No ? QMessageBox::No : QMessageBox::Ok)->click();
                });
            }
        }
        boton->click();
        const bool bien = d.esperar();
        if (!bien)
            qWarning() << d.errores();
        return bien;
    }

    // The question of a Yes/No box as the backup asks it: No preselected.
    static void Pregunta_Es(const tCaja &c, const QString &titulo, const QString &texto)
    {
        QCOMPARE(c.Titulo, titulo);
        QCOMPARE(c.Texto, texto);
        QCOMPARE(c.Botones, QMessageBox::Yes | QMessageBox::No);
        QVERIFY(c.No_Por_Defecto);
    }

    static void Aviso_Es(const tCaja &c, const QString &titulo, const QString &texto)
    {
        QCOMPARE(c.Titulo, titulo);
        QCOMPARE(c.Texto, texto);
        QCOMPARE(c.Botones, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    static QString Hoy_Como_Sello() { return QString::fromLatin1(Contenido_Sello(QDate::currentDate())); }

private slots:
    void initTestCase()
    {
        fLog = std::make_unique<QTemporaryDir>();
        Excepcion.Fijar_Carpeta_Log(fLog->path());
        Excepcion.Fijar_Pregunta_Reintento([] { return false; });
        fCwd = QDir::currentPath();
    }

    void init()
    {
        Avisos_Prueba::Reiniciar();
        Avisos_Prueba::Sin_Ventanas(true);
    }

    void cleanup()
    {
        DialogosPrueba::cerrarModales();
        fForm.reset();
        fModulo.reset();
        fDatos.reset();
        Avisos_Prueba::Reiniciar();
        QDir::setCurrent(fCwd);
    }

    void cleanupTestCase()
    {
        Excepcion.Fijar_Carpeta_Log(QString());
        Excepcion.Fijar_Pregunta_Reintento(nullptr);
    }

    void aspecto_y_tablas()
    {
        Abrir();
        QCOMPARE(fForm->windowTitle(), QString("Copia de Seguridad"));
        QVERIFY(!(fForm->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(fForm->windowFlags() & Qt::WindowSystemMenuHint));
        QCOMPARE(fForm->BtnGuardar->text(), QString("&Guardar"));
        QCOMPARE(fForm->BtnRestaurar->text(), QString("&Restaurar"));
        QCOMPARE(fForm->BtnSalir->text(), QString("&Cerrar"));
        for (QPushButton *b : {fForm->BtnGuardar, fForm->BtnRestaurar, fForm->BtnSalir})
            QVERIFY(b->font().bold());
        QCOMPARE(fForm->BtnGuardar->parentWidget(), fForm->Panel1);
        QCOMPARE(fForm->BtnRestaurar->parentWidget(), fForm->Panel1);
        QCOMPARE(fForm->Panel1->palette().color(QPalette::Window), QColor(194, 192, 152));

        // While it is open no table file of the data folder is held, the work tables included.
        QCOMPARE(fModulo->Pantalla_Activa, quint8(Pantalla_Ninguna));
        QVERIFY(TDatabase::openFilesIn(Datos()).isEmpty());
        QVERIFY(!fModulo->TableMatriculas->active());

        // No way out but "&Cerrar".
        QTest::keyClick(fForm.get(), Qt::Key_Escape);
        fForm->close();
        QVERIFY(fForm->isVisible());

        fForm->BtnSalir->click();
        QVERIFY(!fForm->isVisible());
        QVERIFY(fModulo->TableMatriculas->active());
        QCOMPARE(fModulo->TableMatriculas->recordCount(), 1);
    }

    void orden_principal_data()
    {
        QTest::addColumn<bool>("menu");
        QTest::newRow("botón") << false;
        QTest::newRow("menú Herramientas") << true;
    }

    void orden_principal()
    {
        QFETCH(bool, menu);
        DatosPrueba datos;
        QVERIFY(datos.isValid());
        TModuloDatos modulo(datos.carpeta());
        auto principal = std::make_unique<TFormPrincipal>();
        principal->show();
        QVERIFY(QTest::qWaitForWindowExposed(principal.get()));

        bool cerradas = false;
        DialogosPrueba d;
        d.alAparecer("FormCopiaSeg", [&](QWidget *w) {
            cerradas = TDatabase::openFilesIn(datos.carpeta()).isEmpty();
            qobject_cast<TFormCopiaSeg *>(w)->BtnSalir->click();
        });
        if (menu)
            principal->Copiadeseguridad1->trigger();
        else
            principal->SBCopiaSeg->click();
        QVERIFY(d.esperar());
        QCOMPARE(d.titulos(), QStringList{"Copia de Seguridad"});
        QVERIFY(cerradas);
        QVERIFY(modulo.TableMatriculas->active());
        principal.reset();
    }

    void guardar_en_la_raiz_de_un_volumen()
    {
        if (::geteuid() != 0)
            QSKIP("montar un disco exige ser root");
        tDiscoPequeno disco(64 << 20);
        EXIGIR_LUGAR(disco);
        Abrir();
        const QString antes = Hoy_Como_Sello();
        QVERIFY(Recorrer(fForm->BtnGuardar, disco.ruta() + "/", {Si, Copia}));
        // The root is named and used without its final separator.
        Pregunta_Es(fCajas[0], "Confirmar destino de los datos",
                    QString("¿Desea realizar la copia de seguridad en la carpeta %1?").arg(disco.ruta()));
        QCOMPARE(fCopia.Titulo, QString("Guardar Copia de Seguridad"));
        QCOMPARE(fCopia.Grupo, QString("Proceso finalizado"));
        QCOMPARE(fCopia.Barra, 100);
        const QString sello = QString::fromLatin1(Leer_Fichero(disco.ruta() + "/DatosCopia.dat"));
        QVERIFY2(sello == antes || sello == Hoy_Como_Sello(), qPrintable(sello));
        for (const tFichero &f : Ficheros_Copia(Datos()))
            QCOMPARE(Leer_Fichero(disco.ruta() + "/" + f.Nombre), Leer_Fichero(Datos() + "/" + f.Nombre));
    }

    void guardar_en_carpeta_nueva_data()
    {
        QTest::addColumn<bool>("crear");
        QTest::newRow("Sí: se crea y se guarda en ella") << true;
        QTest::newRow("No: no se crea ni se pregunta más") << false;
    }

    void guardar_en_carpeta_nueva()
    {
        QFETCH(bool, crear);
        Abrir();
        QTemporaryDir d;
        const QString nueva = d.path() + "/copias/2024/marzo";
        QVERIFY(Recorrer(fForm->BtnGuardar, nueva, crear ? QList<tPaso>{Si, Si, Copia} : QList<tPaso>{No}));
        Pregunta_Es(fCajas[0], "Crear nuevo directorio", "El directorio seleccionado no existe. ¿Desea crearlo?");
        if (!crear) {
            QCOMPARE(fCajas.size(), 1);
            QVERIFY(Foto(d.path()).isEmpty());
            return;
        }
        Pregunta_Es(fCajas[1], "Confirmar destino de los datos",
                    QString("¿Desea realizar la copia de seguridad en la carpeta %1?").arg(nueva));
        QCOMPARE(fCopia.Grupo, QString("Proceso finalizado"));
        QVERIFY(Existe_Sello(nueva));
        QCOMPARE(Foto(nueva).size(), Ficheros_Copia(Datos()).size() + 1);
    }

    void espacio_libre_data()
    {
        QTest::addColumn<int>("sobra");
        QTest::newRow("exactamente el total: no basta") << 0;
        QTest::newRow("una página más") << 4096;
    }

    void espacio_libre()
    {
        QFETCH(int, sobra);
        if (::geteuid() != 0)
            QSKIP("montar un disco exige ser root");
        Abrir();
        // Whole pages of data, so that the small disk can hold exactly the total.
        qint64 total = Tamano_Total(Ficheros_Copia(Datos()));
        if (total % 4096)
            QVERIFY(Escribir_Fichero(Datos() + "/Relleno.bin", QByteArray(int(4096 - total % 4096), 'r')));
        total = Tamano_Total(Ficheros_Copia(Datos()));
        tDiscoPequeno disco(total + sobra);
        EXIGIR_LUGAR(disco);
        QCOMPARE(Bytes_Libres(disco.ruta()), total + sobra);

        QVERIFY(Recorrer(fForm->BtnGuardar, disco.ruta(), sobra ? QList<tPaso>{Si, Copia} : QList<tPaso>{Si, Aceptar}));
        if (sobra) {
            QCOMPARE(fCopia.Grupo, QString("Proceso finalizado"));
            QVERIFY(Existe_Sello(disco.ruta()));
        } else {
            Aviso_Es(fCajas[1], "Atención: Copia de Seguridad", "No hay espacio suficiente en la carpeta destino");
            QVERIFY(Foto(disco.ruta()).isEmpty());
        }
    }

    void carpeta_de_datos_vacia()
    {
        Abrir();
        // The tables are closed while the dialog is open: they can be moved out.
        QDir datos(Datos());
        datos.mkdir("aparte");
        for (const QString &n : datos.entryList(QDir::Files))
            QVERIFY(datos.rename(n, "aparte/" + n));
        QTemporaryDir d;
        QVERIFY(Recorrer(fForm->BtnGuardar, d.path(), {Si, Copia}));
        QCOMPARE(fCopia.Grupo, QString("Proceso finalizado"));
        QCOMPARE(fCopia.Barra, 0);
        QCOMPARE(Foto(d.path()).keys(), QStringList{"DatosCopia.dat"});
        for (const QString &n : QDir(Datos() + "/aparte").entryList(QDir::Files))
            QVERIFY(datos.rename("aparte/" + n, n));
    }

    void activarla_otra_vez_no_copia()
    {
        Abrir();
        QTemporaryDir d;
        int reaparecidos = -1;
        QVERIFY(Recorrer(fForm->BtnGuardar, d.path(), {Si, Copia}, [&](TFormRealizarCopia *c) {
            for (const QString &n : QDir(d.path()).entryList(QDir::Files))
                QFile::remove(d.path() + "/" + n);
            QEvent desactivar(QEvent::WindowDeactivate), activar(QEvent::WindowActivate);
            QApplication::sendEvent(c, &desactivar);
            QApplication::sendEvent(c, &activar);
            c->activateWindow();
            QTest::qWait(50);
            reaparecidos = int(QDir(d.path()).entryList(QDir::Files).size());
        }));
        QCOMPARE(fCopia.Grupo, QString("Proceso finalizado"));
        QCOMPARE(reaparecidos, 0);
    }

    void tabla_abierta()
    {
        Abrir();
        TDatabase db;
        db.setDirectory(Datos());
        TTable ajena;
        ajena.setDatabase(&db);
        ajena.setTableName("Matriculas.DAT");
        ajena.open();
        QTemporaryDir d;
        QVERIFY(Recorrer(fForm->BtnGuardar, d.path(), {Si, Aceptar}));
        Aviso_Es(fCajas[1], "Atención: Copia de Seguridad",
                 "Estas tablas de la carpeta de datos siguen abiertas: Matriculas.DAT. No se ha copiado nada.");
        QVERIFY(Foto(d.path()).isEmpty());
    }

    // A destination that fills up mid-copy: the group box says so, the error handler
    // names the files, and there is no stamp.
    void copia_que_falla()
    {
        if (::geteuid() != 0)
            QSKIP("montar un disco exige ser root");
        Abrir();
        const qint64 tablas = Tamano_Total(Ficheros_Copia(Datos()));
        for (int i = 0; i < 40; ++i)
            Escribir_Fichero(Datos() + QString("/t%1.txt").arg(i, 2, 10, QLatin1Char('0')), "diez bytes");
        tDiscoPequeno disco((tablas + 4095) / 4096 * 4096 + 8 * 4096);
        EXIGIR_LUGAR(disco);
        QVERIFY(Recorrer(fForm->BtnGuardar, disco.ruta(), {Si, Copia}));
        QCOMPARE(fCopia.Grupo, QString("La copia de seguridad ha fallado"));
        QVERIFY(!Existe_Sello(disco.ruta()));
        const QList<TAvisoMostrado> &avisos = Avisos_Prueba::Mostrados();
        QCOMPARE(avisos.size(), 1);
        QCOMPARE(avisos[0].Titulo, QString("Error"));
        QVERIFY2(avisos[0].Texto.startsWith(QString("Error al guardar la copia de seguridad.\r\rNo se han podido "
                                                    "guardar estos ficheros en %1:\r")
                                                .arg(disco.ruta())),
                 qPrintable(avisos[0].Texto));
        // The tables fill whole pages; eight small files fit in the pages left, the other 32 do not,
        // and a long list is cut short.
        QVERIFY(avisos[0].Texto.contains("\rt08.txt: no queda espacio libre en el disco\r"));
        QVERIFY(avisos[0].Texto.contains("\rt22.txt: no queda espacio libre en el disco\ry 17 ficheros más\r"));
    }

    // The bar moves while a big file is copied, and the dialog will not close meanwhile.
    void progreso_sin_congelar()
    {
        Abrir();
        QVERIFY(Escribir_Fichero(Datos() + "/Grande.bin", QByteArray(48 << 20, 'g')));
        QTemporaryDir d;
        QList<int> valores;
        bool cerrada = false, aceptar = false;
        QTimer muestreo;
        connect(&muestreo, &QTimer::timeout, [&] {
            auto *c = qobject_cast<TFormRealizarCopia *>(QApplication::activeModalWidget());
            if (!c || !c->Copia_En_Curso())
                return;
            valores << c->BarraProgreso->value();
            aceptar = aceptar || c->BtnAceptar->isEnabled();
            QTest::keyClick(c, Qt::Key_Escape);
            c->reject();
            cerrada = cerrada || !c->isVisible();
        });
        muestreo.start(1);
        QVERIFY(Recorrer(fForm->BtnGuardar, d.path(), {Si, Copia}));
        muestreo.stop();
        QCOMPARE(fCopia.Grupo, QString("Proceso finalizado"));
        QVERIFY(!cerrada);
        QVERIFY(!aceptar);
        int intermedios = 0;
        for (int v : QSet<int>(valores.begin(), valores.end()))
            intermedios += v > 0 && v < 100;
        QVERIFY2(intermedios >= 2, qPrintable(QString("valores vistos: %1").arg(valores.size())));
    }

    // Backup, a change, restore from a typed folder: the date asked about is that
    // folder's stamp as stored, and "&Cerrar" shows the restored records.
    void guardar_y_restaurar()
    {
        Abrir();
        QTemporaryDir d, otra;
        QVERIFY(Recorrer(fForm->BtnGuardar, d.path(), {Si, Copia}));
        QCOMPARE(fCopia.Grupo, QString("Proceso finalizado"));

        fDatos->addVehicle("2222BBB", 1, 1, 1000);
        Escribir_Fichero(d.path() + "/DatosCopia.dat", "31/12/1999\r\n");
        Escribir_Fichero(otra.path() + "/DatosCopia.dat", "01/01/2001\r\n");
        QDir::setCurrent(otra.path()); // the folder dialog opens there; the backup's folder is typed

        QVERIFY(Recorrer(fForm->BtnRestaurar, d.path(), {Si, Si, Copia}));
        Pregunta_Es(fCajas[0], "Confirmar carpeta origen",
                    QString("¿Desea restaurar la copia de seguridad desde la carpeta %1?").arg(d.path()));
        Pregunta_Es(fCajas[1], "Confirmar fecha de la copia a restaurar",
                    "La copia que va a restaurar es de fecha 31/12/1999. ¿Desea continuar?");
        QCOMPARE(fCopia.Titulo, QString("Restaurar Copia de Seguridad"));
        QCOMPARE(fCopia.Grupo, QString("Proceso finalizado"));
        QCOMPARE(fCopia.Barra, 100);

        fForm->BtnSalir->click();
        TTable *m = fModulo->TableMatriculas;
        QVERIFY(m->active());
        QCOMPARE(m->recordCount(), 1);
        m->first();
        QCOMPARE(m->fieldByName("MATRICULA")->asString(), QString("1111AAA"));
    }

    void restaurar_sin_sello()
    {
        Abrir();
        QTemporaryDir d;
        for (const tFichero &f : Ficheros_Carpeta(Datos()))
            QVERIFY(QFile::copy(Datos() + "/" + f.Nombre, d.path() + "/" + f.Nombre));
        const auto antes = Foto(Datos());
        QVERIFY(Recorrer(fForm->BtnRestaurar, d.path(), {Si, Aceptar}));
        Aviso_Es(fCajas[1], "Restaurar Copia de Seguridad", "No se encuentra fichero de datos en el directorio origen");
        QCOMPARE(Foto(Datos()), antes);
    }

    void sello_ilegible()
    {
        Abrir();
        QTemporaryDir d;
        Escribir_Fichero(d.path() + "/Matriculas.DAT", "no es una tabla");
        QDir(d.path()).mkdir("DatosCopia.dat");
        const auto antes = Foto(Datos());
        QVERIFY(Recorrer(fForm->BtnRestaurar, d.path(), {Si}));
        const QList<TAvisoMostrado> &avisos = Avisos_Prueba::Mostrados();
        QCOMPARE(avisos.size(), 1);
        QCOMPARE(avisos[0].Titulo, QString("Error"));
        QCOMPARE(avisos[0].Texto, QString("Error al leer la fecha de la copia de seguridad.\r\rNo se puede leer el "
                                          "fichero %1/DatosCopia.dat: es una carpeta.")
                                      .arg(d.path()));
        QCOMPARE(Foto(Datos()), antes);
        QVERIFY(fForm->isVisible());
    }
};

QTEST_MAIN(tst_copiaseg)
#include "tst_copiaseg.moc"
