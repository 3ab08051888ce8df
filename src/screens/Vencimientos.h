// The fleet overview: every vehicle's overdue and coming maintenance in one
// window, filtered, sorted and kept up to date while other windows change the
// records. Modeless, one at a time (Abrir_Vencimientos).
#pragma once

#include "FormBase.h"
#include "VencimientosFlota.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QDateTime>
#include <QSpinBox>
#include <QString>

#include <functional>
#include <vector>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class QTimer;

// Colours of the rows: overdue and not yet due as the maintenance window paints
// its due boxes; the coming ones lighter, orange on a pale yellow ground, so
// that they stand apart by lightness and ground as well as by hue.
inline const QColor Color_Vencida{128, 0, 0};
inline const QColor Color_Al_Dia{0, 0, 128};
inline const QColor Color_Proxima{163, 82, 0};
inline const QColor Fondo_Proxima{255, 246, 213};

// The rows of the overview: every known due reading of the fleet, of which the
// state filter and the text narrow the ones shown, in the order of one column.
class TModeloVencimientos : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum TColumna { Col_Matricula, Col_Marca, Col_Modelo, Col_Km_Actuales, Col_Tarea, Col_Km_Proximo,
                    Col_Km_Restantes, Num_Columnas };
    enum TMostrar { Mostrar_Vencidas, Mostrar_Vencidas_Proximas, Mostrar_Todas };
    // data() of any column gives the row's tEstadoVencimiento under this role.
    static constexpr int Rol_Estado = Qt::UserRole + 1;

    explicit TModeloVencimientos(QObject *parent = nullptr);

    void Poner_Flota(std::vector<tVehiculoVencimientos> flota);
    void Poner_Margen(qint32 margen);
    void Poner_Mostrar(TMostrar mostrar);
    // Plate, brand or model holding `texto` (any case), taken literally.
    void Poner_Texto(const QString &texto);

    qint32 Margen() const { return m_margen; }
    TMostrar Mostrar() const { return m_mostrar; }
    // Over the whole fleet, whatever is shown.
    int Vencidas() const { return m_vencidas; }
    int Proximas() const { return m_proximas; }
    int Total_Filas() const { return int(m_filas.size()); }

    // What identifies a row across recomputations: its vehicle and task.
    struct TClave
    {
        QString Matricula;
        int Tarea = -1;
    };
    TClave Clave(int fila) const;
    int Fila(const TClave &clave) const; // -1 when not shown
    const tFilaVencimiento &Vencimiento(int fila) const { return m_filas[std::size_t(m_visibles[std::size_t(fila)])]; }
    const tVehiculoVencimientos &Vehiculo(int fila) const
    {
        return m_flota[std::size_t(Vencimiento(fila).Vehiculo)];
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void Clasificar();  // states and counts from the margin
    void Rangos();      // the vehicles' places in the order of each text column
    void Ordenar();     // every row, in the order of the sort column
    void Coincidencias(bool soloLasQueYa);
    void Filtrar();     // the rows shown, in that order

    std::vector<tVehiculoVencimientos> m_flota;
    std::vector<tFilaVencimiento> m_filas;
    std::vector<int> m_rangoMatricula, m_rangoMarca, m_rangoModelo; // by vehicle
    std::vector<int> m_orden;
    std::vector<int> m_visibles;
    std::vector<char> m_coincide; // by vehicle
    qint32 m_margen = Margen_Proximo_Predeterminado;
    TMostrar m_mostrar = Mostrar_Vencidas_Proximas;
    QString m_texto;
    int m_columna = Col_Km_Restantes;
    Qt::SortOrder m_sentido = Qt::AscendingOrder;
    int m_vencidas = 0, m_proximas = 0;
};

// A number of kilometres typed and shown in the program's own format ("1.000 km").
class tEditKm : public QSpinBox
{
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;

protected:
    QString textFromValue(int valor) const override;
    int valueFromText(const QString &texto) const override;
    QValidator::State validate(QString &texto, int &pos) const override;
    void fixup(QString &texto) const override;

private:
    QString Numero(const QString &texto) const;
};

class TFormVencimientos : public tFormBase
{
    Q_OBJECT
public:
    explicit TFormVencimientos(QWidget *parent = nullptr);
    ~TFormVencimientos() override;

    // The window that is open, or nullptr.
    static TFormVencimientos *Instancia();

    QFrame *PnlFiltros;
    QRadioButton *RBVencidas;
    QRadioButton *RBVencidasProximas;
    QRadioButton *RBTodas;
    QLabel *LblMargen;
    tEditKm *EditMargen;
    QLabel *LblBuscar;
    QLineEdit *EditBuscar;
    QTableView *GridVencimientos;
    QLabel *LblLeyenda;
    QLabel *LblFilas;
    QPushButton *BtnImprimir;
    QPushButton *BtnCerrar;
    TModeloVencimientos *Modelo;

    // Computes the fleet's readings afresh and shows them, keeping the selected
    // row when it is still there. Runs by itself shortly after a change of the
    // records is heard of; nothing is computed while the tables are closed.
    void Recalcular();
    bool Recalculo_Pendiente() const;
    // The shown row of a vehicle and task, or -1.
    int Fila(const QString &matricula, int tarea) const;

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;
    void changeEvent(QEvent *evento) override;

private slots:
    void RBMostrarClick();
    void EditMargenChange(int valor);
    void EditBuscarChange(const QString &texto);
    void GridVencimientosDblClick(const QModelIndex &indice);
    void BtnImprimirClick();
    void BtnCerrarClick();
    void Datos_Cambiados();

private:
    void Crear_Controles();
    void Vigilar_Tablas();
    void Actualizar_Titulo();
    // Runs `cambio` on the model and selects again the row that was selected.
    void Conservar_Seleccion(const std::function<void()> &cambio);
    // Size and time of the table files the rows come from, to learn of changes
    // made by other programs.
    QList<QPair<qint64, QDateTime>> Sellos() const;

    QTimer *m_recalculo;
    QList<QPair<qint64, QDateTime>> m_sellos;
    // The row the user chose last: chosen again when a filter or a change
    // shows it once more.
    TModeloVencimientos::TClave m_elegida;
    bool m_cambiando = false; // the model is being reset: what the view does is not the user's choice
    bool m_avisoMargen = false; // the margin could not be saved, and the user was told
    bool m_imprimiendo = false;
};
