// Highlighting of the focused input control in a data panel, the suspension of
// a number's display format while it is typed, and the return of the focus
// after a rejected date.
#include "ClaseAux.h"
#include "DBEnlace.h"
#include "FormBase.h"
#include "Table.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {
// A single-line field bound to a table field, as the data-bound edit is.
class CampoEnlazado : public QLineEdit, public IDBControl
{
public:
    CampoEnlazado(TField *f, TDataSource *ds, QWidget *parent) : QLineEdit(parent), m_campo(f), m_ds(ds) {}
    TField *dbField() const override { return m_campo; }
    TDataSource *dbDataSource() const override { return m_ds; }
    void dbRefreshText() override { formatos << (m_campo ? m_campo->displayFormat() : QString()); }
    QStringList formatos; // display format in force at each refresh

private:
    TField *m_campo;
    TDataSource *m_ds;
};

QPalette::ColorRole rol(QWidget *w)
{
    auto c = qobject_cast<QComboBox *>(w);
    return c && !c->isEditable() ? QPalette::Button : QPalette::Base;
}

const QString Formato_Km = QStringLiteral("###.###,##");
}

class TstResalte : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void resalte_data();
    void resalte();
    void estadoDeLaTabla_data();
    void estadoDeLaTabla();
    void formatoSuspendido_data();
    void formatoSuspendido();
    void formatoVuelveSiSeDestruye();
    void fechaRechazadaDevuelveElFoco();
    void listaDeMarcasPierdeSeleccion();

private:
    template <typename T> T *hijo(const char *nombre) { return m_dlg->findChild<T *>(QLatin1String(nombre)); }
    void enfocar(QWidget *w)
    {
        w->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TDatabase> m_db;
    std::unique_ptr<TTable> m_tabla;
    std::unique_ptr<TDataSource> m_ds;
    std::unique_ptr<QDialog> m_dlg;
    QWidget *m_panel = nullptr;
};

void TstResalte::initTestCase()
{
    QVERIFY(m_dir.isValid());
    TTableDef def;
    def.name = QStringLiteral("Prueba.DAT");
    def.fields = {{"KM", TFieldType::Integer, 0}, {"IMPORTE", TFieldType::Float, 0},
                  {"PRECIO", TFieldType::Float, 0}, {"NOMBRE", TFieldType::Text, 20}};
    TableStore::createTable(m_dir.path(), def);
}

void TstResalte::init()
{
    m_db = std::make_unique<TDatabase>(QStringLiteral("Prueba"));
    m_db->setDirectory(m_dir.path());
    m_tabla = std::make_unique<TTable>();
    m_tabla->setDatabase(m_db.get());
    m_tabla->setTableName(QStringLiteral("Prueba.DAT"));
    m_tabla->open();
    m_tabla->fieldByName("KM")->setDisplayFormat(Formato_Km);
    m_tabla->fieldByName("IMPORTE")->setDisplayFormat(Formato_Km);
    m_tabla->fieldByName("PRECIO")->setDisplayFormat(QStringLiteral("###.###.###,##"));
    m_tabla->fieldByName("PRECIO")->setCurrency(true);
    m_ds = std::make_unique<TDataSource>(m_tabla.get());

    m_dlg = std::make_unique<QDialog>();
    auto fuera = new QVBoxLayout(m_dlg.get());
    m_panel = new QWidget(m_dlg.get());
    m_panel->setObjectName(QStringLiteral("PnlDatos"));
    fuera->addWidget(m_panel);
    auto boton = new QPushButton(QStringLiteral("&Aceptar"), m_dlg.get());
    boton->setObjectName(QStringLiteral("BtnAceptar"));
    fuera->addWidget(boton);

    auto capa = new QVBoxLayout(m_panel);
    auto nuevo = [&](QWidget *w, const char *nombre) {
        w->setObjectName(QLatin1String(nombre));
        capa->addWidget(w);
        return w;
    };
    nuevo(new QLineEdit(m_panel), "EditNombre");
    static_cast<QLineEdit *>(nuevo(new QLineEdit(m_panel), "EditSoloLectura"))->setReadOnly(true);
    nuevo(new QLineEdit(m_panel), "EditPropio")->setProperty(Propiedad_OnEnter, true);
    nuevo(new QComboBox(m_panel), "CBLista");
    nuevo(new CampoEnlazado(m_tabla->fieldByName("KM"), m_ds.get(), m_panel), "DBEditKm");
    nuevo(new CampoEnlazado(m_tabla->fieldByName("IMPORTE"), m_ds.get(), m_panel), "DBEditImporte");
    nuevo(new CampoEnlazado(m_tabla->fieldByName("PRECIO"), m_ds.get(), m_panel), "DBEditPrecio");
    nuevo(new CampoEnlazado(m_tabla->fieldByName("NOMBRE"), m_ds.get(), m_panel), "DBEditNombre");
    auto soloLectura = nuevo(new CampoEnlazado(m_tabla->fieldByName("NOMBRE"), m_ds.get(), m_panel), "DBEditFijo");
    static_cast<QLineEdit *>(soloLectura)->setReadOnly(true);
    auto lista = static_cast<QListWidget *>(nuevo(new QListWidget(m_panel), "CLBTareas"));
    for (const char *t : {"Aceite", "Filtro"}) {
        auto item = new QListWidgetItem(QLatin1String(t), lista);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    auto grupo = static_cast<QGroupBox *>(nuevo(new QGroupBox(QStringLiteral("Otros"), m_panel), "GBOtros"));
    auto capaGrupo = new QVBoxLayout(grupo);
    auto enGrupo = new QLineEdit(grupo);
    enGrupo->setObjectName(QStringLiteral("EditGrupo"));
    capaGrupo->addWidget(enGrupo);

    Preparar_Campos(m_panel);
    m_dlg->show();
    m_dlg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
    enfocar(boton);
}

void TstResalte::cleanup()
{
    m_dlg.reset();
    m_ds.reset();
    m_tabla.reset();
    m_db.reset();
    Clase_Aux().Fecha_Valida = true;
}

void TstResalte::resalte_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("resaltado");
    QTest::newRow("texto") << "EditNombre" << true;
    QTest::newRow("solo lectura") << "EditSoloLectura" << false;
    QTest::newRow("con manejador propio") << "EditPropio" << false;
    QTest::newRow("lista desplegable") << "CBLista" << true;
    QTest::newRow("dentro de un grupo") << "EditGrupo" << true;
    QTest::newRow("campo enlazado de solo lectura") << "DBEditFijo" << false;
    QTest::newRow("botón") << "BtnAceptar" << false;
}

