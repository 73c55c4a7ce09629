#pragma once

#include <QColor>
#include <QPoint>
#include <QPolygon>
#include <QRegion>
#include <QSize>
#include <QString>

#include <vector>

// The shaped button's geometry and colours as pure functions, so that the
// outline, the regions and the gradient can be checked without a window.
namespace iaever {

// Rounded rectangle of width w and height h with corner radius r: 20 points
// clockwise from (r, 0); three points on each corner arc at 22.5, 45 and
// 67.5 degrees, their offsets from the arc's centre rounded to whole pixels.
QPolygon ObrysZaokraglony(int w, int h, int r);

// Plain rectangle: the four corners clockwise from the top-left.
QPolygon ObrysProstokatny(int w, int h);

// The outline with every edge moved inward by `glebokosc` pixels and each
// corner where the neighbouring moved edges meet. The outline must run
// clockwise on the screen (y downward).
QPolygon ObrysWewnetrzny(const QPolygon& obrys, int glebokosc);

// Pixels of a closed polygon, the right and bottom edges excluded: the
// window mask of a button whose outline this is.
QRegion RegionObrysu(const QPolygon& obrys);

// The ring between an outline and its inner outline, cut into one
// four-cornered piece per edge. Walking clockwise, an edge whose step has
// dy < dx lights (top and left edges), every other edge shades.
struct PolowkiFazy {
    QRegion jasna;
    QRegion ciemna;
};
PolowkiFazy PodzielFaze(const QPolygon& obrys, const QPolygon& wewnetrzny);

// One horizontal band of the linear gradient: rows [y, y + wysokosc).
struct PasGradientu {
    int y = 0;
    int wysokosc = 0;
    QColor kolor;
};

// Number of colour steps for a face of height h: h / 3 rounded to nearest.
int LiczbaKrokowGradientu(int h);

// Linear gradient from `gora` (top) to `dol` (bottom) over height h: a
// three-pixel line centred on y = 3C for C = 0..N, colour component
// gora + (dol - gora) * C / N with truncating integer arithmetic. Bands are
// clipped to the rows 0..h-1; none of them is empty.
std::vector<PasGradientu> PasyGradientu(const QColor& gora, const QColor& dol, int h);

// Each of red, green and blue moved by 32, held to 0..255.
QColor Jasniejszy(const QColor& kolor);
QColor Ciemniejszy(const QColor& kolor);

// Top-left corner of the caption: centred with truncating halves, one pixel
// right and down while the button is held pressed.
QPoint PolozenieNapisu(QSize przycisk, QSize napis, bool wcisniety);

// The caption as shown: "&x" marks the accelerator x, "&&" is a literal "&".
struct NapisPrzycisku {
    QString tekst;
    int akcelerator = -1; // index into tekst, -1 when there is none
};
NapisPrzycisku RozbierzNapis(const QString& napis);

} // namespace iaever
