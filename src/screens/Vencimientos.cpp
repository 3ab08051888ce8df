// The fleet overview window and its rows.
#include "Vencimientos.h"

#include "Avisos.h"
#include "DataModulo.h"
#include "Excepciones.h"
#include "Formatos.h"
#include "InformeVencimientos.h"
#include "ListaBase.h"
#include "Pantallas.h"
#include "Table.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace {

const QString kTitulo = QStringLiteral("Vencimientos de la flota");

QPointer<TFormVencimientos> &Abierta()
{
    static QPointer<TFormVencimientos> ventana;
    return ventana;
}

// The files the rows are read from.
const QStringList &Ficheros_Vigilados()
{
    static const QStringList f{QStringLiteral("Matriculas.DAT"), QStringLiteral("Mantenimiento.DAT"),
                               QStringLiteral("KmCambios.DAT"), QStringLiteral("Marcas.DAT"),
                               QStringLiteral("Modelos.DAT")};
    return f;
}

QString Plural(int n, const char *singular, const char *plural)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? singular : plural);
}

} // namespace

// ---------------------------------------------------------------------------
// The rows

TModeloVencimientos::TModeloVencimientos(QObject *parent) : QAbstractTableModel(parent) {}

void TModeloVencimientos::Poner_Flota(std::vector<tVehiculoVencimientos> flota)
{
    beginResetModel();
    m_flota = std::move(flota);
    m_filas = Filas_Vencimientos(m_flota, m_margen);
    Clasificar();
    Rangos();
    Ordenar();
    Coincidencias(false);
    Filtrar();
    endResetModel();
}

void TModeloVencimientos::Poner_Margen(qint32 margen)
{
    if (margen == m_margen)
        return;
    beginResetModel();
    m_margen = margen;
    Clasificar();
    Filtrar();
    endResetModel();
}

void TModeloVencimientos::Poner_Mostrar(TMostrar mostrar)
{
    if (mostrar == m_mostrar)
        return;
    beginResetModel();
    m_mostrar = mostrar;
    Filtrar();
    endResetModel();
}

void TModeloVencimientos::Poner_Texto(const QString &texto)
{
    if (texto == m_texto)
        return;
    // Typing on narrows: what did not hold the shorter text cannot hold the longer one.
    const bool estrechar = !m_texto.isEmpty() && texto.contains(m_texto, Qt::CaseInsensitive);
    beginResetModel();
    m_texto = texto;
    Coincidencias(estrechar);
    Filtrar();
    endResetModel();
}

void TModeloVencimientos::Clasificar()
{
    m_vencidas = m_proximas = 0;
    for (tFilaVencimiento &f : m_filas) {
        const tVehiculoVencimientos &v = m_flota[std::size_t(f.Vehiculo)];
        f.Estado = Estado_Vencimiento(f.Km_Proximo, v.Km_Actuales, m_margen);
        m_vencidas += f.Estado == tEstadoVencimiento::Vencida;
        m_proximas += f.Estado == tEstadoVencimiento::Proxima;
    }
}

void TModeloVencimientos::Rangos()
{
    // Rows are sorted by these numbers: a text is compared once per vehicle, not
    // once per comparison of two rows.
    auto rangos = [this](QString tVehiculoVencimientos::*texto, std::vector<int> &rango) {
        std::vector<int> orden(m_flota.size());
        std::iota(orden.begin(), orden.end(), 0);
        auto comparar = [&](int a, int b) {
            return QString::compare(m_flota[std::size_t(a)].*texto, m_flota[std::size_t(b)].*texto, Qt::CaseInsensitive);
        };
        std::stable_sort(orden.begin(), orden.end(), [&](int a, int b) { return comparar(a, b) < 0; });
        rango.assign(m_flota.size(), 0);
        for (std::size_t i = 1; i < orden.size(); ++i)
            rango[std::size_t(orden[i])] = rango[std::size_t(orden[i - 1])] + (comparar(orden[i - 1], orden[i]) != 0);
    };
    rangos(&tVehiculoVencimientos::Matricula, m_rangoMatricula);
    rangos(&tVehiculoVencimientos::Marca, m_rangoMarca);
    rangos(&tVehiculoVencimientos::Modelo, m_rangoModelo);
}

