#pragma once
// Canvas flood fill in surface mode: the 4-connected region of one colour
// that holds the seed point takes another colour.
#include <QImage>
#include <QPoint>
#include <QRgb>

namespace quenlet {

// Fills the region of `target` around `seed` with `fill` and returns the
// number of pixels changed. Nothing changes when the seed lies outside the
// image or is not `target`, and the fill returns at once when `fill` equals
// `target`: the region already has that colour, and a fill that tells done
// pixels by their colour would never end. Colours compare as whole ARGB
// values; an image of another format is converted to ARGB32 first.
int FloodFillSurface(QImage& image, QPoint seed, QRgb target, QRgb fill);

}  // namespace quenlet
