#pragma once
// Every text of the removal tool that a user sees, besides the shared ones (common/Texts.h).
#include <string_view>

namespace qn {

struct RemoverTextSet {
    // The first question: delete the settings.
    std::string_view confirmRegistry;
    std::string_view registryFailed;
    // The second question: delete the files.
    std::string_view confirmFiles;
    std::string_view filesFailed;
    // The last word: delete this tool by hand.
    std::string_view done;
};

inline constexpr RemoverTextSet kRemoverJapanese{
    .confirmRegistry = "確認します｡\r\nQeltoNimbiのレジストリ情報を削除しますか？",
    .registryFailed = "レジストリ情報の削除に失敗しました｡\r\n手動で削除してください｡",
    .confirmFiles = "レジストリ情報を削除しました｡\r\n\r\nQeltoNimbiの\r\n関連ファイルの削除をしますか？",
    .filesFailed = "ファイルの削除に失敗しました｡\r\n手動で削除してください｡",
    .done = "このプログラムを終了後\r\nKolvane.EXEを削除してください｡",
};

inline constexpr RemoverTextSet kRemoverEnglish{
    .confirmRegistry = "Please confirm.\r\nDelete QeltoNimbi's settings from the registry?",
    .registryFailed = "The settings could not be deleted from the registry.\r\nPlease delete them by hand.",
    .confirmFiles = "The settings have been deleted from the registry.\r\n\r\nDelete QeltoNimbi's\r\nfiles too?",
    .filesFailed = "The files could not be deleted.\r\nPlease delete them by hand.",
    .done = "When this program has ended,\r\nplease delete Kolvane.EXE.",
};

// The removal tool's texts in the language the program shows.
const RemoverTextSet& RemoverTexts();

} // namespace qn