void TModeloVencimientos::Ordenar()
{
    static const std::array<int, Num_Tareas> rangoTarea = [] {
        std::array<int, Num_Tareas> r{};
        for (int i = 0; i < Num_Tareas; ++i)
            for (int j = 0; j < Num_Tareas; ++j)
                r[std::size_t(i)] += QString::compare(Nombre_Tarea_Vencimiento(j), Nombre_Tarea_Vencimiento(i),
                                                      Qt::CaseInsensitive) < 0;
        return r;
    }();
    auto clave = [&](const tFilaVencimiento &f) -> qint64 {
        const std::size_t v = std::size_t(f.Vehiculo);
        switch (m_columna) {
        case Col_Matricula: return m_rangoMatricula[v];
        case Col_Marca: return m_rangoMarca[v];
        case Col_Modelo: return m_rangoModelo[v];
        case Col_Km_Actuales: return m_flota[v].Km_Actuales;
        case Col_Tarea: return rangoTarea[std::size_t(f.Tarea)];
        case Col_Km_Proximo: return f.Km_Proximo;
        default: return f.Km_Restantes;
        }
    };
    std::vector<qint64> claves(m_filas.size());
    for (std::size_t i = 0; i < m_filas.size(); ++i)
        claves[i] = clave(m_filas[i]);
    m_orden.resize(m_filas.size());
    std::iota(m_orden.begin(), m_orden.end(), 0);
    const bool descendente = m_sentido == Qt::DescendingOrder;
    // Ties go by kilometres left, then plate and task, always ascending: the
    // order is the same every time.
    std::sort(m_orden.begin(), m_orden.end(), [&](int a, int b) {
        const qint64 ka = claves[std::size_t(a)], kb = claves[std::size_t(b)];
        if (ka != kb)
            return descendente ? ka > kb : ka < kb;
        const tFilaVencimiento &fa = m_filas[std::size_t(a)], &fb = m_filas[std::size_t(b)];
        if (fa.Km_Restantes != fb.Km_Restantes)
            return fa.Km_Restantes < fb.Km_Restantes;
        const int ma = m_rangoMatricula[std::size_t(fa.Vehiculo)], mb = m_rangoMatricula[std::size_t(fb.Vehiculo)];
        if (ma != mb)
            return ma < mb;
        return a < b;
    });
}

void TModeloVencimientos::Coincidencias(bool soloLasQueYa)
{
    m_coincide.resize(m_flota.size(), 1);
    for (std::size_t i = 0; i < m_flota.size(); ++i) {
        if (soloLasQueYa && !m_coincide[i])
            continue;
        const tVehiculoVencimientos &v = m_flota[i];
        m_coincide[i] = m_texto.isEmpty() || v.Matricula.contains(m_texto, Qt::CaseInsensitive)
            || v.Marca.contains(m_texto, Qt::CaseInsensitive) || v.Modelo.contains(m_texto, Qt::CaseInsensitive);
    }
}

void TModeloVencimientos::Filtrar()
{
    m_visibles.clear();
    m_visibles.reserve(m_orden.size());
    for (int i : m_orden) {
        const tFilaVencimiento &f = m_filas[std::size_t(i)];
        if (!m_coincide[std::size_t(f.Vehiculo)])
            continue;
        if (m_mostrar == Mostrar_Vencidas && f.Estado != tEstadoVencimiento::Vencida)
            continue;
        if (m_mostrar == Mostrar_Vencidas_Proximas && f.Estado == tEstadoVencimiento::AlDia)
            continue;
        m_visibles.push_back(i);
    }
}

TModeloVencimientos::TClave TModeloVencimientos::Clave(int fila) const
{
    if (fila < 0 || fila >= rowCount())
        return {};
    return {Vehiculo(fila).Matricula, Vencimiento(fila).Tarea};
}

