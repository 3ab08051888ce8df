// The list and editor bases as the record windows use them: a list window of a
// kind that follows the vehicle is refreshed at every move until it is gone,
// its navigator moves the table its kind names, its vehicle grid edits on a
// double click when asked, a button of its own sits before Cerrar; an editor's
// fields are bound to its kind's table and laid out in columns under labels.
#include "Avisos.h"
#include "BotonFecha.h"
#include "DBControles.h"
#include "DBGrid.h"
#include "DataModulo.h"
#include "DatosPrueba.h"
#include "EdicionBase.h"
#include "ListaBase.h"
#include "Table.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

// A list window with only what the bases give: the vehicle grid, a detail field
// beside it and a tool bar button of its own. Its editor is never made: it
// counts the requests instead.
class TListaPrueba : public TFormListaBase
{
public:
    TListaPrueba(TTipoRegistro Tipo, bool DobleClickEdita) : TFormListaBase(Tipo)
    {
        QHBoxLayout *fila = Anadir_Fila_Cuerpo();
        DBGridMatriculas = Crear_Rejilla_Vehiculos(fila, DobleClickEdita);
        Propio = Anadir_Boton_Barra(QStringLiteral("SpeedButton1"), QStringLiteral("&Pendientes"),
                                    QStyle::SP_DialogYesButton);
        setFixedSize(800, 400);
    }

    TDBGrid *DBGridMatriculas;
    QToolButton *Propio;
    int Editores = 0;

protected:
    QDialog *Crear_Editor() override
    {
        ++Editores;
        return nullptr;
    }
};

class TEdicionPrueba : public TFormEdicionBase
{
public:
    explicit TEdicionPrueba(TTipoRegistro Tipo) : TFormEdicionBase(Tipo) {}
    using TFormEdicionBase::Anadir_Campo;
    using TFormEdicionBase::Anadir_Campo_Fecha;
    using TFormEdicionBase::Rejilla;
    void Actualizar_Boton_Aceptar() override {}
};

// Row and column of `w` in the editor's grid.
QPoint Celda(TEdicionPrueba &e, QWidget *w)
{
    int fila = -1, columna = -1, filas = 0, columnas = 0;
    const int i = e.Rejilla()->indexOf(w);
    if (i >= 0)
        e.Rejilla()->getItemPosition(i, &fila, &columna, &filas, &columnas);
    return QPoint(columna, fila);
}

} // namespace

class TstBases : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listaSigueAlVehiculo_data();
    void listaSigueAlVehiculo();
    void rejillaDeVehiculosYBarra_data();
    void rejillaDeVehiculosYBarra();
    void camposDelEditor();
    void anadirSinVehiculo_data();
    void anadirSinVehiculo();

private:
    std::unique_ptr<DatosPrueba> m_datos;
    std::unique_ptr<TModuloDatos> m_modulo;
    std::unique_ptr<TListaPrueba> m_lista;
};

// Two vehicles of AAA BBB: the first with two breakdowns, a tyre fitting and a
// technical sheet, the second with one breakdown and nothing else.
void TstBases::init()
{
    m_datos = std::make_unique<DatosPrueba>();
    QVERIFY(m_datos->isValid());
    const int marca = m_datos->addBrand(QStringLiteral("AAA"));
    const int modelo = m_datos->addModel(QStringLiteral("BBB"), marca);
    m_datos->addVehicle(QStringLiteral("1111AAA"), marca, modelo, 10000);
    m_datos->addVehicle(QStringLiteral("2222BBB"), marca, modelo, 20000);
    m_datos->addBreakdown(QStringLiteral("1111AAA"), QDate(2020, 1, 1), 9000);
    m_datos->addBreakdown(QStringLiteral("1111AAA"), QDate(2020, 2, 1), 9500);
    m_datos->addBreakdown(QStringLiteral("2222BBB"), QDate(2020, 3, 1), 19000);
    m_datos->addTyres(QStringLiteral("1111AAA"), QDate(2019, 5, 1), 5000);
    m_datos->addSheet(QStringLiteral("1111AAA"), {{QStringLiteral("NEUMATICOS"), QStringLiteral("205/55 R16")}});
    m_modulo = std::make_unique<TModuloDatos>(m_datos->carpeta());
    QVERIFY(m_modulo->TableMatriculas->active());
}

void TstBases::cleanup()
{
    m_lista.reset();
    m_modulo.reset();
    m_datos.reset();
}

