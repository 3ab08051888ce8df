// Draws the program's pictures (main picture, button and menu pictures, About logo, the
// desktop icon) into resources/. Built only on request: cmake --build <dir> --target
// quelvaro-dibujos, then run it with the resources folder as its argument.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <cstdio>
#include <functional>

namespace {

using Dibujo = std::function<void(QPainter &)>; // paints in a 48 x 48 box

const QColor Azul(33, 97, 160), AzulOscuro(20, 60, 110), Teal(0, 128, 128);
const QColor Gris(120, 130, 140), GrisOscuro(60, 66, 74), GrisClaro(210, 214, 220);
const QColor Naranja(230, 140, 30), Rojo(200, 40, 40), Verde(40, 150, 70), Amarillo(245, 200, 40);

QPen Trazo(const QColor &c, qreal w = 2)
{
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Engranaje(QPainter &p, QPointF c, qreal r, int dientes, const QColor &color)
{
    QPainterPath Forma;
    for (int i = 0; i < dientes * 2; ++i) {
        const qreal a0 = (i) * M_PI / dientes, a1 = (i + 1) * M_PI / dientes;
        const qreal rr = (i % 2 == 0) ? r : r * 0.78;
        const QPointF p0 = c + QPointF(qCos(a0) * rr, qSin(a0) * rr);
        const QPointF p1 = c + QPointF(qCos(a1) * rr, qSin(a1) * rr);
        if (i == 0)
            Forma.moveTo(p0);
        else
            Forma.lineTo(p0);
        Forma.lineTo(p1);
    }
    Forma.closeSubpath();
    Forma.addEllipse(c, r * 0.32, r * 0.32);
    Forma.setFillRule(Qt::OddEvenFill);
    p.setPen(Trazo(color.darker(140), 1.2));
    p.setBrush(color);
    p.drawPath(Forma);
}

void Llave(QPainter &p, const QColor &color)
{
    p.save();
    p.translate(24, 24);
    p.rotate(-45);
    QPainterPath Forma;
    Forma.addRoundedRect(QRectF(-4, -2, 26, 8), 3, 3);
    QPainterPath Cabeza;
    Cabeza.addEllipse(QPointF(-10, 2), 9, 9);
    QPainterPath Boca;
    Boca.addRect(QRectF(-22, -1.5, 12, 7));
    Forma = Forma.united(Cabeza).subtracted(Boca);
    p.setPen(Trazo(color.darker(160), 1.2));
    QLinearGradient g(0, -8, 0, 10);
    g.setColorAt(0, color.lighter(130));
    g.setColorAt(1, color.darker(110));
    p.setBrush(g);
    p.drawPath(Forma);
    p.restore();
}

void Mantenimiento(QPainter &p)
{
    Engranaje(p, {30, 30}, 15, 9, Naranja);
    Llave(p, Gris);
}

void Averias(QPainter &p)
{
    QPainterPath Tri;
    Tri.moveTo(24, 4);
    Tri.lineTo(45, 42);
    Tri.lineTo(3, 42);
    Tri.closeSubpath();
    QLinearGradient g(0, 4, 0, 42);
    g.setColorAt(0, Amarillo.lighter(115));
    g.setColorAt(1, Naranja);
    p.setPen(Trazo(QColor(150, 70, 0), 2.2));
    p.setBrush(g);
    p.drawPath(Tri);
    p.setPen(Qt::NoPen);
    p.setBrush(GrisOscuro);
    p.drawRoundedRect(QRectF(21.5, 15, 5, 15), 2.5, 2.5);
    p.drawEllipse(QPointF(24, 35.5), 2.8, 2.8);
}

void Rueda(QPainter &p, QPointF c, qreal r)
{
    p.setPen(Trazo(QColor(20, 20, 20), 1));
    QRadialGradient g(c, r);
    g.setColorAt(0.6, QColor(70, 70, 70));
    g.setColorAt(1, QColor(25, 25, 25));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    // tread
    p.setPen(Trazo(QColor(100, 100, 100), r / 10));
    for (int i = 0; i < 16; ++i) {
        const qreal a = i * M_PI / 8;
        p.drawLine(c + QPointF(qCos(a) * r * 0.82, qSin(a) * r * 0.82), c + QPointF(qCos(a) * r * 0.97, qSin(a) * r * 0.97));
    }
    p.setPen(Trazo(GrisOscuro, 1));
    QRadialGradient l(c - QPointF(r * 0.15, r * 0.15), r * 0.6);
    l.setColorAt(0, QColor(240, 242, 245));
    l.setColorAt(1, QColor(150, 155, 165));
    p.setBrush(l);
    p.drawEllipse(c, r * 0.55, r * 0.55);
    p.setBrush(GrisOscuro);
    for (int i = 0; i < 5; ++i) {
        const qreal a = i * 2 * M_PI / 5 - M_PI / 2;
        p.drawEllipse(c + QPointF(qCos(a) * r * 0.32, qSin(a) * r * 0.32), r * 0.06, r * 0.06);
    }
    p.drawEllipse(c, r * 0.12, r * 0.12);
}

void Neumaticos(QPainter &p)
{
    Rueda(p, {24, 24}, 21);
}

void Coche(QPainter &p, const QColor &color)
{
    QPainterPath Carroceria;
    Carroceria.moveTo(3, 32);
    Carroceria.lineTo(3, 25);
    Carroceria.quadTo(4, 22, 9, 21);
    Carroceria.lineTo(14, 13);
    Carroceria.quadTo(16, 11, 20, 11);
    Carroceria.lineTo(32, 11);
    Carroceria.quadTo(35, 11, 37, 14);
    Carroceria.lineTo(41, 21);
    Carroceria.quadTo(45, 22, 45, 26);
    Carroceria.lineTo(45, 32);
    Carroceria.closeSubpath();
    QLinearGradient g(0, 11, 0, 32);
    g.setColorAt(0, color.lighter(140));
    g.setColorAt(1, color.darker(115));
    p.setPen(Trazo(color.darker(170), 1.3));
    p.setBrush(g);
    p.drawPath(Carroceria);
    QPainterPath Cristal;
    Cristal.moveTo(11.5, 21);
    Cristal.lineTo(16, 14);
    Cristal.lineTo(23, 14);
    Cristal.lineTo(23, 21);
    Cristal.closeSubpath();
    Cristal.moveTo(25.5, 21);
    Cristal.lineTo(25.5, 14);
    Cristal.lineTo(32, 14);
    Cristal.lineTo(37.5, 21);
    Cristal.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 228, 245));
    p.drawPath(Cristal);
    Rueda(p, {13, 33}, 6.5);
    Rueda(p, {36, 33}, 6.5);
}

