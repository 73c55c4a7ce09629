#include "media/Jpeg.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return;
// it jumps back to Dekoduj.
struct BladJpeg {
    jpeg_error_mgr mgr;
    std::jmp_buf powrot;
};

[[noreturn]] void ZakonczBlad(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<BladJpeg*>(cinfo->err)->powrot, 1);
}

void BezKomunikatu(j_common_ptr) {}

constexpr JDIMENSION NajwiekszyBok = 8192;

// Decodes into the caller's image; every local here is trivially destructible,
// and the image lives in the caller's frame, so a jump back loses nothing.
bool Dekoduj(const QByteArray& dane, QImage& obraz) {
    jpeg_decompress_struct cinfo{};
    BladJpeg blad{};
    cinfo.err = jpeg_std_error(&blad.mgr);
    blad.mgr.error_exit = ZakonczBlad;
    blad.mgr.output_message = BezKomunikatu;
    if (setjmp(blad.powrot)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(dane.constData()),
                 static_cast<unsigned long>(dane.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.image_width == 0 || cinfo.image_height == 0 || cinfo.image_width > NajwiekszyBok ||
        cinfo.image_height > NajwiekszyBok) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);

    obraz = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                   QImage::Format_RGB888);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW wiersz = obraz.scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &wiersz, 1);
    }
    jpeg_finish_decompress(&cinfo);
    // A truncated or corrupt stream is only a warning to libjpeg, which then
    // pads the picture with grey; a banner like that is not shown.
    const bool cale = blad.mgr.num_warnings == 0;
    jpeg_destroy_decompress(&cinfo);
    return cale;
}

} // namespace

QImage DekodujJpeg(const QByteArray& dane) {
    QImage obraz;
    if (dane.isEmpty() || !Dekoduj(dane, obraz)) {
        return QImage();
    }
    return obraz;
}
