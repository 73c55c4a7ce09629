#include "app/Ikona.h"

#include "dane/PlikiWspolne.h"

#include <QDir>
#include <QFile>
#include <QString>

QIcon IkonaProgramu() {
    const QString id = QStringLiteral(PARVOLEN_ID);
    const QDir motyw(QString::fromStdString((KatalogShare() / "icons" / "hicolor").string()));
    QIcon obok;
    for (const QString& rozmiar : motyw.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString plik = motyw.filePath(QStringLiteral("%1/apps/%2.png").arg(rozmiar, id));
        if (QFile::exists(plik)) {
            obok.addFile(plik);
        }
    }
    return QIcon::fromTheme(id, obok);
}