// The car drawing, enlarged to fill the box like the other pictures.
void Coche_Grande(QPainter &p, const QColor &color)
{
    p.save();
    p.translate(24, 24);
    p.scale(1.12, 1.12);
    p.translate(-24, -27);
    Coche(p, color);
    p.restore();
}

void Vehiculos(QPainter &p)
{
    Coche_Grande(p, Azul);
}

void Documento(QPainter &p, const QColor &cabecera)
{
    QPainterPath Hoja;
    Hoja.moveTo(9, 3);
    Hoja.lineTo(31, 3);
    Hoja.lineTo(40, 12);
    Hoja.lineTo(40, 45);
    Hoja.lineTo(9, 45);
    Hoja.closeSubpath();
    p.setPen(Trazo(Gris, 1.4));
    p.setBrush(Qt::white);
    p.drawPath(Hoja);
    p.setBrush(GrisClaro);
    QPainterPath Pliegue;
    Pliegue.moveTo(31, 3);
    Pliegue.lineTo(31, 12);
    Pliegue.lineTo(40, 12);
    Pliegue.closeSubpath();
    p.drawPath(Pliegue);
    p.setPen(Qt::NoPen);
    p.setBrush(cabecera);
    p.drawRect(QRectF(13, 8, 14, 4));
    p.setPen(Trazo(QColor(150, 160, 170), 1.6));
    for (int y = 18; y <= 40; y += 5) {
        p.drawLine(QPointF(13, y), QPointF(20, y));
        p.drawLine(QPointF(23, y), QPointF(36, y));
    }
}

