// The technical sheet windows driven headless: the thirty-four fields in their
// two columns, the one-sheet rule, the brand and model a new sheet starts
// with, capitals where they belong, the input order, and numbers and texts
// that cannot be stored refused with the user told and nothing lost.
#include "Avisos.h"
#include "DBControles.h"
#include "DBGrid.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "DialogosPrueba.h"
#include "EdFichaTec.h"
#include "Excepciones.h"
#include "FichaTec.h"
#include "Table.h"
#include "Teclado.h"
#include "Validadores.h"

#include <QClipboard>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

const QString Placa = QStringLiteral("1234ABC");

QStringList Textos_Avisos()
{
    QStringList t;
    for (const TAvisoMostrado &a : Avisos_Prueba::Mostrados())
        t << a.Texto;
    return t;
}

// Where a widget sits in its grid layout: (row, column).
QPoint Celda(QWidget *w)
{
    auto *g = qobject_cast<QGridLayout *>(w->parentWidget()->layout());
    int fila = -1, columna = -1, filas = 0, columnas = 0;
    g->getItemPosition(g->indexOf(w), &fila, &columna, &filas, &columnas);
    return {columna, fila};
}

// A vehicle of brand AAA and model BBB; the module and the sheet window.
struct Flota
{
    DatosPrueba datos;
    int marca = 0;
    int modelo = 0;
    std::unique_ptr<TModuloDatos> modulo;
    std::unique_ptr<TFormFichaTec> ventana;

    // An empty name: the vehicle's brand or model is one no catalogue holds.
    explicit Flota(const QString &nombreMarca = QStringLiteral("AAA"), const QString &nombreModelo = QStringLiteral("BBB"),
                   bool conVehiculo = true)
    {
        marca = nombreMarca.isEmpty() ? 999 : datos.addBrand(nombreMarca);
        modelo = nombreModelo.isEmpty() ? 999 : datos.addModel(nombreModelo, marca);
        if (conVehiculo)
            datos.addVehicle(Placa, marca, modelo, 50000);
    }

    bool abrir()
    {
        modulo = std::make_unique<TModuloDatos>(datos.carpeta());
        ventana = std::make_unique<TFormFichaTec>();
        ventana->show();
        return QTest::qWaitForWindowExposed(ventana.get());
    }

    QList<QMap<QString, QVariant>> fichas() const { return datos.registros(QStringLiteral("FichaTecnica.DAT")); }

    bool usarEditor(QToolButton *boton, std::function<void(TFormEdFichaTec *)> accion)
    {
        return Usar_Editor<TFormEdFichaTec>(boton, accion);
    }
};

// A sheet with every field filled.
QMap<QString, QVariant> Ficha_Llena()
{
    QMap<QString, QVariant> f;
    int n = 1;
    for (const TCampoFicha &c : Campos_Ficha()) {
        if (Es_Numero_Ficha(c))
            f.insert(QLatin1String(c.Campo), n * 100 + 0.5);
        else
            f.insert(QLatin1String(c.Campo), QStringLiteral("T%1").arg(n));
        ++n;
    }
    return f;
}

} // namespace

class TstFichaTec : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void ventana();
    void sinFicha();
    void focoVuelveALaRejilla();
    void anadirPrefijado_data();
    void anadirPrefijado();
    void borrarMarcaModelo();
    void ordenYMayusculas();
    void unaFichaPorVehiculo();
    void editarYEliminar();
    void sinVehiculo();
    void numeros_data();
    void numeros();
    void numeroIncompleto();
    void textosQueNoCaben();
};

void TstFichaTec::initTestCase()
{
    Excepcion.Configurar_Excepciones(false);
}

void TstFichaTec::init()
{
    Avisos_Prueba::Reiniciar();
    Avisos_Prueba::Sin_Ventanas(true);
}

void TstFichaTec::cleanup()
{
    DialogosPrueba::cerrarModales();
    Avisos_Prueba::Reiniciar();
}

