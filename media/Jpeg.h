#pragma once

#include <QByteArray>
#include <QImage>

// Qt Gui only: QImage for the result; the decoding is libjpeg's.
//
// Decodes a JPEG picture with libjpeg's own API into an RGB image. A damaged,
// truncated or implausibly large picture gives a null image.
QImage DekodujJpeg(const QByteArray& dane);