int TModeloVencimientos::Fila(const TClave &clave) const
{
    if (clave.Tarea < 0)
        return -1;
    for (int i = 0; i < rowCount(); ++i)
        if (Vencimiento(i).Tarea == clave.Tarea && Vehiculo(i).Matricula == clave.Matricula)
            return i;
    return -1;
}

int TModeloVencimientos::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_visibles.size());
}

int TModeloVencimientos::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Num_Columnas;
}

QVariant TModeloVencimientos::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= Num_Columnas)
        return QVariant();
    const tFilaVencimiento &f = Vencimiento(index.row());
    const tVehiculoVencimientos &v = m_flota[std::size_t(f.Vehiculo)];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Col_Matricula: return v.Matricula;
        case Col_Marca: return v.Marca;
        case Col_Modelo: return v.Modelo;
        case Col_Km_Actuales: return Formatos::Formatear_N(v.Km_Actuales, 0);
        case Col_Tarea: return Nombre_Tarea_Vencimiento(f.Tarea);
        case Col_Km_Proximo: return Formatos::Formatear_N(f.Km_Proximo, 0);
        case Col_Km_Restantes: return Formatos::Formatear_N(double(f.Km_Restantes), 0);
        }
        break;
    case Qt::TextAlignmentRole:
        if (index.column() == Col_Km_Actuales || index.column() >= Col_Km_Proximo)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    case Qt::ForegroundRole:
        switch (f.Estado) {
        case tEstadoVencimiento::Vencida: return Color_Vencida;
        case tEstadoVencimiento::Proxima: return Color_Proxima;
        case tEstadoVencimiento::AlDia: return Color_Al_Dia;
        }
        break;
    case Qt::BackgroundRole:
        if (f.Estado == tEstadoVencimiento::Proxima)
            return Fondo_Proxima;
        break;
    case Qt::ToolTipRole:
        switch (f.Estado) {
        case tEstadoVencimiento::Vencida:
            return QStringLiteral("Vencida hace %1 km").arg(Formatos::Formatear_N(-double(f.Km_Restantes), 0));
        case tEstadoVencimiento::Proxima:
            return QStringLiteral("Próxima: faltan %1 km").arg(Formatos::Formatear_N(double(f.Km_Restantes), 0));
        case tEstadoVencimiento::AlDia:
            return QStringLiteral("Faltan %1 km").arg(Formatos::Formatear_N(double(f.Km_Restantes), 0));
        }
        break;
    case Rol_Estado:
        return int(f.Estado);
    }
    return QVariant();
}

QVariant TModeloVencimientos::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    static const char *const titulos[Num_Columnas] = {"Matrícula", "Marca", "Modelo", "Km actuales",
                                                      "Tarea", "Próximo mant.", "Km restantes"};
    return section >= 0 && section < Num_Columnas ? QString::fromUtf8(titulos[section]) : QVariant();
}

void TModeloVencimientos::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= Num_Columnas || (column == m_columna && order == m_sentido))
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList antes = persistentIndexList();
    std::vector<TClave> claves;
    claves.reserve(std::size_t(antes.size()));
    for (const QModelIndex &i : antes)
        claves.push_back(Clave(i.row()));
    m_columna = column;
    m_sentido = order;
    Ordenar();
    Filtrar();
    QModelIndexList despues;
    for (int i = 0; i < antes.size(); ++i) {
        const int fila = Fila(claves[std::size_t(i)]);
        despues << (fila < 0 ? QModelIndex() : index(fila, antes[i].column()));
    }
    changePersistentIndexList(antes, despues);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// ---------------------------------------------------------------------------
// Kilometres in the program's format

QString tEditKm::Numero(const QString &texto) const
{
    QString t = texto;
    if (!suffix().isEmpty() && t.endsWith(suffix()))
        t.chop(suffix().size());
    return t.trimmed();
}

QString tEditKm::textFromValue(int valor) const
{
    return Formatos::Formatear_N(valor, 0);
}