void FichaTecnica(QPainter &p)
{
    Documento(p, Teal);
    p.save();
    p.translate(20, 26);
    p.scale(0.55, 0.55);
    Coche(p, Rojo);
    p.restore();
}

void Intervalos(QPainter &p)
{
    // odometer dial
    const QPointF c(24, 26);
    p.setPen(Trazo(GrisOscuro, 1.5));
    QRadialGradient g(c, 21);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, GrisClaro);
    p.setBrush(g);
    p.drawEllipse(c, 21, 21);
    p.setPen(Trazo(GrisOscuro, 1.4));
    for (int i = 0; i <= 8; ++i) {
        const qreal a = qDegreesToRadians(210.0 - i * 30.0);
        p.drawLine(c + QPointF(qCos(a) * 15, -qSin(a) * 15), c + QPointF(qCos(a) * 19, -qSin(a) * 19));
    }
    p.setPen(Trazo(Rojo, 3.2));
    QRectF Arco(c.x() - 17, c.y() - 17, 34, 34);
    p.drawArc(Arco, -30 * 16, 50 * 16);
    const qreal a = qDegreesToRadians(60.0);
    p.setPen(Trazo(Rojo.darker(120), 2.6));
    p.drawLine(c, c + QPointF(qCos(a) * 15, -qSin(a) * 15));
    p.setPen(Qt::NoPen);
    p.setBrush(GrisOscuro);
    p.drawEllipse(c, 3, 3);
    p.setBrush(QColor(40, 40, 40));
    p.drawRoundedRect(QRectF(15, 34, 18, 6), 1.5, 1.5);
}

void Listados(QPainter &p)
{
    p.setPen(Trazo(Gris, 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(13, 3, 22, 18));
    p.setPen(Trazo(QColor(150, 160, 170), 1.4));
    for (int y = 8; y <= 17; y += 4)
        p.drawLine(QPointF(16, y), QPointF(32, y));
    QLinearGradient g(0, 18, 0, 38);
    g.setColorAt(0, QColor(120, 128, 140));
    g.setColorAt(1, QColor(60, 66, 74));
    p.setPen(Trazo(QColor(40, 44, 50), 1.3));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(4, 18, 40, 19), 3, 3);
    p.setBrush(Qt::white);
    p.setPen(Trazo(Gris, 1.2));
    p.drawRect(QRectF(12, 31, 24, 14));
    p.setPen(Trazo(QColor(150, 160, 170), 1.4));
    p.drawLine(QPointF(15, 36), QPointF(33, 36));
    p.drawLine(QPointF(15, 40), QPointF(29, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(Verde.lighter(130));
    p.drawEllipse(QPointF(38, 24), 2, 2);
}

void CopiaSeg(QPainter &p)
{
    QLinearGradient g(0, 8, 0, 44);
    g.setColorAt(0, QColor(90, 120, 170));
    g.setColorAt(1, AzulOscuro);
    p.setPen(Trazo(AzulOscuro.darker(130), 1.3));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(6, 6, 36, 38), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(225, 230, 238));
    p.drawRect(QRectF(13, 6, 22, 13));
    p.setBrush(AzulOscuro);
    p.drawRect(QRectF(28, 8, 4, 9));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(11, 25, 26, 16), 1.5, 1.5);
    // green arrow into the disk
    QPainterPath Flecha;
    Flecha.moveTo(24, 27);
    Flecha.lineTo(31, 33);
    Flecha.lineTo(27, 33);
    Flecha.lineTo(27, 39);
    Flecha.lineTo(21, 39);
    Flecha.lineTo(21, 33);
    Flecha.lineTo(17, 33);
    Flecha.closeSubpath();
    p.setBrush(Verde);
    p.setPen(Trazo(Verde.darker(150), 1));
    p.drawPath(Flecha);
}

