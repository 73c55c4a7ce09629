#include "panel/Info.h"
#include "panel/Odnosniki.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QXmlStreamReader>
#include <QtTest>

class TestInfoPomoc : public QObject {
    Q_OBJECT

private slots:
    void adresy();
    void oknoInformacji();
    void stronaPomocyPoprawna();
};

void TestInfoPomoc::adresy() {
    QCOMPARE(odnosniki::StronaProduktu(),
             QUrl(QStringLiteral("https://parvolen.invalid/index.html")));
    QCOMPARE(odnosniki::AdresPomocy("/opt/parvolen/Pomoc/help.html"),
             QUrl(QStringLiteral("file:///opt/parvolen/Pomoc/help.html")));
    // A home folder named in Polish, with a space, is the same folder in the URL.
    QCOMPARE(odnosniki::AdresPomocy("/home/Łucja Żak/Pomoc/help.html").toLocalFile(),
             QStringLiteral("/home/Łucja Żak/Pomoc/help.html"));
}

void TestInfoPomoc::oknoInformacji() {
    TInfo info;
    QStringList teksty;
    for (const QLabel* etykieta : info.findChildren<QLabel*>()) {
        teksty << etykieta->text();
    }
    QVERIFY(teksty.contains(QStringLiteral("ver  2.01")));
    QVERIFY(teksty.contains(QStringLiteral("Pomysł i współpraca :")));
    QCOMPARE(info.findChild<QLineEdit*>(QStringLiteral("Edit6"))->text(),
             QString::fromLatin1(odnosniki::AdresStronyProduktu));
    auto* ok = info.findChild<QPushButton*>(QStringLiteral("OKButton"));
    QVERIFY(ok->isDefault());
    info.show();
    ok->click();
    QVERIFY(!info.isVisible());
    QCOMPARE(info.result(), int{QDialog::Accepted});
}

// The page is kept well-formed (it parses as XML), so any browser shows it
// the same; every file it links to beside it must exist.
void TestInfoPomoc::stronaPomocyPoprawna() {
    const QString katalog = QStringLiteral(PARVOLEN_ZRODLA "/data/Pomoc/");
    QFile plik(katalog + QStringLiteral("help.html"));
    QVERIFY(plik.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&plik);
    QStringList naglowki;
    QStringList odnosniki;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == u"html") {
            QCOMPARE(xml.attributes().value(QStringLiteral("lang")), QStringLiteral("pl"));
        }
        if (xml.name() == u"h2") {
            naglowki << xml.readElementText(QXmlStreamReader::IncludeChildElements);
        }
        for (const QString& atrybut : {QStringLiteral("href"), QStringLiteral("src")}) {
            const QString cel = xml.attributes().value(atrybut).toString();
            if (!cel.isEmpty() && !cel.contains(u':') && !cel.startsWith(u'#')) {
                odnosniki << cel;
            }
        }
    }
    QVERIFY2(
        !xml.hasError(),
        qPrintable(QStringLiteral("%1 w wierszu %2").arg(xml.errorString()).arg(xml.lineNumber())));
    QVERIFY(naglowki.size() >= 8);
    for (const QString& cel : odnosniki) {
        QVERIFY2(QFile::exists(katalog + cel), qPrintable(cel));
    }
}

QTEST_MAIN(TestInfoPomoc)
#include "InfoPomocTest.moc"
