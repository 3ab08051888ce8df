#include "ImagenesVista.h"

#include <QCoreApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace {

constexpr int kLado = 20;
const QColor kTinta(0, 0, 128);
const QColor kPapel(255, 255, 255);
const QColor kBorde(64, 64, 64);

void Triangulo(QPainter &p, double x, bool izquierda)
{
    QPolygonF t;
    if (izquierda)
        t << QPointF(x + 6, 4) << QPointF(x, 10) << QPointF(x + 6, 16);
    else
        t << QPointF(x, 4) << QPointF(x + 6, 10) << QPointF(x, 16);
    p.drawPolygon(t);
}

void Hoja(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(kBorde, 1));
    p.setBrush(kPapel);
    p.drawRect(r);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    for (double y = r.top() + 3; y < r.bottom() - 1; y += 2.5)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void Lupa(QPainter &p, bool mas)
{
    p.setPen(QPen(kBorde, 1.6));
    p.setBrush(kPapel);
    p.drawEllipse(QRectF(2, 2, 11, 11));
    p.drawLine(QPointF(11.5, 11.5), QPointF(18, 18));
    p.setPen(QPen(kTinta, 1.6));
    p.drawLine(QPointF(5, 7.5), QPointF(10, 7.5));
    if (mas)
        p.drawLine(QPointF(7.5, 5), QPointF(7.5, 10));
}

void Impresora(QPainter &p)
{
    p.setPen(QPen(kBorde, 1));
    p.setBrush(kPapel);
    p.drawRect(QRectF(5.5, 2.5, 9, 6));
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(QRectF(2.5, 8.5, 15, 6));
    p.setBrush(kPapel);
    p.drawRect(QRectF(5.5, 12.5, 9, 5));
}

void Dibujar(QPainter &p, const QString &n)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kTinta);
    if (n == QLatin1String("Primera")) {
        p.drawRect(QRectF(4, 4, 2, 12));
        Triangulo(p, 7, true);
        Triangulo(p, 12, true);
    } else if (n == QLatin1String("Anterior")) {
        Triangulo(p, 7, true);
    } else if (n == QLatin1String("Siguiente")) {
        Triangulo(p, 7, false);
    } else if (n == QLatin1String("Ultima")) {
        Triangulo(p, 2, false);
        Triangulo(p, 7, false);
        p.drawRect(QRectF(14, 4, 2, 12));
    } else if (n == QLatin1String("HojaEntera")) {
        Hoja(p, QRectF(5.5, 2.5, 9, 15));
    } else if (n == QLatin1String("TamanoCompleto")) {
        Hoja(p, QRectF(1.5, 1.5, 17, 17));
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(9);
        f.setBold(true);
        p.setFont(f);
        p.setPen(kTinta);
        p.drawText(QRectF(0, 0, kLado, kLado), Qt::AlignCenter, QStringLiteral("1:1"));
    } else if (n == QLatin1String("AnchoPagina")) {
        Hoja(p, QRectF(3.5, 2.5, 13, 15));
        p.setPen(QPen(kTinta, 1.6));
        p.drawLine(QPointF(1, 10), QPointF(19, 10));
        p.drawLine(QPointF(1, 10), QPointF(4, 7));
        p.drawLine(QPointF(1, 10), QPointF(4, 13));
        p.drawLine(QPointF(19, 10), QPointF(16, 7));
        p.drawLine(QPointF(19, 10), QPointF(16, 13));
    } else if (n == QLatin1String("Reducir")) {
        Lupa(p, false);
    } else if (n == QLatin1String("Ampliar")) {
        Lupa(p, true);
    } else if (n == QLatin1String("Imprimir")) {
        Impresora(p);
    } else if (n == QLatin1String("Configurar")) {
        Impresora(p);
        p.setPen(QPen(kTinta, 1));
        p.setBrush(QColor(255, 210, 0));
        p.drawEllipse(QRectF(11.5, 0.5, 8, 8));
    } else if (n == QLatin1String("Guardar")) {
        p.setPen(QPen(kBorde, 1));
        p.setBrush(kTinta);
        p.drawRect(QRectF(2.5, 2.5, 15, 15));
        p.setBrush(kPapel);
        p.drawRect(QRectF(5.5, 2.5, 9, 6));
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(QRectF(5.5, 11.5, 9, 6));
    } else if (n == QLatin1String("Cargar")) {
        p.setPen(QPen(kBorde, 1));
        p.setBrush(QColor(230, 190, 80));
        QPainterPath carpeta;
        carpeta.moveTo(1.5, 5.5);
        carpeta.lineTo(7.5, 5.5);
        carpeta.lineTo(9.5, 7.5);
        carpeta.lineTo(18.5, 7.5);
        carpeta.lineTo(18.5, 16.5);
        carpeta.lineTo(1.5, 16.5);
        carpeta.closeSubpath();
        p.drawPath(carpeta);
    } else if (n == QLatin1String("Cerrar")) {
        p.setPen(QPen(QColor(128, 0, 0), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 5), QPointF(15, 15));
        p.drawLine(QPointF(15, 5), QPointF(5, 15));
    }
}

} // namespace

QIcon Imagen_Vista(const QString &nombre)
{
    static const QStringList conocidos{
        QStringLiteral("Primera"),     QStringLiteral("Anterior"),   QStringLiteral("Siguiente"),
        QStringLiteral("Ultima"),      QStringLiteral("HojaEntera"), QStringLiteral("TamanoCompleto"),
        QStringLiteral("AnchoPagina"), QStringLiteral("Reducir"),    QStringLiteral("Ampliar"),
        QStringLiteral("Configurar"),  QStringLiteral("Imprimir"),   QStringLiteral("Guardar"),
        QStringLiteral("Cargar"),      QStringLiteral("Cerrar")};
    if (!conocidos.contains(nombre))
        return QIcon();
    // Every preview window shows the same pictures: they are drawn once. They go
    // with the application, so that none outlives it.
    static QHash<QString, QIcon> hechas;
    if (const auto it = hechas.constFind(nombre); it != hechas.cend())
        return *it;
    if (hechas.isEmpty())
        qAddPostRoutine([] { hechas.clear(); });
    QPixmap pm(kLado, kLado);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    Dibujar(p, nombre);
    p.end();
    return *hechas.insert(nombre, QIcon(pm));
}
