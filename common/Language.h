#pragma once
// The language the programs speak: Japanese where the user's Windows is in Japanese, English everywhere else,
// unless the settings choose one. Each program chooses once when it starts; every text comes in that language.
#include "common/RegistryKey.h"

#include <cstdint>

namespace qn {

enum class Language { Japanese, English };

// The stored choice ("Language": 0 or absent follows Windows, 1 Japanese, 2 English, any other value follows
// Windows) and whether the user's display language is Japanese.
Language ChooseLanguage(std::int32_t stored, bool windowsIsJapanese);

// The stored choice, 0 where there is none, read without creating the settings key: a program that only looks
// must leave nothing behind.
std::int32_t StoredLanguage(RegistryKey& currentUser);

// The language of this process's texts; Japanese until a program chooses.
Language TextLanguage();
void SetTextLanguage(Language language);

// One text set of each language, as the program shows.
template <typename TextSet>
const TextSet& InTextLanguage(const TextSet& japanese, const TextSet& english) {
    return TextLanguage() == Language::English ? english : japanese;
}

} // namespace qn