// Caption without a count, help topic, and the thirty-four fields read-only,
// each with its label on its left, seventeen a column, in the window's order
// and labels (two of them said otherwise than in the editor).
void TstFichaTec::ventana()
{
    Flota f;
    f.datos.addSheet(Placa, Ficha_Llena());
    QVERIFY(f.abrir());
    TFormFichaTec *v = f.ventana.get();
    QCOMPARE(v->windowTitle(), QStringLiteral("AAA BBB - Kmtros actuales: 50.000 - Ficha Técnica"));
    QCOMPARE(f.modulo->Pantalla_Activa, quint8(Pantalla_FichaTec));
    QCOMPARE(v->property("HelpContext").toInt(), 610);
    QCOMPARE(v->PnlFicha->toolTip(), QStringLiteral("Doble Click para editar"));

    const QStringList izquierda{"MARCAMODELO", "CLASE", "TIPO", "VARIANTE", "DENOMINACIONCOM", "TARA",
                                "MTMA_MMA", "MTMA_MMA1E", "MTMA_MMA2E", "MTMA_MMA3E", "MTMA_MMA4E", "MMR",
                                "NEUMATICOS", "NUMASIENTOS", "VOLBODEGA", "ALTURA", "ANCHURA"};
    const QStringList derecha{"VIAANT_POST", "LONGITUD", "VOLADIZOPOST", "DISTANCIA12E", "DISTANCIA23E",
                              "DISTANCIA34E", "DISTANCIA5R", "MARCAMOTOR", "TIPOMOTOR", "CILINDRADA",
                              "POTENCIA_F_R", "CARTER", "COMBUSTIBLE", "REFRIGERANTE", "CAJA", "DIFERENCIAL",
                              "BATERIA"};
    QStringList etiquetas;
    for (int i = 0; i < 34; ++i) {
        TDBEdit *e = v->Campos[std::size_t(i)];
        QCOMPARE(e->dataField(), i < 17 ? izquierda[i] : derecha[i - 17]);
        QVERIFY(e->isReadOnly());
        auto *l = v->findChild<QLabel *>(Nombre_Etiqueta(e->objectName()));
        QVERIFY2(l, qPrintable(e->objectName()));
        etiquetas << l->text();
        QCOMPARE(Celda(e), QPoint(i < 17 ? 1 : 4, i % 17));
        QCOMPARE(Celda(l), QPoint(i < 17 ? 0 : 3, i % 17));
        QVERIFY(l->geometry().right() < e->geometry().left());
        QCOMPARE(l->geometry().center().y(), e->geometry().center().y());
    }
    QCOMPARE(etiquetas.mid(13, 4),
             QStringList({"Nº asientos", "Volumen Bodega (cc)", "Altura total (mm)", "Anchura total (mm)"}));
    QCOMPARE(etiquetas.mid(26, 8),
             QStringList({"Nº Cilindros/Cilindrada (cc) ", "Potencia fiscal/real (C.V.F./kW)", "Depósito Aceite (L)",
                          "Depósito Combust. (L)", "Liquido Refrigerante (L)", "Caja de cambios (L)",
                          "Diferencial (L)", "Bateria"}));
    QCOMPARE(v->Campos[0]->text(), QStringLiteral("T1"));
    QCOMPARE(v->Campos[5]->text(), QStringLiteral("600,5"));      // TARA
    QCOMPARE(v->Campos[33]->text(), QStringLiteral("T34"));       // BATERIA
}

// A vehicle without a sheet shows empty fields; the move to it empties them.
void TstFichaTec::sinFicha()
{
    Flota f;
    f.datos.addVehicle(QStringLiteral("9999ZZZ"), f.marca, f.modelo, 7000);
    f.datos.addSheet(Placa, Ficha_Llena());
    QVERIFY(f.abrir());
    QCOMPARE(f.ventana->Campos[12]->text(), QStringLiteral("T13"));
    f.ventana->DBNavigator->buttonNext()->click();
    QCOMPARE(f.ventana->windowTitle(), QStringLiteral("AAA BBB - Kmtros actuales: 7.000 - Ficha Técnica"));
    for (const TDBEdit *e : f.ventana->Campos)
        QVERIFY2(e->text().isEmpty(), qPrintable(e->objectName()));
    f.ventana->DBNavigator->buttonPrior()->click();
    QCOMPARE(f.ventana->Campos[12]->text(), QStringLiteral("T13"));
}