int tEditKm::valueFromText(const QString &texto) const
{
    qint32 v = 0;
    if (!Formatos::Leer_Entero(Numero(texto), &v))
        return value();
    return qBound(minimum(), v, maximum());
}

QValidator::State tEditKm::validate(QString &texto, int &) const
{
    const QString t = Numero(texto);
    if (t.isEmpty())
        return QValidator::Intermediate;
    qint32 v = 0;
    if (Formatos::Leer_Entero(t, &v))
        return v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Invalid;
    // Digits with the thousands points still being typed ("1.50" on the way to "1.500").
    for (const QChar c : t)
        if (!c.isDigit() && c != QLatin1Char('.'))
            return QValidator::Invalid;
    return QValidator::Intermediate;
}

void tEditKm::fixup(QString &texto) const
{
    texto = textFromValue(value()) + suffix();
}

// ---------------------------------------------------------------------------
// The window

TFormVencimientos::TFormVencimientos(QWidget *parent) : tFormBase(parent)
{
    setObjectName(QStringLiteral("FormVencimientos"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    setModal(false);
    setProperty(Propiedad_Ayuda, 230);
    Abierta() = this;

    m_recalculo = new QTimer(this);
    m_recalculo->setSingleShot(true);
    m_recalculo->setInterval(0);
    connect(m_recalculo, &QTimer::timeout, this, &TFormVencimientos::Recalcular);

    Crear_Controles();
    Modelo->Poner_Margen(Leer_Margen_Proximo());
    EditMargen->setValue(Modelo->Margen());
    connect(EditMargen, &QSpinBox::valueChanged, this, &TFormVencimientos::EditMargenChange);
    Vigilar_Tablas();
    Recalcular();
    GridVencimientos->setFocus();
}

TFormVencimientos::~TFormVencimientos()
{
    if (Abierta() == this)
        Abierta() = nullptr;
}

TFormVencimientos *TFormVencimientos::Instancia()
{
    return Abierta();
}

void TFormVencimientos::Crear_Controles()
{
    resize(900, 560);

    PnlFiltros = new QFrame(this);
    PnlFiltros->setObjectName(QStringLiteral("PnlFiltros"));
    auto *filtros = new QHBoxLayout(PnlFiltros);
    filtros->setContentsMargins(0, 0, 0, 0);
    auto radio = [this, filtros](const char *nombre, const QString &texto) {
        auto *r = new QRadioButton(texto, PnlFiltros);
        r->setObjectName(QString::fromLatin1(nombre));
        filtros->addWidget(r);
        return r;
    };
    RBVencidas = radio("RBVencidas", QStringLiteral("Sólo &vencidas"));
    RBVencidasProximas = radio("RBVencidasProximas", QStringLiteral("Vencidas y &próximas"));
    RBTodas = radio("RBTodas", QStringLiteral("&Todas"));
    RBVencidasProximas->setChecked(true);
    auto *grupo = new QButtonGroup(this);
    for (QRadioButton *r : {RBVencidas, RBVencidasProximas, RBTodas}) {
        grupo->addButton(r);
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                RBMostrarClick();
        });
    }
    filtros->addSpacing(16);
    LblMargen = new QLabel(QStringLiteral("Próximas a &menos de"), PnlFiltros);
    LblMargen->setObjectName(QStringLiteral("LblMargen"));
    EditMargen = new tEditKm(PnlFiltros);
    EditMargen->setObjectName(QStringLiteral("EditMargen"));
    EditMargen->setRange(0, Margen_Proximo_Maximo);
    EditMargen->setSingleStep(500);
    EditMargen->setSuffix(QStringLiteral(" km"));
    EditMargen->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    EditMargen->setToolTip(QStringLiteral("Kilómetros antes del vencimiento en que una tarea pasa a próxima "
                                          "(0: ninguna)"));
    LblMargen->setBuddy(EditMargen);
    filtros->addWidget(LblMargen);
    filtros->addWidget(EditMargen);
    filtros->addSpacing(16);
    LblBuscar = new QLabel(QStringLiteral("&Buscar:"), PnlFiltros);
    LblBuscar->setObjectName(QStringLiteral("LblBuscar"));
    EditBuscar = new QLineEdit(PnlFiltros);
    EditBuscar->setObjectName(QStringLiteral("EditBuscar"));
    EditBuscar->setPlaceholderText(QStringLiteral("Matrícula, marca o modelo"));
    EditBuscar->setClearButtonEnabled(true);
    LblBuscar->setBuddy(EditBuscar);
    filtros->addWidget(LblBuscar);
    filtros->addWidget(EditBuscar, 1);

    Modelo = new TModeloVencimientos(this);
    Modelo->setObjectName(QStringLiteral("Modelo"));
    GridVencimientos = new QTableView(this);
    GridVencimientos->setObjectName(QStringLiteral("GridVencimientos"));
    GridVencimientos->setModel(Modelo);
    GridVencimientos->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridVencimientos->setSelectionMode(QAbstractItemView::SingleSelection);
    GridVencimientos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridVencimientos->setWordWrap(false);
    GridVencimientos->setTabKeyNavigation(false);
    GridVencimientos->setToolTip(QString());
    // Thousands of rows: every row the same height, no measuring of contents.
    QHeaderView *filas = GridVencimientos->verticalHeader();
    filas->hide();
    filas->setSectionResizeMode(QHeaderView::Fixed);
    filas->setDefaultSectionSize(GridVencimientos->fontMetrics().height() + 6);
    QHeaderView *columnas = GridVencimientos->horizontalHeader();
    columnas->setSectionResizeMode(QHeaderView::Interactive);
    columnas->setHighlightSections(false);
    const int anchos[TModeloVencimientos::Num_Columnas] = {100, 120, 120, 100, 170, 110, 110};
    for (int c = 0; c < TModeloVencimientos::Num_Columnas; ++c)
        columnas->resizeSection(c, anchos[c]);
    columnas->setSortIndicator(TModeloVencimientos::Col_Km_Restantes, Qt::AscendingOrder);
    GridVencimientos->setSortingEnabled(true);
    GridVencimientos->installEventFilter(this);
    connect(GridVencimientos, &QTableView::doubleClicked, this, &TFormVencimientos::GridVencimientosDblClick);
    connect(GridVencimientos->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &actual) {
                if (!m_cambiando && actual.isValid())
                    m_elegida = Modelo->Clave(actual.row());
            });
    connect(EditBuscar, &QLineEdit::textChanged, this, &TFormVencimientos::EditBuscarChange);

    LblLeyenda = new QLabel(this);
    LblLeyenda->setObjectName(QStringLiteral("LblLeyenda"));
    LblLeyenda->setTextFormat(Qt::RichText);
    LblLeyenda->setText(QStringLiteral("<span style=\"color:%1\">&#9632; Vencida</span>&nbsp;&nbsp;&nbsp;"
                                       "<span style=\"color:%2; background-color:%3\">&nbsp;&#9632; Próxima&nbsp;</span>"
                                       "&nbsp;&nbsp;&nbsp;<span style=\"color:%4\">&#9632; Al día</span>")
                            .arg(Color_Vencida.name(), Color_Proxima.name(), Fondo_Proxima.name(),
                                 Color_Al_Dia.name()));
    LblFilas = new QLabel(this);
    LblFilas->setObjectName(QStringLiteral("LblFilas"));
    BtnImprimir = new QPushButton(QStringLiteral("&Imprimir"), this);
    BtnImprimir->setObjectName(QStringLiteral("BtnImprimir"));
    BtnImprimir->setToolTip(QStringLiteral("Vista previa del informe de vencimientos"));
    BtnCerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    BtnCerrar->setObjectName(QStringLiteral("BtnCerrar"));
    // Enter belongs to the grid: it opens the vehicle, it never presses a button.
    for (QPushButton *b : {BtnImprimir, BtnCerrar}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(BtnImprimir, &QPushButton::clicked, this, &TFormVencimientos::BtnImprimirClick);
    connect(BtnCerrar, &QPushButton::clicked, this, &TFormVencimientos::BtnCerrarClick);

    auto *pie = new QHBoxLayout;
    pie->addWidget(LblLeyenda);
    pie->addSpacing(24);
    pie->addWidget(LblFilas);
    pie->addStretch(1);
    pie->addWidget(BtnImprimir);
    pie->addWidget(BtnCerrar);
    auto *columna = new QVBoxLayout(this);
    columna->addWidget(PnlFiltros);
    columna->addWidget(GridVencimientos, 1);
    columna->addLayout(pie);
}

