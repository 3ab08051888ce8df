// How a due reading is shown: shared by the maintenance window's panels and the
// maintenance report's summary labels.
#pragma once

#include <QString>

// Text colour of a due reading. SinCambio: the text is emptied and the colour
// left as it was.
enum class tColorProximo { SinCambio, Granate, AzulMarino };

constexpr unsigned Rgb_Granate = 0x800000;    // overdue: red 128, green 0, blue 0
constexpr unsigned Rgb_Azul_Marino = 0x000080; // not yet due: red 0, green 0, blue 128

struct tVistaProximo
{
    QString Texto;
    tColorProximo Color = tColorProximo::SinCambio;
};

// A reading of 0 or less is unknown and shows nothing; one below the vehicle's
// current reading is overdue (maroon); otherwise, equality included, navy.
// The text is the reading with thousands grouped and no decimals.
tVistaProximo Vista_Proximo(qint32 kmProximo, qint32 kmActuales);

// 0xRRGGBB of a colour (SinCambio gives 0).
unsigned Rgb_Color_Proximo(tColorProximo color);
