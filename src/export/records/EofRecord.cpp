#include "export/records/EofRecord.h"

namespace korvyn {

void EofRecord::WriteData(XlsSerializer&) const {}

} // namespace korvyn
