#include "panel/Odnosniki.h"

#include "dane/PlikiWspolne.h"

#include <QDesktopServices>
#include <QString>

namespace odnosniki {

QUrl StronaProduktu() {
    return QUrl(QString::fromLatin1(AdresStronyProduktu)).resolved(QUrl("index.html"));
}

std::optional<std::filesystem::path> StronaPomocy() {
    return PlikWspolny(PlikPomocy);
}

QUrl AdresPomocy(const std::filesystem::path& strona) {
    return QUrl::fromLocalFile(QString::fromStdString(strona.string()));
}

bool OtworzStroneProduktu() {
    return QDesktopServices::openUrl(StronaProduktu());
}

bool OtworzPomoc(const std::filesystem::path& strona) {
    return QDesktopServices::openUrl(AdresPomocy(strona));
}

} // namespace odnosniki
