#pragma once
// The program's only contact with the network hardware: finds the wireless adapters, asks
// one to scan, and reads its network list as scan observations. Talks to "UIO1:" for
// per-adapter requests and to "NDS0:" for the adapter names; every step is traced.
#include "platform/WinTypes.h"
#include "wifi/ChannelUse.h"
#include "wifi/ScanObservation.h"

#include <mutex>

class DAvirIzev {
public:
    DAvirIzev(); // opens the driver; a failed open shows up later as failed requests
    ~DAvirIzev();
    DAvirIzev(const DAvirIzev&) = delete;
    DAvirIzev& operator=(const DAvirIzev&) = delete;

    bool OpenDriver();
    void CloseDriver();

    bool IsWireless(LPCWSTR adapter);

    // list: caller's UTF-16 buffer; length: its capacity in bytes on entry, the bytes of
    // text written (without terminator) on return. The wireless adapters joined by ",";
    // the list is cut before the first name that would not fit with its terminator.
    bool GetAdapters(LPWSTR list, DWORD& length);

    // Asks the adapter to start a new scan.
    bool RefreshBSSIDs(LPCWSTR adapter);

    // Reads the adapter's current network list; capacity is the array's size in bytes,
    // count receives the observations written.
    bool GetBSSIDs(LPCWSTR adapter, ScanObservation* observations, DWORD capacity, DWORD& count);
    // The same, with the channel use of observation i in uses[i] (uses may be null; it
    // has room for as many entries as observations).
    bool GetBSSIDs(LPCWSTR adapter, ScanObservation* observations, DWORD capacity, DWORD& count,
                   korvyn::ChannelUse* uses);

private:
    std::mutex lock_;
    HANDLE driver_ = nullptr;
};
