#pragma once

namespace qn::win32 {

// Chooses the language of this program's texts, once at its start: the stored choice, or else the user's display
// language (GetUserDefaultUILanguage).
void ChooseUserLanguage();

} // namespace qn::win32
