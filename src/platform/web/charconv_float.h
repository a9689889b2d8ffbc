// The floating-point std::from_chars that this Emscripten's C++ library
// lacks (it has only the integer ones), for the browser build only: the
// build includes this header before every source. Same contract as the
// standard's for chars_format::general: no leading space or '+', an
// optional '-', digits with an optional point, an optional exponent, or
// "inf"/"infinity"/"nan" in any case; out of range leaves the value alone.
// The longest such text is handed to strtod/strtof, which round correctly.
#pragma once

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>

namespace orbelune_charconv {

// Length of the longest number at the start of [first, last).
inline size_t numberLength(const char* first, const char* last) {
    const char* p = first;
    if (p < last && *p == '-') ++p;
    auto word = [&](const char* w) {
        const size_t n = std::strlen(w);
        if (static_cast<size_t>(last - p) < n) return false;
        for (size_t i = 0; i < n; ++i)
            if (std::tolower(static_cast<unsigned char>(p[i])) != w[i]) return false;
        return true;
    };
    if (word("infinity")) return static_cast<size_t>(p + 8 - first);
    if (word("inf") || word("nan")) return static_cast<size_t>(p + 3 - first);
    const char* digits = p;
    while (p < last && std::isdigit(static_cast<unsigned char>(*p))) ++p;
    bool any = p > digits;
    if (p < last && *p == '.') {
        const char* fraction = ++p;
        while (p < last && std::isdigit(static_cast<unsigned char>(*p))) ++p;
        any = any || p > fraction;
    }
    if (!any) return 0;
    if (p < last && (*p == 'e' || *p == 'E')) {
        const char* e = p + 1;
        if (e < last && (*e == '+' || *e == '-')) ++e;
        const char* exponent = e;
        while (e < last && std::isdigit(static_cast<unsigned char>(*e))) ++e;
        if (e > exponent) p = e;
    }
    return static_cast<size_t>(p - first);
}

template <typename T>
std::from_chars_result parse(const char* first, const char* last, T& value) {
    const size_t length = numberLength(first, last);
    if (length == 0) return {first, std::errc::invalid_argument};
    const std::string text(first, length);
    errno = 0;
    char* end = nullptr;
    const T parsed = sizeof(T) == sizeof(float) ? std::strtof(text.c_str(), &end) : std::strtod(text.c_str(), &end);
    if (errno == ERANGE) return {first + length, std::errc::result_out_of_range};
    value = parsed;
    return {first + length, std::errc()};
}

}  // namespace orbelune_charconv

namespace std {
inline from_chars_result from_chars(const char* first, const char* last, float& value,
                                    chars_format = chars_format::general) {
    return orbelune_charconv::parse(first, last, value);
}
inline from_chars_result from_chars(const char* first, const char* last, double& value,
                                    chars_format = chars_format::general) {
    return orbelune_charconv::parse(first, last, value);
}
}  // namespace std
