// GetUserDefaultLCID and GetLocaleInfoA on a POSIX system: the user's locale is found the way
// a desktop program finds it (LC_ALL, then the item's own category, then LANG) and each item
// is answered from the C library's locale data, translated into the form the item expects.
#include "platform/os/locale_formats.h"
#include "platform/os/locale_items.h"
#include "platform/os/operating_system.h"

#include <climits>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <optional>
#include <string>

namespace cuentas {
namespace {

enum class Category { Numeric, Time };

Category categoryOf(std::uint32_t item) {
    switch (item) {
    case LOCALE_SDECIMAL:
    case LOCALE_STHOUSAND:
    case LOCALE_IDIGITS:
        return Category::Numeric;
    default:
        return Category::Time;
    }
}

// A locale object of the C library, freed when it goes out of scope.
class CLocale {
public:
    CLocale(const std::string& name, int categoryMask) {
        // The character set comes from LC_CTYPE, so it is loaded under the same name.
        handle_ = newlocale(categoryMask | LC_CTYPE_MASK, name.c_str(), nullptr);
    }
    ~CLocale() {
        if (handle_) {
            freelocale(handle_);
        }
    }
    CLocale(const CLocale&) = delete;
    CLocale& operator=(const CLocale&) = delete;

    bool valid() const { return handle_ != nullptr; }
    std::string text(nl_item item) const { return nl_langinfo_l(item, handle_); }
    // A one-byte numeric item such as FRAC_DIGITS; CHAR_MAX means "not defined".
    std::optional<int> smallNumber(nl_item item) const {
        int value = static_cast<unsigned char>(*nl_langinfo_l(item, handle_));
        return value == CHAR_MAX || value == UCHAR_MAX ? std::nullopt : std::optional(value);
    }

private:
    locale_t handle_ = nullptr;
};

std::optional<std::string> toUtf8(const std::string& text, const std::string& codeset) {
    if (codeset == "UTF-8" || codeset == "ANSI_X3.4-1968") {
        return text;
    }
    iconv_t converter = iconv_open("UTF-8", codeset.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string input = text;
    std::string output(text.size() * 4 + 4, '\0');
    char* in = input.data();
    char* out = output.data();
    std::size_t inLeft = input.size();
    std::size_t outLeft = output.size();
    std::size_t done = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (done == static_cast<std::size_t>(-1)) {
        return std::nullopt;
    }
    output.resize(output.size() - outLeft);
    return output;
}

// What to answer from when the named locale is not installed.
enum class Missing { UseC, NoAnswer };

// The answer of `item` from the locale `name`, in Windows-1252; none when it has none.
std::optional<std::string> answerFrom(const std::string& name, std::uint32_t item,
                                      Missing missing) {
    Category category = categoryOf(item);
    int mask = category == Category::Numeric ? LC_NUMERIC_MASK | LC_MONETARY_MASK : LC_TIME_MASK;
    CLocale locale(name, mask);
    // A user's locale that is not installed leaves every program in the C locale.
    CLocale fallback("C", mask);
    const CLocale& source = locale.valid() || missing == Missing::NoAnswer ? locale : fallback;
    if (!source.valid()) {
        return std::nullopt;
    }

    using namespace localeformat;
    CompositeFormats composites;
    std::string dateFormat = source.text(D_FMT);
    std::string timeFormat = source.text(T_FMT);
    std::string amPmFormat = source.text(T_FMT_AMPM);
    composites.date = dateFormat;
    composites.time = timeFormat;
    composites.amPm = amPmFormat;

    std::optional<std::string> answer;
    switch (item) {
    case LOCALE_SDECIMAL:
        answer = source.text(RADIXCHAR);
        break;
    case LOCALE_STHOUSAND:
        answer = source.text(THOUSEP);
        break;
    case LOCALE_IDIGITS:
        if (auto digits = source.smallNumber(FRAC_DIGITS)) {
            answer = std::to_string(*digits);
        }
        break;
    case LOCALE_SDATE:
        answer = dateSeparator(expand(dateFormat, composites));
        break;
    case LOCALE_SSHORTDATE:
        answer = shortDatePicture(expand(dateFormat, composites));
        break;
    case LOCALE_IDATE:
        if (auto order = dateOrder(expand(dateFormat, composites))) {
            answer = std::to_string(*order);
        }
        break;
    case LOCALE_STIME:
        answer = timeSeparator(expand(timeFormat, composites));
        break;
    case LOCALE_ITIME:
        answer = usesTwelveHourClock(expand(timeFormat, composites)) ? "0" : "1";
        break;
    case LOCALE_S1159:
        answer = source.text(AM_STR);
        break;
    case LOCALE_S2359:
        answer = source.text(PM_STR);
        break;
    default:
        break;
    }
    // A separator the locale leaves empty (the C locale's thousands separator) is no answer:
    // an empty separator cannot stand between digits.
    bool separator = item == LOCALE_SDECIMAL || item == LOCALE_STHOUSAND;
    if (!answer || (separator && answer->empty())) {
        return std::nullopt;
    }
    auto utf8 = toUtf8(*answer, source.text(CODESET));
    return utf8 ? windows1252FromUtf8(*utf8) : std::nullopt;
}

// The first of the variables that is set and not empty; "C" when none is.
std::string firstSetVariable(OperatingSystem& system, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        auto value = system.environmentVariable(name);
        if (value && !value->empty()) {
            return *value;
        }
    }
    return "C";
}

std::string userLocaleName(OperatingSystem& system, Category category) {
    return firstSetVariable(
        system, {"LC_ALL", category == Category::Numeric ? "LC_NUMERIC" : "LC_TIME", "LANG"});
}

} // namespace

std::uint32_t OperatingSystem::userDefaultLocale() {
    // Like a desktop toolkit, the locale that numbers follow names the user's locale.
    return localeformat::localeIdentifier(userLocaleName(*this, Category::Numeric));
}

int OperatingSystem::localeInfo(std::uint32_t locale, std::uint32_t item, char* buffer, int size) {
    std::string name;
    Missing missing = Missing::UseC;
    bool userLocale = locale == 0 || locale == LOCALE_USER_DEFAULT ||
                      locale == LOCALE_SYSTEM_DEFAULT || locale == userDefaultLocale();
    if (userLocale) {
        // The user's own locale is answered per category, so LC_TIME can differ from LANG.
        name = userLocaleName(*this, categoryOf(item));
    } else if (auto known = localeformat::localeName(locale)) {
        name = *known + ".UTF-8";
        missing = Missing::NoAnswer;
    } else {
        return 0;
    }
    auto answer = answerFrom(name, item, missing);
    return answer ? localeformat::copyAnswer(*answer, buffer, size) : 0;
}

} // namespace cuentas