// What the store tells of every post and delete through the module's tables is
// enough for this program's own changes: they all go through them. A change
// made by another program is seen by the size and time of the files when the
// window becomes active again.
void TFormVencimientos::Vigilar_Tablas()
{
    if (!ModuloDatos)
        return;
    for (TTable *t : {ModuloDatos->TableMatriculas, ModuloDatos->TableMantto, ModuloDatos->TableKmCambios,
                      ModuloDatos->TableMarcas, ModuloDatos->TableModelos}) {
        connect(t, &TTable::afterPost, this, &TFormVencimientos::Datos_Cambiados);
        connect(t, &TTable::afterDelete, this, &TFormVencimientos::Datos_Cambiados);
    }
    // Opened again after a backup or a restore: the files may be others.
    connect(ModuloDatos->TableMatriculas, &TTable::afterOpen, this, &TFormVencimientos::Datos_Cambiados);
}

void TFormVencimientos::Datos_Cambiados()
{
    // Once the handler that changed the records has finished, and once for
    // many changes in a row (a vehicle deleted with its records).
    m_recalculo->start();
}

bool TFormVencimientos::Recalculo_Pendiente() const
{
    return m_recalculo->isActive();
}

QList<QPair<qint64, QDateTime>> TFormVencimientos::Sellos() const
{
    QList<QPair<qint64, QDateTime>> r;
    if (!ModuloDatos)
        return r;
    const QDir carpeta(ModuloDatos->Carpeta_Datos());
    for (const QString &f : Ficheros_Vigilados()) {
        const QFileInfo i(carpeta.filePath(f));
        r << qMakePair(i.size(), i.lastModified());
    }
    return r;
}

