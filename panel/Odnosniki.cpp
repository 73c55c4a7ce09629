#include "panel/Odnosniki.h"

#include <QDesktopServices>

namespace odnosniki {

QUrl StronaProduktu() {
    return QUrl(QString::fromLatin1(AdresStronyProduktu)).resolved(QUrl("index.html"));
}

QUrl AdresPomocy(const QDir& katalog) {
    return QUrl::fromLocalFile(katalog.absoluteFilePath(QStringLiteral("Pomoc/help.html")));
}

bool OtworzStroneProduktu() {
    return QDesktopServices::openUrl(StronaProduktu());
}

bool OtworzPomoc() {
    return QDesktopServices::openUrl(AdresPomocy(QDir::current()));
}

} // namespace odnosniki