void TstBases::listaSigueAlVehiculo_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("pantalla");
    QTest::addColumn<QString>("navegador"); // the table its navigator moves
    QTest::addColumn<QString>("primero");   // captions on the first and the second vehicle
    QTest::addColumn<QString>("segundo");
    QTest::newRow("averias") << int(TTipoRegistro::Averias) << int(Pantalla_Averias) << "TableAverias"
                             << "AAA BBB - Kmtros actuales: 10.000 - Averias (2 registros)"
                             << "AAA BBB - Kmtros actuales: 20.000 - Averias (1 registro)";
    QTest::newRow("ruedas") << int(TTipoRegistro::Ruedas) << int(Pantalla_Ruedas) << "TableMatriculas"
                            << "AAA BBB - Kmtros actuales: 10.000 - Neumáticos (1 registro)"
                            << "AAA BBB - Kmtros actuales: 20.000 - Neumáticos (0 registros)";
    QTest::newRow("ficha tecnica") << int(TTipoRegistro::FichaTec) << int(Pantalla_FichaTec) << "TableMatriculas"
                                   << "AAA BBB - Kmtros actuales: 10.000 - Ficha Técnica"
                                   << "AAA BBB - Kmtros actuales: 20.000 - Ficha Técnica";
}

// Shown, the window names itself in Pantalla_Activa and the module refreshes
// its caption at every move of the vehicle grid; once gone, nothing is.
void TstBases::listaSigueAlVehiculo()
{
    QFETCH(int, tipo);
    QFETCH(int, pantalla);
    QFETCH(QString, navegador);
    QFETCH(QString, primero);
    QFETCH(QString, segundo);
    m_lista = std::make_unique<TListaPrueba>(TTipoRegistro(tipo), true);
    QCOMPARE(m_lista->DBNavigator->dataSource()->dataSet(), m_modulo->Tabla(navegador));
    m_lista->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_lista.get()));
    QCOMPARE(m_modulo->Pantalla_Activa, quint8(pantalla));
    QCOMPARE(m_lista->windowTitle(), primero);

    m_lista->DBGridMatriculas->selectRow(1);
    QCOMPARE(m_modulo->TableMatriculas->fieldByName(QStringLiteral("MATRICULA"))->asString(),
             QStringLiteral("2222BBB"));
    QCOMPARE(m_lista->windowTitle(), segundo);

    const QString cabecera = m_modulo->Cabecera_Vehiculo;
    m_lista.reset();
    m_modulo->TableMatriculas->first();
    QCOMPARE(m_modulo->Cabecera_Vehiculo, cabecera);
}

void TstBases::rejillaDeVehiculosYBarra_data()
{
    QTest::addColumn<bool>("dobleClickEdita");
    QTest::newRow("edita") << true;
    QTest::newRow("no hace nada") << false; // the maintenance window's
}

void TstBases::rejillaDeVehiculosYBarra()
{
    QFETCH(bool, dobleClickEdita);
    m_lista = std::make_unique<TListaPrueba>(TTipoRegistro::Ruedas, dobleClickEdita);
    m_lista->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_lista.get()));
    TDBGrid *g = m_lista->DBGridMatriculas;
    QCOMPARE(g->objectName(), QStringLiteral("DBGridMatriculas"));
    QCOMPARE(g->gridModel()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("MATRICULA"));
    QCOMPARE(g->gridModel()->rowCount(), 2);
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(0, 0)).center());
    QCOMPARE(m_lista->Editores, dobleClickEdita ? 1 : 0);

    // The window's own button follows Eliminar, Cerrar stays apart at the end.
    const QToolButton *eliminar = m_lista->BtnEliminar, *propio = m_lista->Propio, *cerrar = m_lista->BtnCerrar;
    QCOMPARE(propio->objectName(), QStringLiteral("SpeedButton1"));
    QVERIFY(propio->x() > eliminar->x() + eliminar->width());
    QVERIFY(propio->x() - (eliminar->x() + eliminar->width()) < 10);
    QVERIFY(cerrar->x() > propio->x() + propio->width() + 10);
}

