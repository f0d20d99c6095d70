#pragma once
// Shared by the fuzz targets: the application object the program's code expects, the two
// locales it runs under, the filled language table, and a reader that turns the fuzzer's
// bytes into decisions.

#include "language/LanguageText.h"

#include <QCoreApplication>
#include <QLocale>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace zmt::fuzz {

// Timers and the default locale need an application object; one lives for the whole run.
inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "zmt-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// The program reads and writes reals with the user's decimal separator: a comma under a
// German locale, a point under an English one.
inline const QLocale kLocales[] = {QLocale(QLocale::German, QLocale::Germany),
                                   QLocale(QLocale::English, QLocale::UnitedStates)};

// A broken promise of the code under test: report it and abort, so libFuzzer keeps the input.
[[noreturn]] inline void Violated(const char* what) {
    std::fprintf(stderr, "invariant violated: %s\n", what);
    std::abort();
}
inline void Require(bool holds, const char* what) {
    if (!holds) Violated(what);
}

// Reads the input front to back; past its end every read gives 0, so that any input,
// however short, means something.
class ByteReader {
  public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool done() const { return pos_ >= size_; }
    std::uint8_t byte() { return done() ? 0 : data_[pos_++]; }
    std::int32_t int32() {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) value |= std::uint32_t{byte()} << shift;
        return static_cast<std::int32_t>(value);
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// The language table, filled once for all runs of a fuzzer.
inline LanguageText& Texts() {
    static LanguageText texts = [] {
        LanguageText filled;
        filled.FillLanguageText();
        return filled;
    }();
    return texts;
}

}  // namespace zmt::fuzz
