#include "panel/IAeverGeometria.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace iaever {

namespace {

// Offsets of the three inner arc points of a quarter circle of radius r,
// as (r * sin a, r * cos a) for a = 22.5, 45, 67.5 degrees, rounded.
struct Przesuniecie {
    int sin = 0;
    int cos = 0;
};

std::vector<Przesuniecie> PunktyLuku(int r) {
    std::vector<Przesuniecie> punkty;
    for (const double stopnie : {22.5, 45.0, 67.5}) {
        const double a = stopnie * std::numbers::pi / 180.0;
        punkty.push_back({static_cast<int>(std::lround(r * std::sin(a))),
                          static_cast<int>(std::lround(r * std::cos(a)))});
    }
    return punkty;
}

int Skladowa(int a, int b, int c, int n) {
    return a + (b - a) * c / n;
}

int Ogranicz(int v) {
    return std::clamp(v, 0, 255);
}

} // namespace

QPolygon ObrysZaokraglony(int w, int h, int r) {
    const auto luk = PunktyLuku(r);
    QPolygon p;
    p << QPoint(r, 0) << QPoint(w - r, 0);
    for (const auto& o : luk) // top-right, centre (w - r, r)
        p << QPoint(w - r + o.sin, r - o.cos);
    p << QPoint(w, r) << QPoint(w, h - r);
    for (const auto& o : luk) // bottom-right, centre (w - r, h - r)
        p << QPoint(w - r + o.cos, h - r + o.sin);
    p << QPoint(w - r, h) << QPoint(r, h);
    for (const auto& o : luk) // bottom-left, centre (r, h - r)
        p << QPoint(r - o.sin, h - r + o.cos);
    p << QPoint(0, h - r) << QPoint(0, r);
    for (const auto& o : luk) // top-left, centre (r, r)
        p << QPoint(r - o.cos, r - o.sin);
    return p;
}

QPolygon ObrysProstokatny(int w, int h) {
    QPolygon p;
    p << QPoint(0, 0) << QPoint(w, 0) << QPoint(w, h) << QPoint(0, h);
    return p;
}

QPolygon ObrysWewnetrzny(const QPolygon& obrys, int glebokosc) {
    const int n = static_cast<int>(obrys.size());
    struct Prosta {
        double px = 0, py = 0, dx = 0, dy = 0;
    };
    // Each edge as a line moved inward; inward of a clockwise screen
    // outline is the direction (-dy, dx).
    std::vector<Prosta> proste;
    proste.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const QPoint a = obrys[i];
        const QPoint b = obrys[(i + 1) % n];
        const double dx = b.x() - a.x();
        const double dy = b.y() - a.y();
        const double dl = std::hypot(dx, dy);
        Prosta p{static_cast<double>(a.x()), static_cast<double>(a.y()), dx, dy};
        if (dl > 0) {
            p.px += -dy / dl * glebokosc;
            p.py += dx / dl * glebokosc;
        }
        proste.push_back(p);
    }
    QPolygon wynik;
    for (int i = 0; i < n; ++i) {
        const Prosta& e1 = proste[static_cast<std::size_t>((i + n - 1) % n)];
        const Prosta& e2 = proste[static_cast<std::size_t>(i)];
        const double wyznacznik = e1.dx * e2.dy - e1.dy * e2.dx;
        double x = e2.px;
        double y = e2.py;
        if (std::abs(wyznacznik) > 1e-9) {
            const double t = ((e2.px - e1.px) * e2.dy - (e2.py - e1.py) * e2.dx) / wyznacznik;
            x = e1.px + t * e1.dx;
            y = e1.py + t * e1.dy;
        }
        wynik << QPoint(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
    }
    return wynik;
}

QRegion RegionObrysu(const QPolygon& obrys) {
    return QRegion(obrys, Qt::WindingFill);
}

PolowkiFazy PodzielFaze(const QPolygon& obrys, const QPolygon& wewnetrzny) {
    PolowkiFazy polowki;
    const int n = static_cast<int>(std::min(obrys.size(), wewnetrzny.size()));
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        QPolygon kawalek;
        kawalek << obrys[i] << obrys[j] << wewnetrzny[j] << wewnetrzny[i];
        const QRegion region = RegionObrysu(kawalek);
        const QPoint krok = obrys[j] - obrys[i];
        if (krok.y() < krok.x())
            polowki.jasna += region;
        else
            polowki.ciemna += region;
    }
    return polowki;
}

int LiczbaKrokowGradientu(int h) {
    return static_cast<int>(std::lround(h / 3.0));
}

std::vector<PasGradientu> PasyGradientu(const QColor& gora, const QColor& dol, int h) {
    std::vector<PasGradientu> pasy;
    const int n = LiczbaKrokowGradientu(h);
    for (int c = 0; c <= n; ++c) {
        QColor kolor = gora;
        if (n > 0)
            kolor = QColor(Skladowa(gora.red(), dol.red(), c, n),
                           Skladowa(gora.green(), dol.green(), c, n),
                           Skladowa(gora.blue(), dol.blue(), c, n));
        const int od = std::max(0, 3 * c - 1);
        const int doWiersza = std::min(h, 3 * c + 2);
        if (doWiersza > od)
            pasy.push_back({od, doWiersza - od, kolor});
    }
    return pasy;
}

QColor Jasniejszy(const QColor& kolor) {
    return QColor(Ogranicz(kolor.red() + 32), Ogranicz(kolor.green() + 32),
                  Ogranicz(kolor.blue() + 32));
}

QColor Ciemniejszy(const QColor& kolor) {
    return QColor(Ogranicz(kolor.red() - 32), Ogranicz(kolor.green() - 32),
                  Ogranicz(kolor.blue() - 32));
}

QPoint PolozenieNapisu(QSize przycisk, QSize napis, bool wcisniety) {
    const int przesuniecie = wcisniety ? 1 : 0;
    return {(przycisk.width() - napis.width()) / 2 + przesuniecie,
            (przycisk.height() - napis.height()) / 2 + przesuniecie};
}

NapisPrzycisku RozbierzNapis(const QString& napis) {
    NapisPrzycisku wynik;
    for (qsizetype i = 0; i < napis.size(); ++i) {
        if (napis[i] == u'&' && i + 1 < napis.size()) {
            ++i;
            if (napis[i] != u'&' && wynik.akcelerator < 0)
                wynik.akcelerator = static_cast<int>(wynik.tekst.size());
        }
        wynik.tekst += napis[i];
    }
    return wynik;
}

} // namespace iaever