// The sheet's fields never keep the focus; a double click on them edits.
void TstFichaTec::focoVuelveALaRejilla()
{
    Flota f;
    f.datos.addSheet(Placa, Ficha_Llena());
    QVERIFY(f.abrir());
    TDBEdit *tara = f.ventana->Campos[5];
    QTest::mouseClick(tara, Qt::LeftButton);
    QTRY_VERIFY(f.ventana->DBGridMatriculas->hasFocus());

    DialogosPrueba dialogos;
    dialogos.alAparecer(QStringLiteral("TFormEdFichaTec"), [](QWidget *w) {
        auto *e = qobject_cast<TFormEdFichaTec *>(w);
        QCOMPARE(e->windowTitle(), QStringLiteral("Editar Ficha Técnica"));
        QVERIFY(e->DBEditMarca->hasFocus());
        e->reject();
    });
    QTest::mouseDClick(tara, Qt::LeftButton);
    QVERIFY(dialogos.esperar());
}

// A new sheet starts with the vehicle's brand and model, cut to the field's
// 25 characters, which enables Aceptar; without either, it starts empty.
void TstFichaTec::anadirPrefijado_data()
{
    QTest::addColumn<QString>("marca");
    QTest::addColumn<QString>("modelo");
    QTest::addColumn<QString>("prefijado");

    QTest::newRow("marca y modelo") << "AAA" << "BBB" << "AAA BBB";
    QTest::newRow("comillas y acentos") << "CITROËN" << "C4 'PICASSO' \"Ñ\"" << "CITROËN C4 'PICASSO' \"Ñ\"";
    QTest::newRow("cortado") << "MERCEDES-BENZ TRUCKS" << "ACTROS 1845" << "MERCEDES-BENZ TRUCKS ACTR";
    QTest::newRow("sin modelo") << "AAA" << "" << "AAA";
    QTest::newRow("sin marca") << "" << "BBB" << "BBB";
    QTest::newRow("sin marca ni modelo") << "" << "" << "";
}

void TstFichaTec::anadirPrefijado()
{
    QFETCH(QString, marca);
    QFETCH(QString, modelo);
    QFETCH(QString, prefijado);

    Flota f(marca, modelo);
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdFichaTec *e) {
        QCOMPARE(e->windowTitle(), QStringLiteral("Añadir Ficha Técnica"));
        QCOMPARE(e->DBEditMarca->text(), prefijado);
        QCOMPARE(e->BtnAceptar->isEnabled(), !prefijado.isEmpty());
        QVERIFY(e->DbEditClase->hasFocus());
        if (prefijado.isEmpty())
            Escribir(e->DBEditMarca, QStringLiteral("OTRA"));
        e->BtnAceptar->click();
    }));
    const auto r = f.fichas();
    QCOMPARE(r.size(), 1);
    const QString guardado = prefijado.isEmpty() ? QStringLiteral("OTRA") : prefijado;
    QCOMPARE(r[0].value("MATRICULA").toString(), Placa);
    QCOMPARE(r[0].value("MARCAMODELO").toString(), guardado);
    QCOMPARE(f.ventana->Campos[0]->text(), guardado);
}

// Erased, the brand and model disable Aceptar; typed again, they enable it.
void TstFichaTec::borrarMarcaModelo()
{
    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdFichaTec *e) {
        QVERIFY(e->BtnAceptar->isEnabled());
        Escribir(e->DBEditMarca, QString());
        QVERIFY(!e->BtnAceptar->isEnabled());
        Teclear(e->DBEditMarca, QStringLiteral("x"));
        QVERIFY(e->BtnAceptar->isEnabled());
        QTest::keyClick(e->DBEditMarca, Qt::Key_Backspace);
        QVERIFY(!e->BtnAceptar->isEnabled());
        e->BtnCancelar->click();
    }));
    QVERIFY(f.fichas().isEmpty());
}

