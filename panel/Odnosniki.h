#pragma once

#include <QUrl>

#include <filesystem>
#include <optional>

// The product's web page and the help page, opened in the system's browser.
namespace odnosniki {

// The product's web address as the windows show it. A placeholder under the
// reserved .invalid domain until the project has a site of its own.
inline constexpr char AdresStronyProduktu[] = "https://parvolen.invalid/";

// The help page, relative to a directory of the shared files.
inline constexpr char PlikPomocy[] = "Pomoc/help.html";

// The page the windows open: index.html of the product's site.
QUrl StronaProduktu();

// The help page where the shared files are looked for (the current directory
// first); nothing when it is in none of them.
std::optional<std::filesystem::path> StronaPomocy();

// The file URL of a help page found on disk.
QUrl AdresPomocy(const std::filesystem::path& strona);

// Both return whether the desktop accepted the request.
bool OtworzStroneProduktu();
bool OtworzPomoc(const std::filesystem::path& strona);

} // namespace odnosniki