void Salir(QPainter &p)
{
    p.setPen(Trazo(QColor(90, 60, 30), 1.4));
    p.setBrush(QColor(235, 225, 205));
    p.drawRect(QRectF(6, 4, 24, 40));
    QPainterPath Puerta;
    Puerta.moveTo(6, 4);
    Puerta.lineTo(22, 9);
    Puerta.lineTo(22, 47);
    Puerta.lineTo(6, 44);
    Puerta.closeSubpath();
    QLinearGradient g(6, 0, 22, 0);
    g.setColorAt(0, QColor(170, 110, 55));
    g.setColorAt(1, QColor(120, 75, 35));
    p.setBrush(g);
    p.drawPath(Puerta);
    p.setPen(Qt::NoPen);
    p.setBrush(Amarillo);
    p.drawEllipse(QPointF(18.5, 27), 1.6, 1.6);
    QPainterPath Flecha;
    Flecha.moveTo(46, 24);
    Flecha.lineTo(37, 15);
    Flecha.lineTo(37, 20);
    Flecha.lineTo(27, 20);
    Flecha.lineTo(27, 28);
    Flecha.lineTo(37, 28);
    Flecha.lineTo(37, 33);
    Flecha.closeSubpath();
    p.setBrush(Rojo);
    p.setPen(Trazo(Rojo.darker(150), 1));
    p.drawPath(Flecha);
}

void Marcas(QPainter &p)
{
    QPainterPath Etiqueta;
    Etiqueta.moveTo(4, 20);
    Etiqueta.lineTo(20, 4);
    Etiqueta.lineTo(42, 4);
    Etiqueta.lineTo(44, 6);
    Etiqueta.lineTo(44, 28);
    Etiqueta.lineTo(28, 44);
    Etiqueta.closeSubpath();
    Etiqueta.addEllipse(QPointF(35, 13), 3.5, 3.5);
    Etiqueta.setFillRule(Qt::OddEvenFill);
    p.setPen(Trazo(QColor(150, 90, 0), 1.5));
    p.setBrush(Amarillo);
    p.drawPath(Etiqueta);
    p.setPen(Trazo(QColor(150, 90, 0), 2.2));
    p.drawLine(QPointF(14, 26), QPointF(26, 14));
    p.drawLine(QPointF(19, 31), QPointF(31, 19));
}

void Modelos(QPainter &p)
{
    Coche_Grande(p, Verde);
}

void Ayuda(QPainter &p)
{
    p.setPen(Trazo(AzulOscuro, 1.5));
    QRadialGradient g(QPointF(20, 18), 24);
    g.setColorAt(0, Azul.lighter(150));
    g.setColorAt(1, Azul);
    p.setBrush(g);
    p.drawEllipse(QPointF(24, 24), 21, 21);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(30);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 48, 48), Qt::AlignCenter, QStringLiteral("?"));
}

void Informacion(QPainter &p)
{
    p.setPen(Trazo(Teal.darker(150), 1.5));
    QRadialGradient g(QPointF(20, 18), 24);
    g.setColorAt(0, Teal.lighter(170));
    g.setColorAt(1, Teal);
    p.setBrush(g);
    p.drawEllipse(QPointF(24, 24), 21, 21);
    QFont f(QStringLiteral("Liberation Serif"));
    f.setPixelSize(30);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 1, 48, 48), Qt::AlignCenter, QStringLiteral("i"));
}

// The program's emblem: a gear with a car in front of it.
void Emblema(QPainter &p)
{
    Engranaje(p, {24, 22}, 20, 12, Teal);
    p.save();
    p.translate(4, 18);
    p.scale(0.85, 0.85);
    Coche(p, Azul);
    p.restore();
}