// Tab goes down the left column and then the right one; letters become
// capitals in the eight named texts only; what is typed is stored, numbers
// read with the program's separators.
void TstFichaTec::ordenYMayusculas()
{
    Flota f;
    QVERIFY(f.abrir());
    const QStringList mayusculas{"MARCAMODELO", "CLASE", "TIPO", "VARIANTE", "DENOMINACIONCOM",
                                 "NEUMATICOS", "MARCAMOTOR", "TIPOMOTOR"};
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdFichaTec *e) {
        e->DBEditMarca->setFocus();
        for (std::size_t i = 0; i < e->Campos.size(); ++i) {
            TDBEdit *c = e->Campos[i];
            QVERIFY2(c->hasFocus(), qPrintable(c->objectName()));
            c->selectAll();
            if (Es_Numero_Ficha(Campos_Ficha()[i]))
                Teclear(c, QStringLiteral("1.2%1,5").arg(i, 2, 10, QLatin1Char('0')));
            else
                Teclear(c, QStringLiteral("ñé'%1").arg(i));
            QTest::keyClick(c, Qt::Key_Tab);
        }
        e->BtnAceptar->click();
    }));
    const auto r = f.fichas().value(0);
    for (std::size_t i = 0; i < Campos_Ficha().size(); ++i) {
        const QString campo = QLatin1String(Campos_Ficha()[i].Campo);
        if (Es_Numero_Ficha(Campos_Ficha()[i])) {
            QCOMPARE(r.value(campo).toDouble(), 1200.5 + double(i));
        } else {
            const QString tecleado = QStringLiteral("ñé'%1").arg(i);
            QCOMPARE(r.value(campo).toString(), mayusculas.contains(campo) ? tecleado.toUpper() : tecleado);
        }
    }
}

// One sheet per vehicle: a second Añadir is refused, opens nothing and
// leaves the caption alone.
void TstFichaTec::unaFichaPorVehiculo()
{
    Flota f;
    f.datos.addSheet(Placa, {{QStringLiteral("MARCAMODELO"), QStringLiteral("AAA BBB")}});
    QVERIFY(f.abrir());
    f.ventana->setWindowTitle(QStringLiteral("sin refrescar"));
    QVERIFY(!Abre_Editor(f.ventana->BtnAnadir));
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
    QCOMPARE(Avisos_Prueba::Mostrados()[0].Titulo, QStringLiteral("Error"));
    QCOMPARE(Avisos_Prueba::Mostrados()[0].Texto, QStringLiteral("Sólo se permite una Ficha Técnica por vehículo"));
    QCOMPARE(Avisos_Prueba::Mostrados()[0].Tipo, avError);
    QCOMPARE(f.ventana->windowTitle(), QStringLiteral("sin refrescar"));
    QCOMPARE(f.fichas().size(), 1);
}