void TstResalte::resalte()
{
    QFETCH(QString, control);
    QFETCH(bool, resaltado);
    m_tabla->append(); // the record is being added
    auto w = m_dlg->findChild<QWidget *>(control);
    QVERIFY(w);
    const QColor antes = w->palette().color(rol(w));
    QVERIFY(antes != Color_Resalte);
    enfocar(w);
    QVERIFY(w->hasFocus());
    QCOMPARE(w->palette().color(rol(w)) == Color_Resalte, resaltado);
    enfocar(hijo<QPushButton>("BtnAceptar"));
    QCOMPARE(w->palette().color(rol(w)), antes);
}

void TstResalte::estadoDeLaTabla_data()
{
    QTest::addColumn<QString>("estado");
    QTest::addColumn<bool>("resaltado");
    QTest::newRow("consultando") << "consulta" << false;
    QTest::newRow("añadiendo") << "alta" << true;
    QTest::newRow("panel desactivado al borrar") << "borrado" << false;
}

void TstResalte::estadoDeLaTabla()
{
    QFETCH(QString, estado);
    QFETCH(bool, resaltado);
    if (estado == "alta")
        m_tabla->append();
    auto campo = hijo<QLineEdit>("DBEditNombre");
    auto texto = hijo<QLineEdit>("EditNombre");
    if (estado == "borrado") {
        m_panel->setEnabled(false);
        // A disabled control takes no focus; its handlers are asked directly.
        Clase_Aux().Resaltar_Control(texto);
        QVERIFY(texto->palette().color(QPalette::Base) != Color_Resalte);
        return;
    }
    enfocar(campo);
    QCOMPARE(campo->palette().color(QPalette::Base) == Color_Resalte, resaltado);
    enfocar(texto);
    QVERIFY(campo->palette().color(QPalette::Base) != Color_Resalte);
}

void TstResalte::formatoSuspendido_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<bool>("suspendido");
    QTest::newRow("entero") << "DBEditKm" << "KM" << true;
    QTest::newRow("real") << "DBEditImporte" << "IMPORTE" << true;
    QTest::newRow("moneda") << "DBEditPrecio" << "PRECIO" << false;
}

void TstResalte::formatoSuspendido()
{
    QFETCH(QString, control);
    QFETCH(QString, campo);
    QFETCH(bool, suspendido);
    m_tabla->append();
    TField *f = m_tabla->fieldByName(campo);
    const QString formato = f->displayFormat();
    auto w = static_cast<CampoEnlazado *>(m_dlg->findChild<QLineEdit *>(control));
    enfocar(w);
    QCOMPARE(f->displayFormat().isEmpty(), suspendido);
    // The control showed its text again without the format.
    QCOMPARE(w->formatos.contains(QString()), suspendido);
    enfocar(hijo<QLineEdit>("EditNombre"));
    QCOMPARE(f->displayFormat(), formato);
    if (suspendido)
        QCOMPARE(w->formatos.last(), formato);
}

void TstResalte::formatoVuelveSiSeDestruye()
{
    m_tabla->append();
    TField *f = m_tabla->fieldByName("KM");
    enfocar(hijo<QLineEdit>("DBEditKm"));
    QVERIFY(f->displayFormat().isEmpty());
    // The dialog goes away with the focus still in the field; the field stays.
    m_dlg.reset();
    QCOMPARE(f->displayFormat(), Formato_Km);
}

void TstResalte::fechaRechazadaDevuelveElFoco()
{
    m_tabla->append();
    auto campo = hijo<QLineEdit>("EditNombre");
    auto otro = hijo<QLineEdit>("EditGrupo");
    enfocar(campo);
    Clase_Aux().Fecha_Valida = false; // the date typed here was refused
    enfocar(otro);
    QTRY_VERIFY(campo->hasFocus());
    QVERIFY(Clase_Aux().Fecha_Valida);
    QCOMPARE(campo->palette().color(QPalette::Base), Color_Resalte);
    QVERIFY(otro->palette().color(QPalette::Base) != Color_Resalte);
}

void TstResalte::listaDeMarcasPierdeSeleccion()
{
    auto lista = hijo<QListWidget>("CLBTareas");
    enfocar(lista);
    lista->setCurrentRow(1);
    QCOMPARE(lista->selectedItems().size(), 1);
    enfocar(hijo<QLineEdit>("EditNombre"));
    QVERIFY(lista->selectedItems().isEmpty());
}

QTEST_MAIN(TstResalte)
#include "tst_resalte.moc"
