#include "settings/CLanguageTable.h"

#include "resource.h"
#include "settings/Languages.h"

namespace {

constexpr const char16_t* kNotFound = u"<Not found>";

} // namespace

CLanguageTable::CLanguageTable(HMODULE module) : module_(module) {}

bool CLanguageTable::Load(int language) {
    const bool known = language >= 0 && language < korvyn::kLanguageCount;
    const UINT base = korvyn::LanguageByNumber(language).stringBase;
    // A zero-sized buffer hands out the resource's own text, whatever its length.
    auto load = [this](UINT id, std::u16string& text) {
        LPCWSTR start = nullptr;
        const int length = LoadString(module_, id, reinterpret_cast<LPWSTR>(&start), 0);
        if (length <= 0)
            return false;
        text.assign(start, static_cast<std::size_t>(length));
        return true;
    };
    for (int i = 0; i < kTextCount; ++i) {
        if (!load(base + i, texts_[i]) && !load(IDS_ENGLISH_BASE + i, texts_[i]))
            texts_[i] = kNotFound;
    }
    texts_[kTextCount] = kNotFound;
    language_ = known ? language : 0;
    return known;
}

const std::u16string& CLanguageTable::Text(int number) const {
    return number >= 0 && number < kTextCount ? texts_[number] : texts_[kTextCount];
}