// Editing and deleting touch the sheet alone; without a sheet, the notices.
void TstFichaTec::editarYEliminar()
{
    Flota f;
    f.datos.addSheet(Placa, Ficha_Llena());
    f.datos.addTyres(Placa, QDate(2024, 2, 1), 42000);
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnEditar, [&](TFormEdFichaTec *e) {
        QVERIFY(e->BtnAceptar->isEnabled());
        QCOMPARE(e->Campos[5]->text(), QStringLiteral("600,5"));
        Escribir(e->findChild<TDBEdit *>("DBEditNeumaticos"), QStringLiteral("315/80 r22.5"));
        e->BtnAceptar->click();
    }));
    QCOMPARE(f.fichas().value(0).value("NEUMATICOS").toString(), QStringLiteral("315/80 R22.5"));
    QCOMPARE(f.fichas().value(0).value("TARA").toDouble(), 600.5);
    QCOMPARE(f.ventana->Campos[12]->text(), QStringLiteral("315/80 R22.5"));

    Avisos_Prueba::Programar_Respuesta(true);
    QVERIFY(f.usarEditor(f.ventana->BtnEliminar, [](TFormEdFichaTec *e) {
        QCOMPARE(e->windowTitle(), QStringLiteral("Eliminar Ficha Técnica"));
        QVERIFY(!e->PnlDatos->isEnabled());
        QVERIFY(e->BtnAceptar->isEnabled());
        e->BtnAceptar->click();
    }));
    QVERIFY(f.fichas().isEmpty());
    QCOMPARE(f.datos.registros(QStringLiteral("Ruedas.DAT")).size(), 1);
    QCOMPARE(f.datos.registros(QStringLiteral("Matriculas.DAT")).size(), 1);
    for (const TDBEdit *e : f.ventana->Campos)
        QVERIFY(e->text().isEmpty());

    for (const bool eliminar : {false, true}) {
        Avisos_Prueba::Reiniciar();
        Avisos_Prueba::Sin_Ventanas(true);
        f.ventana->setWindowTitle(QStringLiteral("viejo"));
        QVERIFY(!Abre_Editor(eliminar ? f.ventana->BtnEliminar : f.ventana->BtnEditar));
        QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
        QCOMPARE(Avisos_Prueba::Mostrados()[0].Titulo, eliminar ? QStringLiteral("Error al eliminar Ficha Técnica.")
                                                                 : QStringLiteral("Error al editar Ficha Técnica."));
        QCOMPARE(Avisos_Prueba::Mostrados()[0].Texto, QStringLiteral("La base de datos de Fichas Técnicas está vacía."));
        QCOMPARE(f.ventana->windowTitle(), QStringLiteral("AAA BBB - Kmtros actuales: 50.000 - Ficha Técnica"));
    }
}

void TstFichaTec::sinVehiculo()
{
    Flota f(QStringLiteral("AAA"), QStringLiteral("BBB"), false);
    QVERIFY(f.abrir());
    QVERIFY(!Abre_Editor(f.ventana->BtnAnadir));
    QCOMPARE(Avisos_Prueba::Mostrados().size(), 1);
    QCOMPARE(Avisos_Prueba::Mostrados()[0].Titulo, QStringLiteral("Error al añadir Ficha Técnica."));
    QCOMPARE(Avisos_Prueba::Mostrados()[0].Texto, Texto_Sin_Vehiculo());
    QVERIFY(f.fichas().isEmpty());
}

// What a number field of the sheet lets through as it is typed, and what it stores.
void TstFichaTec::numeros_data()
{
    QTest::addColumn<QString>("tecleado");
    QTest::addColumn<QString>("visto");
    QTest::addColumn<QVariant>("guardado");
    QTest::addColumn<QStringList>("avisos");

    QTest::newRow("decimales") << "1234,5" << "1234,5" << QVariant(1234.5) << QStringList();
    QTest::newRow("miles agrupados") << "1.234,5" << "1.234,5" << QVariant(1234.5) << QStringList();
    QTest::newRow("letras fuera") << "12a3b" << "123" << QVariant(123.0) << QStringList();
    QTest::newRow("dos comas") << "1,2,3" << "1,23" << QVariant(1.23) << QStringList();
    QTest::newRow("grupo roto") << "12.3456" << "12.345" << QVariant(12345.0) << QStringList();
    QTest::newRow("exponente") << "1e5" << "15" << QVariant(15.0) << QStringList();
    QTest::newRow("quince cifras") << "123456789012345" << "123456789012345" << QVariant(123456789012345.0)
                                   << QStringList();
    QTest::newRow("dieciséis cifras") << "1234567890123456" << "123456789012345" << QVariant(123456789012345.0)
                                      << QStringList{Texto_Numero_Demasiado_Largo()};
    QTest::newRow("nada") << "" << "" << QVariant() << QStringList();
}

