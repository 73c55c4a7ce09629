#pragma once

#include <QSaveFile>

#include <string>

// Qt Core only: QSaveFile.
//
// The writer of the options file. Program.cpm and DM.cpm go through the
// engine's own writer (engine/ZapisPliku.h) instead: the engine has no Qt, so
// that one is plain POSIX, and the two stay two.
//
// Replaces the save file's target with the whole text, or leaves the old file
// as it was. The file is opened unbuffered: a buffered QSaveFile takes a short
// write (a full disk, a file-size limit) for success at commit and renames a
// truncated file into place; unbuffered, every short write is seen here, and
// the next try fails with the system's reason in errorString(). Only a text
// written whole is committed. False on any failure, errorString() then says
// why.
inline bool ZapiszCaly(QSaveFile& plik, const std::string& tekst) {
    if (!plik.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return false;
    }
    const auto rozmiar = static_cast<qint64>(tekst.size());
    qint64 zapisane = 0;
    while (zapisane < rozmiar) {
        const qint64 n = plik.write(tekst.data() + zapisane, rozmiar - zapisane);
        if (n <= 0) {
            return false;
        }
        zapisane += n;
    }
    return plik.commit();
}
