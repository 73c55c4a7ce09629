#pragma once

#include <cstdint>
#include <string>

// What the host link tells a recorder about the line: every frame received,
// every reply sent and the line's own events, each as one row. The link
// fills a row completely before handing it over; what is done with it
// (kept, shown, saved) is the recorder's business.
namespace hostlink {

enum class Kierunek : std::uint8_t {
    Odebrana, // from the programming software
    Wyslana,  // the simulator's reply
    Linia,    // an event of the line or of the simulator, no frame
};

struct WpisLacza {
    // Microseconds since the last switch-on (since start-up before the first).
    std::int64_t czas_us = 0;
    Kierunek kierunek = Kierunek::Linia;
    // The characters as they passed the line; a very long line is cut.
    std::string ramka;
    bool ucieta = false;
    // What the host link took the frame for, or what happened on the line.
    std::string znaczenie;
    // For a received frame that carries one: the FCS computed from its text
    // and the two characters it was sent with. Both empty otherwise.
    std::string fcsObliczona;
    std::string fcsPrzeslana;
    // For a reply: from the read that completed its frame to its queueing.
    std::int64_t opoznienie_us = -1;
    // Why a received frame got no reply, or what went wrong handling it.
    std::string powod;

    bool FcsRozna() const { return fcsObliczona != fcsPrzeslana; }
};

class ZapisLacza {
public:
    virtual ~ZapisLacza() = default;
    // Called on the thread that handles the line (the window thread); an
    // implementation may be read from another.
    virtual void Zapisz(WpisLacza wpis) = 0;
};

} // namespace hostlink
