#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

// Reads Program.cpm and DM.cpm line by line. A line ends at CR LF, at LF or
// at a lone CR, so a file saved by any editor reads as the lines it shows;
// the files the program writes itself end every line with CR LF.
namespace plc {

class CzytnikLinii {
public:
    // Throws BladPliku when the file cannot be opened.
    explicit CzytnikLinii(const std::filesystem::path& plik);

    // The next line without its end, of which at most najwiecej characters are
    // kept; false at the end of the file. Throws BladPliku when reading fails.
    bool nastepna(std::string& linia, std::size_t najwiecej = std::string::npos);

private:
    struct Zamykacz {
        void operator()(std::FILE* f) const noexcept { std::fclose(f); }
    };

    std::filesystem::path plik_;
    std::unique_ptr<std::FILE, Zamykacz> f_;
    bool poCR_ = false; // the last line ended at a CR: an LF right after it is part of that end
};

} // namespace plc
