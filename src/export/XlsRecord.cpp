#include "export/XlsRecord.h"

#include "export/LittleEndian.h"

namespace korvyn {

std::size_t XlsRecord::DataSize() const {
    XlsSerializer counter;
    WriteData(counter);
    return counter.DataSize();
}

std::size_t XlsRecord::RecordSize() const {
    XlsSerializer counter;
    WriteData(counter);
    return counter.DataSize() + 4 * (1 + counter.ContinuePositions().size());
}

std::size_t XlsRecord::Write(std::uint8_t* at) const {
    XlsSerializer out(at + 4);
    WriteData(out);
    const auto& continues = out.ContinuePositions();
    const std::size_t size = out.DataSize();
    // Piece i spans the data from its start to the next piece's start.
    std::size_t start = 0;
    std::uint8_t* header = at;
    for (std::size_t i = 0; i <= continues.size(); ++i) {
        const std::size_t end = i < continues.size() ? continues[i] : size;
        PutU16(header, i == 0 ? type_ : kContinue);
        PutU16(header + 2, static_cast<std::uint16_t>(end - start));
        header += 4 + (end - start);
        start = end;
    }
    return static_cast<std::size_t>(header - at);
}

} // namespace korvyn
