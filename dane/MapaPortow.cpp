#include "dane/MapaPortow.h"

#include "dane/UstawieniaProgramu.h"

#include "serial/VaNetAddress.h"
#include "serial/VaResolver.h"

#include <QDir>
#include <QSettings>

#include <stdexcept>

namespace {

QString Klucz(const std::string& nazwaPortu) {
    return QStringLiteral("Ports/") + QString::fromStdString(nazwaPortu);
}

// An empty value names nothing, so the next file or the default decides.
QString Wpis(QSettings::Scope zakres, const std::string& nazwaPortu) {
    QSettings ustawienia = UstawieniaProgramu(zakres);
    // The user's scope would otherwise also look into the system file; the
    // order is spelled out below instead.
    ustawienia.setFallbacksEnabled(false);
    return ustawienia.value(Klucz(nazwaPortu)).toString().trimmed();
}

std::string Domyslne(const std::string& nazwaPortu) {
    if (nazwaPortu == "COM1") {
        return kVaVirtualDevice;
    }
    if (nazwaPortu == "COM2") {
        return "/dev/ttyS0";
    }
    return nazwaPortu;
}

} // namespace

std::string RozwinTylde(const std::string& sciezka) {
    if (sciezka == "~" || sciezka.starts_with("~/")) {
        return QDir::homePath().toStdString() + sciezka.substr(1);
    }
    return sciezka;
}

std::string UrzadzeniePortu(const std::string& nazwaPortu) {
    for (const QSettings::Scope zakres : {QSettings::UserScope, QSettings::SystemScope}) {
        const QString wpis = Wpis(zakres, nazwaPortu);
        if (!wpis.isEmpty()) {
            return RozwinTylde(wpis.toStdString());
        }
    }
    return Domyslne(nazwaPortu);
}

void ZapiszUrzadzeniePortu(const std::string& nazwaPortu, const std::string& urzadzenie) {
    QSettings ustawienia = UstawieniaProgramu(QSettings::UserScope);
    ustawienia.setValue(Klucz(nazwaPortu), QString::fromStdString(urzadzenie));
    ustawienia.sync();
    if (ustawienia.status() != QSettings::NoError) {
        throw std::runtime_error("Unable to write to " + ustawienia.fileName().toStdString());
    }
}

std::string OpisUrzadzeniaPortu(const std::string& nazwaPortu) {
    const std::string urzadzenie = UrzadzeniePortu(nazwaPortu);
    if (urzadzenie == kVaVirtualDevice) {
        return "port wirtualny, " + VaVirtualLinkPath(nazwaPortu);
    }
    if (const auto adres = VaParseNetAddress(urzadzenie)) {
        return (adres->Kind == TVaNetKind::Rfc2217 ? "sieć RFC 2217, " : "sieć TCP, ") +
               std::string(VaNetAddressPart(VaNetAddressText(*adres)));
    }
    return urzadzenie;
}
