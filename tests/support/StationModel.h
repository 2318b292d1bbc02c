#pragma once
// A plain reference of the station table: what every record must hold after each merge
// and which stations the view must show in which order. Tests, the soak and the fuzz
// targets merge the same scans into both and compare.
#include "core/StationRecord.h"
#include "wifi/ScanObservation.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class StationTable;

namespace korvyn::test {

class StationModel {
public:
    struct Filter {
        bool hideSecured = false;
        bool hidePeers = false;
        bool mute = true;
    };

    // Mirrors one merge made at local time now (an OLE date); returns the number of
    // new-station sounds the merge must have asked for.
    std::size_t Merge(const ScanObservation* observations, DWORD count, double now,
                      const Filter& filter);
    void Clear();
    std::size_t Size() const { return records_.size(); }

    // Empty when the table holds exactly the model's records and its view (rebuilt with
    // the filter, giving total and active) lists the visible stations in display order;
    // otherwise the first difference found.
    std::string Check(const StationTable& table, DWORD total, DWORD active,
                      const Filter& filter) const;

private:
    std::vector<StationRecord> records_;
    std::unordered_map<std::uint64_t, DWORD> byMac_;
    std::vector<DWORD> active_;
};

} // namespace korvyn::test
