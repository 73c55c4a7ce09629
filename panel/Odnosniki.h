#pragma once

#include <QDir>
#include <QUrl>

// The product's web page and the help page, opened in the system's browser.
namespace odnosniki {

// The product's web address as the windows show it. A placeholder under the
// reserved .invalid domain until the project has a site of its own.
inline constexpr char AdresStronyProduktu[] = "https://parvolen.invalid/";

// The page the windows open: index.html of the product's site.
QUrl StronaProduktu();

// Pomoc/help.html resolved against the given directory (the program passes
// the current directory, as a desktop launcher sets it).
QUrl AdresPomocy(const QDir& katalog);

// Both return whether the desktop accepted the request.
bool OtworzStroneProduktu();
bool OtworzPomoc();

} // namespace odnosniki
