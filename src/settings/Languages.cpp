#include "settings/Languages.h"

#include "resource.h"

namespace korvyn {

const std::array<LanguageInfo, kLanguageCount> kLanguages = {{
    {0, u"English", ID_LANGUAGE_ENGLISH, u"&English", IDS_ENGLISH_BASE, IDB_FLAG_ENGLISH},
    {1, u"English Australia", ID_LANGUAGE_ENGLISH_AUSTRALIA, u"E&nglish Australia",
     IDS_ENGLISH_BASE, IDB_FLAG_ENGLISH_AUSTRALIA},
    {2, u"English Canada", ID_LANGUAGE_ENGLISH_CANADA, u"En&glish Canada", IDS_ENGLISH_BASE,
     IDB_FLAG_ENGLISH_CANADA},
    {3, u"English UK", ID_LANGUAGE_ENGLISH_UK, u"Eng&lish UK", IDS_ENGLISH_BASE,
     IDB_FLAG_ENGLISH_UK},
    {4, u"Englis USA", ID_LANGUAGE_ENGLISH_USA, u"English &USA", IDS_ENGLISH_BASE,
     IDB_FLAG_ENGLISH_USA},
    {5, u"Hungarian", ID_LANGUAGE_HUNGARIAN, u"&Magyar", IDS_HUNGARIAN_BASE, IDB_FLAG_HUNGARIAN},
    {6, u"Polish", ID_LANGUAGE_POLISH, u"&Polski", IDS_POLISH_BASE, IDB_FLAG_POLISH},
    {7, u"French", ID_LANGUAGE_FRENCH, u"&Français", IDS_FRENCH_BASE, IDB_FLAG_FRENCH},
    {8, u"French Canada", ID_LANGUAGE_FRENCH_CANADA, u"Français &Québec", IDS_FRENCH_BASE,
     IDB_FLAG_FRENCH_CANADA},
    {9, u"Portuguese", ID_LANGUAGE_PORTUGUESE, u"P&ortuguês", IDS_PORTUGUESE_BASE,
     IDB_FLAG_PORTUGUESE},
    {10, u"Russian", ID_LANGUAGE_RUSSIAN, u"P&усский", IDS_RUSSIAN_BASE, IDB_FLAG_RUSSIAN},
    {11, u"German", ID_LANGUAGE_GERMAN, u"&Deutsch", IDS_GERMAN_BASE, IDB_FLAG_GERMAN},
    {12, u"Italian", ID_LANGUAGE_ITALIAN, u"Italiano", IDS_ITALIAN_BASE, IDB_FLAG_ITALIAN},
}};

const LanguageInfo& LanguageByNumber(int number) {
    return number >= 0 && number < kLanguageCount ? kLanguages[number] : kLanguages[0];
}

const LanguageInfo* LanguageByMenuId(UINT menuId) {
    for (const auto& language : kLanguages)
        if (language.menuId == menuId)
            return &language;
    return nullptr;
}

} // namespace korvyn