bool Guardar(const QString &Camino, int Lado, const Dibujo &d)
{
    QImage img(Lado, Lado, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(Lado / 48.0, Lado / 48.0);
    d(p);
    p.end();
    return img.save(Camino);
}

// The main picture: a road through the country with a lorry, a van and a car.
void Camion(QPainter &p, const QColor &cabina)
{
    // trailer
    QLinearGradient g(0, 0, 0, 60);
    g.setColorAt(0, QColor(245, 245, 245));
    g.setColorAt(1, QColor(200, 205, 212));
    p.setPen(Trazo(Gris.darker(130), 1.5));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0, 0, 150, 62), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(Teal);
    p.drawRect(QRectF(0, 40, 150, 6));
    // cab
    QPainterPath Cabina;
    Cabina.moveTo(154, 72);
    Cabina.lineTo(154, 14);
    Cabina.quadTo(154, 8, 162, 8);
    Cabina.lineTo(182, 8);
    Cabina.quadTo(190, 8, 194, 22);
    Cabina.lineTo(200, 42);
    Cabina.lineTo(200, 72);
    Cabina.closeSubpath();
    QLinearGradient gc(0, 8, 0, 72);
    gc.setColorAt(0, cabina.lighter(135));
    gc.setColorAt(1, cabina.darker(115));
    p.setPen(Trazo(cabina.darker(170), 1.5));
    p.setBrush(gc);
    p.drawPath(Cabina);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 228, 245));
    QPainterPath Luna;
    Luna.moveTo(170, 14);
    Luna.lineTo(183, 14);
    Luna.quadTo(187, 14, 189, 22);
    Luna.lineTo(193, 36);
    Luna.lineTo(170, 36);
    Luna.closeSubpath();
    p.drawPath(Luna);
    p.setBrush(QColor(60, 60, 60));
    p.drawRect(QRectF(0, 62, 154, 10));
    Rueda(p, {28, 76}, 12);
    Rueda(p, {56, 76}, 12);
    Rueda(p, {176, 76}, 12);
}

void Furgoneta(QPainter &p, const QColor &color)
{
    QPainterPath Caja;
    Caja.moveTo(0, 56);
    Caja.lineTo(0, 8);
    Caja.quadTo(0, 0, 8, 0);
    Caja.lineTo(88, 0);
    Caja.quadTo(96, 0, 102, 12);
    Caja.lineTo(114, 30);
    Caja.quadTo(120, 32, 120, 40);
    Caja.lineTo(120, 56);
    Caja.closeSubpath();
    QLinearGradient g(0, 0, 0, 56);
    g.setColorAt(0, color.lighter(140));
    g.setColorAt(1, color.darker(112));
    p.setPen(Trazo(color.darker(170), 1.5));
    p.setBrush(g);
    p.drawPath(Caja);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 228, 245));
    QPainterPath Luna;
    Luna.moveTo(84, 6);
    Luna.lineTo(94, 6);
    Luna.lineTo(106, 28);
    Luna.lineTo(84, 28);
    Luna.closeSubpath();
    p.drawPath(Luna);
    Rueda(p, {24, 58}, 11);
    Rueda(p, {94, 58}, 11);
}