void TstFichaTec::numeros()
{
    QFETCH(QString, tecleado);
    QFETCH(QString, visto);
    QFETCH(QVariant, guardado);
    QFETCH(QStringList, avisos);

    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdFichaTec *e) {
        TDBEdit *tara = e->findChild<TDBEdit *>("DBEditTara");
        Escribir(tara, tecleado);
        QCOMPARE(tara->text(), visto);
        QCoreApplication::processEvents();
        QCOMPARE(Textos_Avisos(), avisos);
        e->BtnAceptar->click();
    }));
    const QVariant v = f.fichas().value(0).value("TARA");
    QCOMPARE(v.isNull(), guardado.isNull());
    if (!guardado.isNull())
        QCOMPARE(v.toDouble(), guardado.toDouble());
}

// A number left half typed ("12.") is not one: Aceptar says so, naming the
// field, keeps the dialog and what was typed, and stores once it is mended.
void TstFichaTec::numeroIncompleto()
{
    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdFichaTec *e) {
        Escribir(e->findChild<TDBEdit *>("DBEditTipo"), QStringLiteral("furgon"));
        TDBEdit *altura = e->findChild<TDBEdit *>("DBEditAltura");
        Escribir(altura, QStringLiteral("2."));
        QTest::mouseClick(e->BtnAceptar, Qt::LeftButton);
        QVERIFY(e->isVisible());
        QTRY_VERIFY(altura->hasFocus());
        QCOMPARE(altura->text(), QStringLiteral("2."));
        QCOMPARE(Textos_Avisos(), QStringList{QStringLiteral("«2.» no es un valor válido para «Altura total (mm)».\r"
                                                             "Escriba sólo cifras, con la coma antes de los decimales "
                                                             "(1234,5).")});
        Teclear(altura, QStringLiteral("150"));
        QTest::mouseClick(e->BtnAceptar, Qt::LeftButton);
    }));
    const auto r = f.fichas();
    QCOMPARE(r.size(), 1);
    QCOMPARE(r[0].value("ALTURA").toDouble(), 2150.0);
    QCOMPARE(r[0].value("TIPO").toString(), QStringLiteral("FURGON"));
}

// Every text field takes no more than its size: typed letters stop there, a
// longer paste is refused whole with a notice, quotes and accents stay.
void TstFichaTec::textosQueNoCaben()
{
    Flota f;
    QVERIFY(f.abrir());
    QVERIFY(f.usarEditor(f.ventana->BtnAnadir, [&](TFormEdFichaTec *e) {
        for (std::size_t i = 0; i < e->Campos.size(); ++i) {
            const TCampoFicha &c = Campos_Ficha()[i];
            if (Es_Numero_Ficha(c))
                continue;
            TDBEdit *campo = e->Campos[i];
            const int largo = campo->dbField()->size();
            const QString lleno = QStringLiteral("«Ñ'\"") + QString(largo, QLatin1Char('x'));
            Escribir(campo, lleno);
            QCOMPARE(campo->text().size(), largo);
            Avisos_Prueba::Reiniciar();
            Avisos_Prueba::Sin_Ventanas(true);
            campo->selectAll();
            QApplication::clipboard()->setText(QString(largo + 1, QLatin1Char('y')));
            QTest::keyClick(campo, Qt::Key_V, Qt::ControlModifier);
            QCoreApplication::processEvents();
            QCOMPARE(campo->text().size(), largo);
            QVERIFY2(campo->text().startsWith(QStringLiteral("«Ñ'\"")), qPrintable(campo->objectName()));
            QCOMPARE(Textos_Avisos(), QStringList{Texto_No_Cabe(largo)});
        }
        e->BtnAceptar->click();
    }));
    const auto r = f.fichas().value(0);
    QVERIFY(!r.isEmpty());
    for (const TCampoFicha &c : Campos_Ficha()) {
        if (Es_Numero_Ficha(c))
            continue;
        const QString v = r.value(QLatin1String(c.Campo)).toString();
        QVERIFY2(v.startsWith(QStringLiteral("«Ñ'\"")), qPrintable(QLatin1String(c.Campo) + QLatin1Char(' ') + v));
    }
}

QTEST_MAIN(TstFichaTec)
#include "tst_fichatec.moc"
