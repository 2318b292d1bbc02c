#pragma once
// The scan cycle's pace follows the "Refresh" setting, read afresh whenever a timer is
// armed: steps 1 to 5 scan every 500 ms times the step, anything else every second. The
// status lamp blinks at half that period.
#include "platform/WinTypes.h"

class CSettings;

UINT GetScanPeriod(const CSettings& settings);
