#include "platform/ui/detail/FontMapping.h"

#include "platform/ui/DeviceScreen.h"
#include "platform/ui/detail/FontFileTables.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QRawFont>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <tuple>

namespace korvyn::platform {
namespace {

// The tables of the faces loaded from files, read once from the files themselves: a face
// measured through Qt would need a font engine of its own.
using FaceKey = std::tuple<QString, bool, bool>; // family, bold, italic
std::map<FaceKey, FaceTables>& FileFaces() {
    static auto* faces = new std::map<FaceKey, FaceTables>;
    return *faces;
}

void RememberFileFace(const QString& family, const char* path) {
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    // Mapped, so that only the pages of the few tables read are touched.
    const uchar* bytes = file.map(0, file.size());
    if (bytes == nullptr) {
        return;
    }
    if (auto tables = ReadFaceTables({bytes, static_cast<std::size_t>(file.size())})) {
        FileFaces().emplace(FaceKey{family, tables->bold, tables->italic}, *tables);
    }
    file.unmap(const_cast<uchar*>(bytes));
}

QString LoadDialogFace() {
    // Debian's fonts-wine ships a free Tahoma outside fontconfig's folders.
    const char* files[] = {"/usr/share/wine/fonts/tahoma.ttf",
                           "/usr/share/wine/fonts/tahomabd.ttf"};
    QString family;
    for (const char* f : files) {
        int id = QFontDatabase::addApplicationFont(QString::fromLatin1(f));
        QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
        if (families.isEmpty()) {
            continue;
        }
        RememberFileFace(families.front(), f);
        if (family.isEmpty()) {
            family = families.front();
        }
    }
    return family.isEmpty() ? QStringLiteral("DejaVu Sans") : family;
}

// What the font mapper reads from a face's own tables, in font units.
struct FaceMetrics {
    double unitsPerEm = 1;
    double winAscent = 1;
    double winDescent = 0;
    double averageWidth = 0;
    // A bold face drawn with the regular face's strokes (fonts-wine's Tahoma Bold only
    // spaces the regular outlines wider).
    bool thinBold = false;
};

int TableU16(const QByteArray& table, int offset) {
    return offset + 2 <= table.size() ? qFromBigEndian<quint16>(table.constData() + offset) : 0;
}

// The width of the stem of "l", which a bold face draws heavier.
double StemWidth(const QFont& font) {
    QRawFont raw = QRawFont::fromFont(font);
    QList<quint32> glyphs = raw.glyphIndexesForString(QStringLiteral("l"));
    return glyphs.size() == 1 && glyphs[0] != 0 ? raw.pathForGlyph(glyphs[0]).boundingRect().width()
                                                : 0;
}

FaceMetrics ReadFace(const QFont& font) {
    QFont probe(font);
    probe.setPixelSize(256);
    QRawFont raw = QRawFont::fromFont(probe);
    QByteArray head = raw.fontTable("head");
    QByteArray os2 = raw.fontTable("OS/2");
    FaceMetrics m;
    int unitsPerEm = TableU16(head, 18);
    int winAscent = TableU16(os2, 74);
    int winDescent = TableU16(os2, 76);
    if (unitsPerEm > 0 && winAscent + winDescent > 0) {
        m.unitsPerEm = unitsPerEm;
        m.winAscent = winAscent;
        m.winDescent = winDescent;
        m.averageWidth = static_cast<qint16>(TableU16(os2, 2));
    } else {
        // A face without those tables: Qt's own ascent and descent stand in.
        QFontMetricsF fm(probe);
        m.unitsPerEm = 256;
        m.winAscent = std::max(1.0, fm.ascent());
        m.winDescent = fm.descent();
        m.averageWidth = fm.averageCharWidth();
    }
    if (probe.bold()) {
        QFont regular(probe);
        regular.setWeight(QFont::Normal);
        double stem = StemWidth(probe);
        m.thinBold = stem > 0 && stem < StemWidth(regular) * 1.05;
    }
    return m;
}

// The metrics of a face loaded from a file, from the tables read with it; nothing for
// other faces.
std::optional<FaceMetrics> FileFace(const FaceKey& key) {
    const auto& faces = FileFaces();
    auto it = faces.find(key);
    if (it == faces.end()) {
        return std::nullopt;
    }
    const FaceTables& t = it->second;
    FaceMetrics m;
    m.unitsPerEm = t.unitsPerEm;
    m.winAscent = t.winAscent;
    m.winDescent = t.winDescent;
    m.averageWidth = t.averageWidth;
    if (std::get<1>(key)) {
        auto regular = faces.find(FaceKey{std::get<0>(key), false, std::get<2>(key)});
        if (regular == faces.end()) {
            return std::nullopt; // the regular face's strokes come from elsewhere
        }
        const double stem = double(t.stemWidth) / t.unitsPerEm;
        m.thinBold = stem > 0 &&
                     stem < double(regular->second.stemWidth) / regular->second.unitsPerEm * 1.05;
    }
    return m;
}

const FaceMetrics& Face(const QFont& font) {
    static auto* faces = new std::map<FaceKey, FaceMetrics>;
    FaceKey key{font.family(), font.bold(), font.italic()};
    auto it = faces->find(key);
    if (it == faces->end()) {
        std::optional<FaceMetrics> fromFile = FileFace(key);
        it = faces->emplace(key, fromFile ? *fromFile : ReadFace(font)).first;
    }
    return it->second;
}

} // namespace

QString DialogFaceName() {
    static QString face = LoadDialogFace();
    return face;
}

QFont QtFontFor(const LOGFONT& lf, FontCell& cell) {
    QString face = QString::fromUtf16(lf.lfFaceName);
    if (face.isEmpty() || face.compare(u"Tahoma", Qt::CaseInsensitive) == 0 ||
        face.startsWith(u"MS Shell Dlg", Qt::CaseInsensitive) ||
        face.compare(u"MS Sans Serif", Qt::CaseInsensitive) == 0) {
        face = DialogFaceName();
    }
    QFont f(face);
    f.setStyleStrategy(QFont::PreferDefault);
    // Hinting only across the baseline keeps the design advance widths; full hinting
    // rounds every advance up at small sizes and widens text by a tenth or more.
    f.setHintingPreference(QFont::PreferVerticalHinting);
    f.setWeight(lf.lfWeight >= FW_SEMIBOLD ? QFont::Bold : QFont::Normal);
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    f.setStrikeOut(lf.lfStrikeOut != 0);
    const FaceMetrics& m = Face(f);

    // Heights beyond what any screen shows are kept to a size Qt can draw.
    constexpr double kLargest = 4000;
    double height = lf.lfHeight != 0 ? lf.lfHeight : -PointsToPixels(8);
    height = std::clamp(height, -kLargest, kLargest);
    double cellUnits = m.winAscent + m.winDescent;
    double em = std::max(1.0, height > 0 ? height * m.unitsPerEm / cellUnits : -height);
    // Qt draws glyphs at whole pixel sizes; the advances are scaled to the exact em.
    int pixels = std::max(1, static_cast<int>(std::lround(em)));
    f.setPixelSize(pixels);
    if (std::abs(em - pixels) > 1e-6) {
        f.setLetterSpacing(QFont::PercentageSpacing, 100.0 * em / pixels);
    }

    if (height > 0) {
        cell.ascent = static_cast<int>(std::lround(height * m.winAscent / cellUnits));
        cell.descent = static_cast<int>(height) - cell.ascent;
    } else {
        cell.ascent = static_cast<int>(std::lround(em * m.winAscent / m.unitsPerEm));
        cell.descent = static_cast<int>(std::lround(em * m.winDescent / m.unitsPerEm));
    }
    cell.internalLeading = std::max(0, cell.height() - static_cast<int>(std::lround(em)));
    cell.averageWidth = static_cast<int>(std::lround(em * m.averageWidth / m.unitsPerEm));
    // The emboldening grows with the size as FreeType's does: a 24th of the em.
    cell.overstrike = m.thinBold ? std::max(1, static_cast<int>(std::lround(em / 24))) : 0;
    return f;
}

} // namespace korvyn::platform
