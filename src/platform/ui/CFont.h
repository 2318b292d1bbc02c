#pragma once
// CFont: a font by face, height and weight. A positive height is the cell height in
// pixels, a negative one the character height, zero the dialog font's. The faces
// "Tahoma" and "MS Shell Dlg" draw with the dialog face (see DeviceScreen.h).
#include "platform/ui/CGdiObject.h"

class CDC;

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    BOOL CreateFontIndirect(const LOGFONT* logFont);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                    BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, LPCWSTR faceName);
    // Height in tenths of a point at the screen's resolution.
    BOOL CreatePointFont(int pointSize, LPCWSTR faceName, CDC* dc = nullptr);
    int GetLogFont(LOGFONT* logFont) const;
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT font) {
        return static_cast<CFont*>(CGdiObject::FromHandle(font));
    }
};