void Imagen_Principal(const QString &Camino)
{
    const int W = 1200, H = 700;
    QImage img(W, H, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // sky
    QLinearGradient Cielo(0, 0, 0, H * 0.62);
    Cielo.setColorAt(0, QColor(120, 175, 220));
    Cielo.setColorAt(1, QColor(228, 238, 246));
    p.fillRect(0, 0, W, H, Cielo);
    // sun glow
    QRadialGradient Sol(QPointF(W * 0.8, H * 0.18), 160);
    Sol.setColorAt(0, QColor(255, 250, 225, 230));
    Sol.setColorAt(1, QColor(255, 250, 225, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(Sol);
    p.drawEllipse(QPointF(W * 0.8, H * 0.18), 160, 160);
    // far hills
    auto Colinas = [&](qreal base, qreal amp, qreal fase, const QColor &c) {
        QPainterPath Ruta;
        Ruta.moveTo(0, H);
        for (int x = 0; x <= W; x += 10)
            Ruta.lineTo(x, base - amp * (0.6 * qSin(x / 170.0 + fase) + 0.4 * qSin(x / 73.0 + fase * 2)));
        Ruta.lineTo(W, H);
        Ruta.closeSubpath();
        p.setBrush(c);
        p.drawPath(Ruta);
    };
    Colinas(H * 0.50, 30, 0.5, QColor(150, 180, 170));
    Colinas(H * 0.56, 24, 2.1, QColor(120, 165, 120));
    Colinas(H * 0.62, 14, 4.0, QColor(104, 150, 96));
    // road
    QLinearGradient Asfalto(0, H * 0.66, 0, H);
    Asfalto.setColorAt(0, QColor(95, 98, 104));
    Asfalto.setColorAt(1, QColor(60, 62, 66));
    p.setBrush(Asfalto);
    p.drawRect(QRectF(0, H * 0.68, W, H * 0.32));
    p.setBrush(QColor(235, 235, 225));
    p.drawRect(QRectF(0, H * 0.68, W, 5));
    p.drawRect(QRectF(0, H - 14, W, 5));
    p.setBrush(QColor(245, 210, 60));
    for (int x = 10; x < W; x += 90)
        p.drawRect(QRectF(x, H * 0.84, 50, 6));
    // vehicles, scaled up from their drawings
    p.save();
    p.translate(W * 0.5 - 330, H * 0.68 - 20);
    p.scale(1.7, 1.7);
    Camion(p, Teal);
    p.restore();
    p.save();
    p.translate(W * 0.5 + 40, H * 0.68 + 12);
    p.scale(1.6, 1.6);
    Furgoneta(p, QColor(235, 235, 240));
    p.restore();
    p.save();
    p.translate(W * 0.5 + 250, H * 0.68 + 30);
    p.scale(3.1, 3.1);
    Coche(p, Rojo);
    p.restore();
    // title
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(86);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0, 60));
    p.drawText(QRectF(3, H * 0.13 + 3, W, 100), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Quelvaro"));
    p.setPen(QColor(10, 70, 90));
    p.drawText(QRectF(0, H * 0.13, W, 100), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Quelvaro"));
    f.setPixelSize(34);
    f.setBold(false);
    f.setItalic(true);
    p.setFont(f);
    p.setPen(QColor(20, 60, 80));
    p.drawText(QRectF(0, H * 0.13 + 96, W, 50), Qt::AlignHCenter | Qt::AlignVCenter,
               QStringLiteral("Mantenimiento de flotas de vehículos"));
    p.end();
    img.save(Camino);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "Uso: %s <carpeta resources>\n", argv[0]);
        return 2;
    }
    const QDir Destino(QString::fromLocal8Bit(argv[1]));
    Destino.mkpath(QStringLiteral("imagenes"));
    const QString Carpeta = Destino.filePath(QStringLiteral("imagenes"));

    const QList<QPair<QString, Dibujo>> Dibujos = {
        {QStringLiteral("mantenimiento"), Mantenimiento}, {QStringLiteral("averias"), Averias},
        {QStringLiteral("neumaticos"), Neumaticos},       {QStringLiteral("vehiculos"), Vehiculos},
        {QStringLiteral("fichatecnica"), FichaTecnica},   {QStringLiteral("intervalos"), Intervalos},
        {QStringLiteral("listados"), Listados},           {QStringLiteral("copiaseg"), CopiaSeg},
        {QStringLiteral("salir"), Salir},                 {QStringLiteral("marcas"), Marcas},
        {QStringLiteral("modelos"), Modelos},             {QStringLiteral("ayuda"), Ayuda},
        {QStringLiteral("informacion"), Informacion},     {QStringLiteral("emblema"), Emblema},
    };
    bool Correcto = true;
    for (const auto &d : Dibujos) {
        Correcto &= Guardar(Carpeta + QLatin1Char('/') + d.first + QStringLiteral("48.png"), 48, d.second);
        Correcto &= Guardar(Carpeta + QLatin1Char('/') + d.first + QStringLiteral("20.png"), 20, d.second);
    }
    Correcto &= Guardar(Carpeta + QStringLiteral("/emblema96.png"), 96, Emblema);
    // The menu entry's icon for the desktop's hicolor theme, drawn at each size it asks for.
    for (const int Lado : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString Tamano = QStringLiteral("iconos/%1x%1").arg(Lado);
        Destino.mkpath(Tamano);
        Correcto &= Guardar(Destino.filePath(Tamano + QStringLiteral("/es.quelvaro.Quelvaro.png")), Lado, Emblema);
    }
    Imagen_Principal(Carpeta + QStringLiteral("/quelvaro.png"));
    return Correcto ? 0 : 1;
}
