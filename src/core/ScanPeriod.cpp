#include "core/ScanPeriod.h"

#include "settings/CSettings.h"

UINT GetScanPeriod(const CSettings& settings) {
    DWORD refresh = 0;
    if (!settings.GetValue(CSettings::kRefresh, refresh) || refresh < 1 || refresh > 5) {
        return 1000;
    }
    return 500 * refresh;
}
