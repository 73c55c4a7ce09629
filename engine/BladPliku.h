#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

// How a failure with one of the data files (Program.cpm, DM.cpm, the options
// file) reads in the error box: the system's text first, as the program has
// always shown it, then which file it was, so the user knows where to look.
namespace plc {

// The file's absolute path, as the user finds it in a file manager.
std::string PelnaSciezka(const std::filesystem::path& plik);

// "<tekst> (<full path>)".
std::string ZPlikiem(std::string_view tekst, const std::filesystem::path& plik);

// "<tekst> (<file name>, wiersz <wiersz>)", lines counted from 1 as an editor
// counts them.
std::string ZWierszem(std::string_view tekst, const std::filesystem::path& plik, int wiersz);

// A system call on the file failed: code() is the errno, what() its text
// followed by the file's full path.
class BladPliku : public std::system_error {
public:
    BladPliku(int kod, const std::filesystem::path& plik);
    const char* what() const noexcept override { return komunikat_.c_str(); }

private:
    std::string komunikat_;
};

} // namespace plc
