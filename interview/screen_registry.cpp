#include "interview/screen_registry.h"

#include <map>
#include <string>

#include "interview/child_form.h"

namespace cgt {

namespace {

constexpr ScreenTableRow Row(std::array<int, 6> numbers, std::string_view className, char caption,
                             int helpContext, bool showNext = true, bool showPrev = true) {
    return {numbers, className, caption, helpContext, showNext, showPrev};
}

// Section 20 (2004–2098) and section 21 (2101–2107). 2099 is never asked for: the frame shows
// 2101 instead.
constexpr std::array kScreenTable{
    Row({2004}, "TQCGT_83", 'A', 347),
    Row({2005}, "TQCGT_56", 'A', 32),
    Row({2006}, "TQCGT_39a", 'B', 3),
    Row({2007}, "TQCGT_39", 'A', 3),
    Row({2009, 2022, 2035, 2045, 2055, 2065}, "TQCGT_08", 'A', 16),
    Row({2010, 2023, 2036, 2047, 2056, 2066}, "TQCGT_11", 'A', 19),
    Row({2011, 2024, 2037, 2048, 2057, 2067}, "TQCGT_12", 'A', 20),
    Row({2012}, "TQCGT_18", 'A', 184),
    Row({2013, 2026, 2038, 2058, 2068}, "TQCGT_19", 'A', 206),
    Row({2014, 2027}, "TQCGT_20b", 'A', 29),
    Row({2015}, "TQCGT_59a", 'A', 30),
    Row({2016, 2029, 2040, 2060, 2070}, "TQCGT_58", 'A', 30),
    Row({2017}, "TQCGT_40", 'A', 3),
    Row({2018}, "TQCGT_03a", 'A', 4),
    Row({2019}, "TQCGT02_04", 'A', 349),
    Row({2020}, "TQCGT_41", 'A', 216),
    Row({2025}, "TQCGT_18b", 'A', 203),
    Row({2028}, "TQCGT_59b", 'A', 30),
    Row({2030}, "TQCGT_42", 'A', 216),
    Row({2031}, "TQCGT_43a", 'B', 7),
    Row({2032}, "TQCGT_43b", 'A', 80),
    Row({2033}, "TQCGT_43", 'A', 7),
    Row({2039}, "TQCGT_20a", 'A', 29),
    Row({2041}, "TQCGT_44", 'A', 7),
    Row({2042}, "TQCGT_80", 'A', 345),
    Row({2043}, "TQCGT_81", 'A', 345),
    Row({2046}, "TQCGT_19a", 'A', 206),
    Row({2049, 2059, 2069}, "TQCGT_20", 'A', 29),
    Row({2050}, "TQCGT_58A", 'A', 30),
    Row({2051}, "TQCGT_82", 'C', 345),
    Row({2052}, "TQCGT_45a", 'B', 8),
    Row({2053}, "TQCGT_45", 'A', 8),
    Row({2061}, "TQCGT_46", 'A', 8),
    Row({2062}, "TQCGT_47a", 'A', 11),
    Row({2063}, "TQCGT_47", 'A', 11),
    Row({2071}, "TQCGT_48", 'A', 11),
    Row({2072}, "TQCGT_49a", 'A', 10),
    Row({2073}, "TQCGT_49", 'A', 10),
    Row({2074}, "TQCGT_08g", 'A', 15, true, false),
    Row({2075}, "TQCGT_36a", 'A', 374),
    Row({2081}, "TQCGT_50", 'C', 10),
    Row({2088}, "TQCGT_60", 'A', 235),
    Row({2096}, "TQCGT_35", 'A', 82),
    Row({2097}, "TQCGT_36", 'A', 262),
    Row({2098}, "TQCGT_37", 'A', 82, true, false),
    Row({2101}, "TQCGT02_05", 'A', 346),
    Row({2102}, "TQCGT_57", 'A', 33),
    Row({2103}, "TQCGT_62", 'A', 33, false, true),
    Row({2104}, "TQCGT_64", 'A', 34),
    Row({2105}, "TQCGT_65", 'A', 34),
    Row({2106}, "TQCGT_66", 'A', 35),
    Row({2107}, "TQCGT_67", 'A', 37),
};

std::map<std::string, ScreenFactory, std::less<>>& Factories() {
    static std::map<std::string, ScreenFactory, std::less<>> factories;
    return factories;
}

} // namespace

std::span<const ScreenTableRow> ScreenTable() {
    return kScreenTable;
}

const ScreenTableRow* FindScreenRow(int screen) {
    if (screen <= 0) return nullptr;
    for (const ScreenTableRow& row : kScreenTable)
        for (int number : row.numbers) {
            if (number == 0) break;
            if (number == screen) return &row;
        }
    return nullptr;
}

const char* CaptionText(char caption) {
    switch (caption) {
    case 'A':
        return kCaptionA;
    case 'B':
        return kCaptionB;
    case 'C':
        return kCaptionC;
    default:
        return "";
    }
}

bool RegisterScreenClass(std::string_view className, ScreenFactory factory) {
    Factories()[std::string(className)] = std::move(factory);
    return true;
}

void UnregisterScreenClass(std::string_view className) {
    auto& factories = Factories();
    if (auto it = factories.find(className); it != factories.end()) factories.erase(it);
}

bool ScreenClassRegistered(std::string_view className) {
    const auto& factories = Factories();
    auto it = factories.find(className);
    return it != factories.end() && it->second;
}

TChildForm* CreateScreen(int screen) {
    const ScreenTableRow* row = FindScreenRow(screen);
    if (!row) return nullptr;
    const auto& factories = Factories();
    auto it = factories.find(row->className);
    if (it == factories.end() || !it->second) return nullptr;
    TChildForm* form = it->second();
    if (!form) return nullptr;
    form->setCaption(QString::fromLatin1(CaptionText(row->caption)));
    form->setHelpContext(row->helpContext);
    form->setShowNextButton(row->showNext);
    form->setShowPrevButton(row->showPrev);
    return form;
}

} // namespace cgt
