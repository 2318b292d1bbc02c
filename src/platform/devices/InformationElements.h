#pragma once
// Reads what the program needs from a BSS's information elements: the kind of security
// (RSN element, WPA vendor element) and the channel width and centre (HT, VHT, HE and EHT
// operation elements). Each element is checked against its minimum length in one place;
// an element that runs past the data ends the walk, and what was read before it counts.
#include "platform/WinTypes.h"
#include "wifi/ChannelUse.h"

#include <cstddef>

namespace korvyn::platform {

// What the elements say, before it is weighed against the capability's privacy bit and
// the BSS's frequency.
struct ElementFacts {
    bool rsn = false;      // an RSN element (WPA2 and later)
    bool wpa = false;      // the WPA vendor element
    unsigned rsnAkms = 0;  // Akm bits of the RSN element's suites
    unsigned wpaAkms = 0;  // Akm bits of the WPA element's suites
    DWORD htWidthMhz = 0;  // 20 or 40 from the HT operation element, 0 without one
    int htSecondary = 0;   // +1 secondary channel above the primary, -1 below
    DWORD vhtWidthMhz = 0; // 80 or 160 from the VHT operation element
    BYTE vhtCentre = 0;    // its channel number of the centre
    DWORD heWidthMhz = 0;  // from the HE operation element's 6 GHz information
    BYTE heCentre = 0;
    DWORD ehtWidthMhz = 0; // from the EHT operation element
    BYTE ehtCentre = 0;
};

// Kinds of authentication and key management suites.
enum Akm : unsigned {
    kAkmPsk = 1,    // PSK, FT-PSK, PSK-SHA256
    kAkm8021x = 2,  // 802.1X, FT-802.1X, 802.1X-SHA256
    kAkmSae = 4,    // SAE, FT-SAE, SAE with any group
    kAkmSuiteB = 8, // 802.1X Suite B (WPA3-Enterprise)
    kAkmOwe = 16,   // opportunistic wireless encryption
    kAkmOther = 32, // any other suite
};

ElementFacts ReadElements(const BYTE* data, std::size_t size);

// The Privacy value (see wifi/SecurityClass.h) of a BSS whose capability has the privacy
// bit set or not.
DWORD SecurityOf(bool privacyBit, const ElementFacts& facts);

// Width and centre of the channel of a BSS on frequencyKhz; 20 MHz at the primary channel
// when the elements say nothing more.
ChannelUse ChannelUseOf(DWORD frequencyKhz, const ElementFacts& facts);

} // namespace korvyn::platform
