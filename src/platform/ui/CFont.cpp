#include "platform/ui/CFont.h"

#include "platform/ui/DeviceScreen.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CFont, CGdiObject)

BOOL CFont::CreateFontIndirect(const LOGFONT* logFont) {
    return Attach(::CreateFontIndirect(logFont));
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                       BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, LPCWSTR faceName) {
    LOGFONT lf{height,    width,   escapement,   orientation,   weight,  italic,         underline,
               strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily, {}};
    for (int i = 0; faceName != nullptr && faceName[i] != 0 && i < LF_FACESIZE - 1; ++i) {
        lf.lfFaceName[i] = faceName[i];
    }
    return CreateFontIndirect(&lf);
}

BOOL CFont::CreatePointFont(int pointSize, LPCWSTR faceName, CDC* /*dc*/) {
    int pixels = korvyn::platform::PointsToPixels(std::max(1, pointSize) / 10);
    return CreateFont(-pixels, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, faceName);
}

int CFont::GetLogFont(LOGFONT* logFont) const {
    return ::GetObject(m_hObject, sizeof(LOGFONT), logFont);
}
