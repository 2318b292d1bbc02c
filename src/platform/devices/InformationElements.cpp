#include "platform/devices/InformationElements.h"

#include "wifi/SecurityClass.h"

#include <cstdlib>
#include <cstring>

namespace korvyn::platform {
namespace {

constexpr BYTE kElementRsn = 48;
constexpr BYTE kElementHtOperation = 61;
constexpr BYTE kElementVhtOperation = 192;
constexpr BYTE kElementVendor = 221;
constexpr BYTE kElementExtension = 255;
constexpr BYTE kExtensionHeOperation = 36;
constexpr BYTE kExtensionEhtOperation = 106;

constexpr BYTE kOuiIeee[3] = {0x00, 0x0f, 0xac};
constexpr BYTE kOuiMicrosoft[3] = {0x00, 0x50, 0xf2};
constexpr BYTE kVendorTypeWpa = 1;

// A cursor over one element's body: every read is checked against what is left.
struct Body {
    const BYTE* at;
    std::size_t left;

    bool Take(std::size_t n, const BYTE*& out) {
        if (left < n)
            return false;
        out = at;
        at += n;
        left -= n;
        return true;
    }
    bool Count(unsigned& n) {
        const BYTE* p = nullptr;
        if (!Take(2, p))
            return false;
        n = p[0] | (p[1] << 8);
        return true;
    }
};

unsigned RsnAkm(const BYTE* suite) {
    if (std::memcmp(suite, kOuiIeee, 3) != 0)
        return kAkmOther;
    switch (suite[3]) {
    case 1:
    case 3:
    case 5:
        return kAkm8021x;
    case 2:
    case 4:
    case 6:
        return kAkmPsk;
    case 8:
    case 9:
    case 24:
    case 25:
        return kAkmSae;
    case 12:
    case 13:
        return kAkmSuiteB;
    case 18:
        return kAkmOwe;
    default:
        return kAkmOther;
    }
}

unsigned WpaAkm(const BYTE* suite) {
    if (std::memcmp(suite, kOuiMicrosoft, 3) != 0)
        return kAkmOther;
    return suite[3] == 1 ? kAkm8021x : suite[3] == 2 ? kAkmPsk : kAkmOther;
}

// After the version and the group cipher: the pairwise ciphers, then the key management
// suites. A list cut short keeps the suites read before the cut.
unsigned ReadAkmSuites(Body body, unsigned (*kind)(const BYTE*)) {
    const BYTE* p = nullptr;
    unsigned count = 0;
    if (!body.Take(2 + 4, p) || !body.Count(count) || !body.Take(4 * std::size_t{count}, p))
        return 0;
    unsigned akms = 0;
    if (!body.Count(count))
        return 0;
    for (unsigned i = 0; i < count && body.Take(4, p); ++i)
        akms |= kind(p);
    return akms;
}

void ReadRsn(Body body, ElementFacts& facts) {
    facts.rsn = true;
    facts.rsnAkms = ReadAkmSuites(body, RsnAkm);
}

void ReadVendor(Body body, ElementFacts& facts) {
    if (std::memcmp(body.at, kOuiMicrosoft, 3) != 0 || body.at[3] != kVendorTypeWpa)
        return;
    facts.wpa = true;
    body.at += 4;
    body.left -= 4;
    facts.wpaAkms = ReadAkmSuites(body, WpaAkm);
}

void ReadHt(Body body, ElementFacts& facts) {
    const BYTE info = body.at[1];
    const BYTE offset = info & 0x03;
    const bool anyWidth = (info & 0x04) != 0;
    facts.htWidthMhz = anyWidth && (offset == 1 || offset == 3) ? 40 : 20;
    facts.htSecondary = facts.htWidthMhz == 40 ? (offset == 1 ? 1 : -1) : 0;
}

// The width and centre of a channel given as two centre channel numbers: a 160 MHz
// channel has the 80 MHz one in the first and its own in the second; a second segment
// further away is 80+80, of which the primary 80 MHz is kept.
void TwoSegments(BYTE ccfs0, BYTE ccfs1, DWORD& width, BYTE& centre) {
    if (ccfs1 != 0 && std::abs(int{ccfs1} - int{ccfs0}) == 8) {
        width = 160;
        centre = ccfs1;
    } else {
        width = 80;
        centre = ccfs0;
    }
}

void ReadVht(Body body, ElementFacts& facts) {
    const BYTE width = body.at[0], ccfs0 = body.at[1], ccfs1 = body.at[2];
    if (width == 1) {
        TwoSegments(ccfs0, ccfs1, facts.vhtWidthMhz, facts.vhtCentre);
    } else if (width == 2) { // the older way to say 160 MHz
        facts.vhtWidthMhz = 160;
        facts.vhtCentre = ccfs0;
    } else if (width == 3) { // the older way to say 80+80 MHz
        facts.vhtWidthMhz = 80;
        facts.vhtCentre = ccfs0;
    }
}

void ReadHe(Body body, ElementFacts& facts) {
    const DWORD parameters = body.at[0] | (body.at[1] << 8) | (body.at[2] << 16);
    const BYTE* p = nullptr;
    body.Take(6, p); // parameters, BSS colour, basic HE-MCS and NSS set
    if ((parameters & (1u << 14)) && !body.Take(3, p)) // VHT operation information
        return;
    if ((parameters & (1u << 15)) && !body.Take(1, p)) // co-hosted BSSID indicator
        return;
    if (!(parameters & (1u << 17)) || !body.Take(5, p)) // 6 GHz operation information
        return;
    const BYTE width = p[1] & 0x03, ccfs0 = p[2], ccfs1 = p[3];
    if (width == 3) {
        TwoSegments(ccfs0, ccfs1, facts.heWidthMhz, facts.heCentre);
    } else {
        facts.heWidthMhz = 20u << width;
        facts.heCentre = ccfs0;
    }
}

void ReadEht(Body body, ElementFacts& facts) {
    const BYTE parameters = body.at[0];
    const BYTE* p = nullptr;
    body.Take(5, p);                              // parameters, basic EHT-MCS and NSS set
    if (!(parameters & 0x01) || !body.Take(3, p)) // EHT operation information
        return;
    const BYTE width = p[0] & 0x07, ccfs0 = p[1], ccfs1 = p[2];
    if (width > 4)
        return;
    facts.ehtWidthMhz = 20u << width;
    // 160 and 320 MHz channels name their centre in the second field.
    facts.ehtCentre = width >= 3 ? ccfs1 : ccfs0;
}

struct Reader {
    BYTE id;
    std::size_t minLength;
    void (*read)(Body, ElementFacts&);
};

void ReadExtension(Body body, ElementFacts& facts);

constexpr Reader kElements[] = {
    {kElementRsn, 2, ReadRsn},
    {kElementHtOperation, 2, ReadHt},
    {kElementVhtOperation, 3, ReadVht},
    {kElementVendor, 4, ReadVendor},
    {kElementExtension, 1, ReadExtension},
};

constexpr Reader kExtensions[] = {
    {kExtensionHeOperation, 6, ReadHe},
    {kExtensionEhtOperation, 5, ReadEht},
};

// Hands a body to the reader for its id, if there is one and the body is long enough.
template <std::size_t N>
void Dispatch(const Reader (&table)[N], BYTE id, Body body, ElementFacts& facts) {
    for (const Reader& reader : table)
        if (reader.id == id && body.left >= reader.minLength)
            reader.read(body, facts);
}

void ReadExtension(Body body, ElementFacts& facts) {
    Dispatch(kExtensions, body.at[0], Body{body.at + 1, body.left - 1}, facts);
}

DWORD Centre(Band band, BYTE channel, DWORD otherwise) {
    const DWORD f = channel ? ChannelFrequency(band, channel) : 0;
    return f ? f : otherwise;
}

} // namespace

ElementFacts ReadElements(const BYTE* data, std::size_t size) {
    ElementFacts facts;
    if (!data)
        return facts;
    while (size >= 2 && size - 2 >= data[1]) {
        Dispatch(kElements, data[0], Body{data + 2, data[1]}, facts);
        size -= 2 + std::size_t{data[1]};
        data += 2 + std::size_t{data[1]};
    }
    return facts;
}

DWORD SecurityOf(bool privacyBit, const ElementFacts& facts) {
    if (facts.rsn) {
        const unsigned a = facts.rsnAkms;
        const bool wpa2 = a & (kAkmPsk | kAkm8021x);
        const bool wpa3 = a & (kAkmSae | kAkmSuiteB);
        if (!wpa2 && !wpa3 && (a & kAkmOwe))
            return kSecurityOwe;
        // An RSN element without a suite the program knows is at least WPA2.
        const DWORD kind = wpa2 && wpa3 ? kSecurityWpa2Wpa3 : wpa3 ? kSecurityWpa3 : kSecurityWpa2;
        return kind | ((a & (kAkm8021x | kAkmSuiteB)) ? kSecurityEnterprise : 0);
    }
    if (facts.wpa)
        return kSecurityWpa | ((facts.wpaAkms & kAkm8021x) ? kSecurityEnterprise : 0);
    return privacyBit ? kSecurityWep : kSecurityOpen;
}

ChannelUse ChannelUseOf(DWORD frequencyKhz, const ElementFacts& facts) {
    ChannelUse use;
    use.frequencyKhz = frequencyKhz;
    if (frequencyKhz == 0)
        return use;
    const Band band = BandOf(frequencyKhz);
    use.widthMhz = 20;
    use.centreKhz = frequencyKhz;
    if (facts.ehtWidthMhz) {
        use.widthMhz = facts.ehtWidthMhz;
        use.centreKhz = Centre(band, facts.ehtCentre, frequencyKhz);
    } else if (facts.heWidthMhz) {
        use.widthMhz = facts.heWidthMhz;
        use.centreKhz = Centre(band, facts.heCentre, frequencyKhz);
    } else if (facts.vhtWidthMhz) {
        use.widthMhz = facts.vhtWidthMhz;
        use.centreKhz = Centre(band, facts.vhtCentre, frequencyKhz);
    } else if (facts.htWidthMhz == 40) {
        use.widthMhz = 40;
        use.centreKhz = frequencyKhz + static_cast<DWORD>(facts.htSecondary * 10000);
    }
    return use;
}

} // namespace korvyn::platform