// Fields bound to the kind's table through its data source, each column of
// fields filling from the top, labels named after the field.
void TstBases::camposDelEditor()
{
    TEdicionPrueba e(TTipoRegistro::FichaTec);
    TDBEdit *marca = e.Anadir_Campo(QStringLiteral("DBEditMarca"), QStringLiteral("Marca y Modelo"),
                                    QStringLiteral("MARCAMODELO"));
    TDBEdit *clase = e.Anadir_Campo(QStringLiteral("DbEditClase"), QStringLiteral("Clase"), QStringLiteral("CLASE"));
    TDBEdit *longitud = e.Anadir_Campo(QStringLiteral("DBEditLongitud"), QStringLiteral("Longitud (mm)"),
                                       QStringLiteral("LONGITUD"), 80, nullptr, 1);
    for (TDBEdit *c : {marca, clase, longitud}) {
        QCOMPARE(c->parentWidget(), e.PnlDatos);
        QCOMPARE(c->dbDataSource(), m_modulo->DSFichaTec);
    }
    QCOMPARE(marca->dbField(), m_modulo->TableFichaTec->fieldByName(QStringLiteral("MARCAMODELO")));
    QCOMPARE(longitud->width(), 80);
    QCOMPARE(Celda(e, marca), QPoint(1, 0));
    QCOMPARE(Celda(e, clase), QPoint(1, 1));
    QCOMPARE(Celda(e, longitud), QPoint(4, 0));
    auto *lblClase = e.findChild<QLabel *>(QStringLiteral("LblClase"));
    QVERIFY(lblClase);
    QCOMPARE(lblClase->text(), QStringLiteral("Clase"));
    QCOMPARE(lblClase->buddy(), clase);
    QCOMPARE(Celda(e, lblClase), QPoint(0, 1));
    QCOMPARE(Celda(e, e.findChild<QLabel *>(QStringLiteral("LblLongitud"))), QPoint(3, 0));

    TEdicionPrueba r(TTipoRegistro::Ruedas);
    const TCampoFecha f = r.Anadir_Campo_Fecha(QStringLiteral("DBEditFecha"), QStringLiteral("BotonFechaRuedas"),
                                               QStringLiteral("Fecha"), QStringLiteral("FECHA"));
    QCOMPARE(f.Edit->dbDataSource(), m_modulo->DSRuedas);
    QCOMPARE(f.Boton->objectName(), QStringLiteral("BotonFechaRuedas"));
    QCOMPARE(f.Boton->toolTip(), QStringLiteral("Seleccionar una fecha"));
    QCOMPARE(f.Boton->parentWidget(), f.Fila);
    QCOMPARE(r.findChild<QLabel *>(QStringLiteral("LblFecha"))->buddy(), f.Edit);
    // Prepared as a date that may stay empty: its check and mask are on the field.
    QVERIFY(f.Edit->dbField()->hasOnSetText());
    QVERIFY(!f.Edit->dbField()->editMask().isEmpty());
    QVERIFY(!f.Edit->dbField()->required());
    QCOMPARE(f.Edit->shownText(), QStringLiteral("01/05/2019"));
}

// With no vehicle at all, the windows that follow one refuse to add a record
// that would belong to none; the others add as ever.
void TstBases::anadirSinVehiculo_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("titulo"); // of the refusal; empty: the editor is made

    QTest::newRow("vehículos") << int(TTipoRegistro::Vehiculos) << "";
    QTest::newRow("marcas") << int(TTipoRegistro::Marcas) << "";
    QTest::newRow("intervalos") << int(TTipoRegistro::Intervalos) << "";
    QTest::newRow("mantenimiento") << int(TTipoRegistro::Mantenimiento) << "Error al añadir Mantenimiento.";
    QTest::newRow("averías") << int(TTipoRegistro::Averias) << "Error al añadir Averia.";
    QTest::newRow("neumáticos") << int(TTipoRegistro::Ruedas) << "Error al añadir Neumático.";
    QTest::newRow("ficha técnica") << int(TTipoRegistro::FichaTec) << "Error al añadir Ficha Técnica.";
}

void TstBases::anadirSinVehiculo()
{
    QFETCH(int, tipo);
    QFETCH(QString, titulo);

    TTable *v = m_modulo->TableMatriculas;
    while (!v->isEmpty())
        v->deleteRecord();
    Avisos_Prueba::Reiniciar();
    Avisos_Prueba::Sin_Ventanas(true);
    m_lista = std::make_unique<TListaPrueba>(TTipoRegistro(tipo), false);
    m_lista->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_lista.get()));
    m_lista->BtnAnadir->click();
    QCOMPARE(m_lista->Editores, titulo.isEmpty() ? 1 : 0);
    QCOMPARE(Avisos_Prueba::Mostrados().size(), titulo.isEmpty() ? 0 : 1);
    if (!titulo.isEmpty()) {
        QCOMPARE(Avisos_Prueba::Mostrados()[0].Titulo, titulo);
        QCOMPARE(Avisos_Prueba::Mostrados()[0].Texto, Texto_Sin_Vehiculo());
    }
    Avisos_Prueba::Reiniciar();
}

QTEST_MAIN(TstBases)
#include "tst_bases.moc"