void TFormVencimientos::Recalcular()
{
    m_recalculo->stop();
    // While the backup has the tables closed, nothing is read: the reopening brings a recomputation.
    if (!ModuloDatos || !ModuloDatos->TableMatriculas || !ModuloDatos->TableMatriculas->active())
        return;
    try {
        m_sellos = Sellos();
        std::vector<tVehiculoVencimientos> flota = Calcular_Vencimientos_Flota(*ModuloDatos->DbMaestro);
        Conservar_Seleccion([&] { Modelo->Poner_Flota(std::move(flota)); });
    } catch (...) {
        Excepcion.Tratar_Error(std::current_exception(), QStringLiteral("Error al calcular los vencimientos de la flota."));
    }
    Actualizar_Titulo();
}

void TFormVencimientos::changeEvent(QEvent *evento)
{
    tFormBase::changeEvent(evento);
    if (evento->type() == QEvent::ActivationChange && isActiveWindow() && !m_sellos.isEmpty() && Sellos() != m_sellos)
        Datos_Cambiados();
}

void TFormVencimientos::Conservar_Seleccion(const std::function<void()> &cambio)
{
    const int columna = qMax(0, GridVencimientos->currentIndex().column());
    m_cambiando = true;
    cambio();
    m_cambiando = false;
    const int fila = Modelo->Fila(m_elegida);
    if (fila < 0)
        return;
    const QModelIndex i = Modelo->index(fila, columna);
    m_cambiando = true;
    GridVencimientos->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect
                                                               | QItemSelectionModel::Rows);
    m_cambiando = false;
    GridVencimientos->scrollTo(i);
}

