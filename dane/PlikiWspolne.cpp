#include "dane/PlikiWspolne.h"

#include <QCoreApplication>

#include <system_error>

namespace {

std::filesystem::path KatalogProgramu() {
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
}

} // namespace

std::filesystem::path KatalogShare() {
    return (KatalogProgramu() / ".." / "share").lexically_normal();
}

std::filesystem::path KatalogPlikowWspolnych() {
    return KatalogShare() / "parvolen";
}

std::vector<std::filesystem::path> KatalogiPlikowWspolnych() {
    std::error_code blad;
    std::vector<std::filesystem::path> katalogi;
    if (const auto biezacy = std::filesystem::current_path(blad); !blad) {
        katalogi.push_back(biezacy);
    }
    katalogi.push_back(KatalogProgramu());
    katalogi.push_back(KatalogPlikowWspolnych());
    return katalogi;
}

std::optional<std::filesystem::path>
ZnajdzPlik(const std::filesystem::path& nazwa, const std::vector<std::filesystem::path>& katalogi) {
    for (const std::filesystem::path& katalog : katalogi) {
        std::error_code blad;
        const std::filesystem::path plik = katalog / nazwa;
        if (std::filesystem::is_regular_file(plik, blad)) {
            return plik;
        }
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> PlikWspolny(const std::filesystem::path& nazwa) {
    return ZnajdzPlik(nazwa, KatalogiPlikowWspolnych());
}
