// pictures.h - the game's pictures, each drawn with the library into a window at (x, y).
#ifndef ZARN_ART_PICTURES_H
#define ZARN_ART_PICTURES_H

#include "canvas.h"

namespace art {

constexpr int kCell = 20;
constexpr int kShip = 80;
constexpr int kPoster = 400;

// Hit, steps 1-7, and miss, steps 1-5: one cell, kCell x kCell.
void DrawHitFrame(window &win, int x, int y, int step);
void DrawMissFrame(window &win, int x, int y, int step);
// A four-cell ship sinking: burning steps 1-9, breaking steps 11-16 (14, 15 and 16 are
// the three wrecks). kShip x kCell, or kCell x kShip when vertical.
void DrawSinkFrame(window &win, int x, int y, bool vertical, int step);
// kPoster x kPoster: the title picture and the victory picture.
void DrawLogo(window &win, int x, int y);
void DrawVictory(window &win, int x, int y);

} // namespace art

#endif // ZARN_ART_PICTURES_H
