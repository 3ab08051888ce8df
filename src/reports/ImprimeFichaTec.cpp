#include "ImprimeFichaTec.h"

#include "DataModulo.h"
#include "PiezasInforme.h"
#include "Table.h"

using namespace PiezasInforme;

namespace {

struct TFilaFicha
{
    const char *Etiqueta; // empty: no label, no value
    const char *Campo;
    double Puntos;        // of the label
};

constexpr double kPrimeraFila = 15.3, kEntreFilas = 5.1;
constexpr double kFinEtiquetaIzq = 37.0, kValorIzq = 38.9;
constexpr double kFinEtiquetaDer = 134.0, kValorDer = 136.0;
constexpr double kAnchoBanda = 190.0;

// Rows 1 to 17. The first two of the left column carry the labels "Marca y
// Modelo" and "Tipo" with their own values, as the sheet's editor pairs them;
// the plate heads the column in a row of its own above them, so the plate, the
// brand and model and the type all appear on the sheet.
const TFilaFicha kIzquierda[] = {
    {"Marca y Modelo", "MARCAMODELO", 9},
    {"Tipo", "TIPO", 9},
    {"Variante", "VARIANTE", 9},
    {"Denomin. Comercial", "DENOMINACIONCOM", 9},
    {"Tara(Kg)", "TARA", 9},
    {"MTMA/MMA 1º E (Kg)", "MTMA_MMA1E", 9},
    {"MTMA/MMA 2º E (Kg)", "MTMA_MMA2E", 9},
    {"MTMA/MMA 3º E (Kg)", "MTMA_MMA3E", 9},
    {"MTMA/MMA 4º E (Kg)", "MTMA_MMA4E", 9},
    {"MMR S/F, C/F (Kg)", "MMR", 9},
    {"Neumáticos", "NEUMATICOS", 10},
    {"Nº Asientos", "NUMASIENTOS", 10},
    {"Volumen Bodega (cc)", "VOLBODEGA", 10},
    {"Depósito Aceite (L)", "CARTER", 10},
    {"Depósito Combust. (L)", "COMBUSTIBLE", 9},
    {"Bateria", "BATERIA", 9},
};

const TFilaFicha kDerecha[] = {
    {"Clase", "CLASE", 9},
    {"Altura total (mm)", "ALTURA", 9},
    {"Anchura total (mm)", "ANCHURA", 9},
    {"Via ant./post. (mm)", "VIAANT_POST", 9},
    {"Long. total (mm)", "LONGITUD", 9},
    {"Voladizo post. (mm)", "VOLADIZOPOST", 9},
    {"Distancia eje 1º/2º (mm)", "DISTANCIA12E", 9},
    {"Distancia eje 2º/3º (mm)", "DISTANCIA23E", 9},
    {"Distancia eje 3º/4º (mm)", "DISTANCIA34E", 9},
    {"Distancia 5º rueda/ult (mm)", "DISTANCIA5R", 9},
    {"Motor marca", "MARCAMOTOR", 9},
    {"Motor tipo", "TIPOMOTOR", 9},
    {"Nº Cilindros/Cilindrada (cc) ", "CILINDRADA", 9},
    {"Potencia fiscal/real (C.V.F./kW)", "POTENCIA_F_R", 9},
    {"Liquido refrigerante (L)", "REFRIGERANTE", 9},
    {"Caja de cambios (L)", "CAJA", 9},
    {"Diferencial (L)", "DIFERENCIAL", 9},
};

// A label right-aligned to end at `fin`, and its value from `valor` to `hasta`.
void Fila(TReportBand &banda, const QString &sufijo, const QString &etiqueta, double puntos, const QString &campo,
          double arriba, double fin, double valor, double hasta)
{
    TReportElement e = Text_Element(QStringLiteral("Etiqueta") + sufijo, etiqueta, 0, arriba, fin, 0);
    e.Alignment = Qt::AlignRight;
    e.Font = Arial(puntos);
    banda.Elements.push_back(e);
    banda.Elements.push_back(Campo(QStringLiteral("Valor") + sufijo, QStringLiteral("TableFichaTec.") + campo, valor,
                                   arriba, hasta - valor, Arial(9, true)));
}

} // namespace

TFormInforFichaTec::TFormInforFichaTec()
{
    TReport &r = QrInforFichaTec;
    r.Name = QStringLiteral("QrInforFichaTec");
    r.Title = QString();
    r.Master = QStringLiteral("TableFichaTec");
    r.Orientation = TOrientation::Portrait;
    r.MarginTop = r.MarginBottom = r.MarginLeft = r.MarginRight = 10;
    r.PageHeaderOnFirstPage = true;
    r.PrintIfEmpty = true;
    r.Font = Arial(10);

    TReportBand hoja = Banda(QStringLiteral("ColumnHeaderBand1"), TBandKind::ColumnHeader, 103.7);
    TReportElement titulo = Texto(QStringLiteral("QRLabel1"), QStringLiteral("FICHA TÉCNICA"), 0, 3.4, Arial(10, true));
    titulo.CenterInBand = true;
    hoja.Elements.push_back(titulo);

    // A left value may run up to the label beside it in the right column.
    auto hastaDerecha = [](int fila) {
        if (fila < 0 || fila >= int(std::size(kDerecha)))
            return kAnchoBanda;
        const TFilaFicha &d = kDerecha[fila];
        return kFinEtiquetaDer - Ancho_Mm(QString::fromUtf8(d.Etiqueta), Arial(d.Puntos)) - 1.5;
    };
    Fila(hoja, QStringLiteral("Matricula"), QStringLiteral("Matrícula"), 9, QStringLiteral("MATRICULA"),
         kPrimeraFila - kEntreFilas, kFinEtiquetaIzq, kValorIzq, hastaDerecha(-1));
    for (int i = 0; i < int(std::size(kIzquierda)); ++i) {
        const TFilaFicha &f = kIzquierda[i];
        Fila(hoja, QString::number(i + 1) + QStringLiteral("Izq"), QString::fromUtf8(f.Etiqueta), f.Puntos,
             QString::fromLatin1(f.Campo), kPrimeraFila + i * kEntreFilas, kFinEtiquetaIzq, kValorIzq,
             hastaDerecha(i));
    }
    for (int i = 0; i < int(std::size(kDerecha)); ++i) {
        const TFilaFicha &f = kDerecha[i];
        Fila(hoja, QString::number(i + 1) + QStringLiteral("Der"), QString::fromUtf8(f.Etiqueta), f.Puntos,
             QString::fromLatin1(f.Campo), kPrimeraFila + i * kEntreFilas, kFinEtiquetaDer, kValorDer, kAnchoBanda);
    }
    r.Bands.push_back(hoja);
}

std::unique_ptr<TFormInforFichaTec> Crear_Informe_Ficha_Tec()
{
    return std::make_unique<TFormInforFichaTec>();
}

bool Preparar_Ficha_Tecnica(TModuloDatos &Modulo)
{
    return Modulo.TableFichaTec->active() && Modulo.TableFichaTec->recordCount() > 0;
}
