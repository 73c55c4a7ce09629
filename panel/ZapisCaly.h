#pragma once

#include <QSaveFile>

#include <string>

// Opens the save file unbuffered and writes the whole text. A buffered
// QSaveFile takes a short write (a full disk, a file-size limit) for success
// at commit and renames a truncated file into place; unbuffered, every short
// write is seen here, and the next try fails with the system's reason in
// errorString(). False when the text was not written whole; the caller then
// does not commit, and the old file stays.
inline bool OtworzIZapiszCalosc(QSaveFile& plik, const std::string& tekst) {
    if (!plik.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const auto rozmiar = static_cast<qint64>(tekst.size());
    qint64 zapisane = 0;
    while (zapisane < rozmiar) {
        const qint64 n = plik.write(tekst.data() + zapisane, rozmiar - zapisane);
        if (n <= 0)
            return false;
        zapisane += n;
    }
    return true;
}