int TFormVencimientos::Fila(const QString &matricula, int tarea) const
{
    return Modelo->Fila({matricula, tarea});
}

void TFormVencimientos::Actualizar_Titulo()
{
    setWindowTitle(QStringLiteral("%1 (%2, %3)")
                       .arg(kTitulo, Plural(Modelo->Vencidas(), "vencida", "vencidas"),
                            Plural(Modelo->Proximas(), "próxima", "próximas")));
    LblFilas->setText(QStringLiteral("%1 de %2 tareas").arg(Modelo->rowCount()).arg(Modelo->Total_Filas()));
}

void TFormVencimientos::RBMostrarClick()
{
    const auto mostrar = RBVencidas->isChecked() ? TModeloVencimientos::Mostrar_Vencidas
                         : RBTodas->isChecked()  ? TModeloVencimientos::Mostrar_Todas
                                                 : TModeloVencimientos::Mostrar_Vencidas_Proximas;
    Conservar_Seleccion([&] { Modelo->Poner_Mostrar(mostrar); });
    Actualizar_Titulo();
}

void TFormVencimientos::EditMargenChange(int valor)
{
    Conservar_Seleccion([&] { Modelo->Poner_Margen(valor); });
    Actualizar_Titulo();
    if (!Guardar_Margen_Proximo(valor) && !m_avisoMargen) {
        m_avisoMargen = true;
        Aviso(QString(),
              QStringLiteral("No se ha podido guardar el margen en %1. Se aplica mientras el programa siga abierto.")
                  .arg(QDir::toNativeSeparators(Fichero_Ajustes())),
              avAtencion);
    }
}

void TFormVencimientos::EditBuscarChange(const QString &texto)
{
    Conservar_Seleccion([&] { Modelo->Poner_Texto(texto); });
    Actualizar_Titulo();
}

bool TFormVencimientos::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto == GridVencimientos && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent *>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            GridVencimientosDblClick(GridVencimientos->currentIndex());
            return true;
        }
    }
    return tFormBase::eventFilter(objeto, evento);
}

void TFormVencimientos::GridVencimientosDblClick(const QModelIndex &indice)
{
    if (!indice.isValid() || !ModuloDatos)
        return;
    const QString matricula = Modelo->Vehiculo(indice.row()).Matricula;
    try {
        TTable *vehiculos = ModuloDatos->TableMatriculas;
        if (!vehiculos->active() || !vehiculos->locate(QStringLiteral("MATRICULA"), matricula)) {
            Aviso(QString(), QStringLiteral("El vehículo %1 ya no está en la tabla de vehículos.").arg(matricula),
                  avAtencion);
            Recalcular();
            return;
        }
        Abrir_Mantenimiento(this);
    } catch (...) {
        Excepcion.Tratar_Error(std::current_exception(),
                               QStringLiteral("Error al abrir el mantenimiento del vehículo %1.").arg(matricula));
    }
}

void TFormVencimientos::BtnImprimirClick()
{
    // The preview keeps this call waiting until it closes: one at a time.
    if (m_imprimiendo || !ModuloDatos)
        return;
    m_imprimiendo = true;
    BtnImprimir->setEnabled(false);
    QPointer<TFormVencimientos> yo(this);
    try {
        Previsualizar_Vencimientos(*ModuloDatos->DbMaestro, Modelo->Margen());
    } catch (...) {
        Excepcion.Tratar_Error(std::current_exception(), QStringLiteral("Error al preparar el informe de vencimientos."));
    }
    if (!yo)
        return;
    m_imprimiendo = false;
    BtnImprimir->setEnabled(true);
}

void TFormVencimientos::BtnCerrarClick()
{
    close();
}

void Abrir_Vencimientos(QWidget *parent)
{
    TFormVencimientos *ventana = TFormVencimientos::Instancia();
    if (!ventana) {
        ventana = new TFormVencimientos(parent);
        ventana->show();
    } else if (ventana->isMinimized()) {
        ventana->showNormal();
    }
    ventana->raise();
    ventana->activateWindow();
}
