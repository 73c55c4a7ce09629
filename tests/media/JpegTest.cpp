#include "media/Jpeg.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

QByteArray Baner() {
    QFile plik(QStringLiteral(":/Baner.jpg"));
    return plik.open(QIODevice::ReadOnly) ? plik.readAll() : QByteArray();
}

TEST(Jpeg, TheBannerResourceDecodesToItsSizeAndColours) {
    const QByteArray dane = Baner();
    ASSERT_FALSE(dane.isEmpty());
    const QImage obraz = DekodujJpeg(dane);
    ASSERT_FALSE(obraz.isNull());
    EXPECT_EQ(obraz.size(), QSize(230, 19));
    const QColor tlo = obraz.pixelColor(2, 2);
    EXPECT_GT(tlo.lightness(), 200);
    int granatowe = 0;
    for (int x = 0; x < obraz.width(); ++x) {
        const QColor c = obraz.pixelColor(x, 9);
        granatowe += (c.blue() > 80 && c.red() < 60 && c.green() < 60) ? 1 : 0;
    }
    EXPECT_GT(granatowe, 10); // the navy letters
}

TEST(Jpeg, DamagedPicturesGiveANullImage) {
    const QByteArray dane = Baner();
    EXPECT_TRUE(DekodujJpeg(QByteArray()).isNull());
    EXPECT_TRUE(DekodujJpeg(QByteArray("to nie jest obraz")).isNull());
    EXPECT_TRUE(DekodujJpeg(dane.left(dane.size() / 2)).isNull());
    EXPECT_TRUE(DekodujJpeg(dane.left(40)).isNull());
    QByteArray zepsuty = dane;
    for (qsizetype i = zepsuty.size() / 3; i < zepsuty.size() / 2; ++i) {
        zepsuty[i] = static_cast<char>(0xFF);
    }
    EXPECT_TRUE(DekodujJpeg(zepsuty).isNull());
}

} // namespace
