#pragma once
// Switches LC_NUMERIC to a decimal-comma locale, compiling one into the build folder when the
// system has none. False when no such locale can be had.

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

inline bool UseCommaLocale() {
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        setenv("LOCPATH", "locales", 1);
        if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
            if (std::system(
                    "mkdir -p locales && localedef -i de_DE -f UTF-8 locales/de_DE.UTF-8 >/dev/null 2>&1") !=
                0) {
                // localedef reports warnings with a nonzero status but still writes the locale.
            }
            if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) return false;
        }
    }
    return std::strcmp(std::localeconv()->decimal_point, ",") == 0;
}

inline void RestoreCLocale() {
    std::setlocale(LC_NUMERIC, "C");
}
