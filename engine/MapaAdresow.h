#pragma once

// Where the controller keeps its inputs, outputs, analog settings and system
// bits in the IR/SR area. Every layer that touches one of them names it here,
// so the scan, the monitor replies and the front panel cannot drift apart.
namespace plc {

struct AdresBitu {
    int kanal;
    int bit;
};

// Nine inputs, IR 000.00-000.08, and nine outputs, IR 010.00-010.08.
inline constexpr int LiczbaPunktowWeWy = 9;
inline constexpr int KanalWejsc = 0;
inline constexpr int KanalWyjsc = 10;

// The two analog settings, each a BCD word.
inline constexpr int KanalSR250 = 250;
inline constexpr int KanalSR251 = 251;

// Channels from here to the last hold system bits.
inline constexpr int PierwszyKanalSystemowy = 253;

inline constexpr AdresBitu ZawszeWlaczony{253, 13};
inline constexpr AdresBitu ZawszeWylaczony{253, 14};
inline constexpr AdresBitu PierwszyCykl{253, 15};
inline constexpr AdresBitu ZegarMinutowy{254, 0};
inline constexpr AdresBitu ZegarSekundowy{255, 2};
inline constexpr AdresBitu Przeniesienie{255, 4};
inline constexpr AdresBitu Wiekszy{255, 5};
inline constexpr AdresBitu Rowny{255, 6};
inline constexpr AdresBitu Mniejszy{255, 7};

} // namespace plc
