#pragma once
// Every text of the settings program that a user sees, besides the shared ones (common/Texts.h): its dialog's
// captions, which the dialog template leaves empty, and its messages.
#include "settings/SettingsIds.h"

#include <array>
#include <string_view>

namespace qn {

struct SettingsTextSet {
    // The dialog's caption and its controls' captions, in the order they stand.
    std::string_view caption;
    std::string_view lowMemoryGroup;
    std::string_view reserveWhenLow;
    std::string_view remainingBefore; // before a threshold's box
    std::string_view remainingAfter;  // after it
    std::string_view askWhenLow;
    std::string_view periodicGroup;
    std::string_view periodic;
    std::string_view periodUnit;
    std::string_view targetFreeBefore; // before the box of the target of free memory
    std::string_view targetFreeAfter;  // after it
    std::string_view hotKeyGroup;
    std::string_view useHotKey;
    std::string_view waitWhileBusy;
    std::string_view notifyResult;
    std::string_view trayFigure;
    std::string_view autoStart;
    std::string_view language;
    // The choices of the language, in the order of the stored values.
    std::array<std::string_view, 3> languageChoices;
    std::string_view ok;
    std::string_view cancel;

    // Why a threshold cannot be stored; a %llu is the machine's physical memory in megabytes.
    std::string_view reserveThresholdInvalid;
    std::string_view reserveThresholdZero;
    std::string_view reserveThresholdTooLarge;
    std::string_view askThresholdInvalid;
    std::string_view askThresholdZero;
    std::string_view askThresholdTooLarge;
    std::string_view periodInvalid;
    // Why the target of free memory cannot be stored; a %llu is the higher threshold that is on, or the physical
    // memory, in megabytes.
    std::string_view targetFreeInvalid;
    std::string_view targetFreeNotAboveThreshold;
    std::string_view targetFreeTooLarge;
    std::string_view hotKeyMissing;

    std::string_view autoStartUnreadable;
    std::string_view autoStartNotSaved;
    std::string_view settingsNotSaved;
    // Followed by the system's reason.
    std::string_view monitorNotStarted;
    // The line that names the physical memory, in whole megabytes between these two.
    std::string_view totalMemoryBefore;
    std::string_view totalMemoryAfter;
    // The line that tells what the last reservation run did: this, its end and what it did; or that none ran.
    std::string_view lastRun;
    std::string_view lastRunNone;
};

inline constexpr SettingsTextSet kSettingsJapanese{
    .caption = "QeltoNimbi の設定",
    .lowMemoryGroup = "残メモリが少なくなったとき",
    .reserveWhenLow = "自動でメモリを確保する",
    .remainingBefore = "残りが",
    .remainingAfter = "MB 以下になったら",
    .askWhenLow = "確保するかどうか尋ねる",
    .periodicGroup = "定期的な確保",
    .periodic = "一定の間隔で確保する",
    .periodUnit = "分ごと (1～1440)",
    .targetFreeBefore = "自動の確保は空きメモリがこの量になるまでにする",
    .targetFreeAfter = "MB（0 で全部）",
    .hotKeyGroup = "ホットキー",
    .useHotKey = "ホットキーで確保する",
    .waitWhileBusy = "全画面表示のアプリの使用中は自動の確保を待つ",
    .notifyResult = "確保の結果を通知する",
    .trayFigure = "通知領域のアイコンに空きメモリの割合を表示する",
    .autoStart = "Windows の起動時に常駐モニタを開始する",
    .language = "表示言語",
    .languageChoices = {"Windows に合わせる", "日本語", "English"},
    .ok = "OK",
    .cancel = "キャンセル",
    .reserveThresholdInvalid = "自動で確保する残メモリには0以上の整数をMB単位で入力してください｡",
    .reserveThresholdZero = "自動で確保する残メモリを1MB以上にしてください｡",
    .reserveThresholdTooLarge =
        "自動で確保する残メモリが物理メモリ(%llu MB)以上です｡\r\nこのままではMossikが起動するたびに確保を繰り返します｡",
    .askThresholdInvalid = "確認する残メモリには0以上の整数をMB単位で入力してください｡",
    .askThresholdZero = "確認する残メモリを1MB以上にしてください｡",
    .askThresholdTooLarge =
        "確認する残メモリが物理メモリ(%llu MB)以上です｡\r\nこのままではMossikが絶えず確保を尋ねてきます｡",
    .periodInvalid = "確保する間隔は1～1440分(1日)の整数で入力してください｡",
    .targetFreeInvalid = "自動の確保で目指す空きメモリには0以上の整数をMB単位で入力してください｡",
    .targetFreeNotAboveThreshold = "自動の確保で目指す空きメモリを残メモリの設定(%llu MB)より大きくしてください｡\r\n"
                                   "このままでは確保のあとも残メモリが少ないままです｡",
    .targetFreeTooLarge = "自動の確保で目指す空きメモリを物理メモリ(%llu MB)以下にしてください｡",
    .hotKeyMissing = "ホットキーにするキーを押してください｡",
    .autoStartUnreadable = "Windows の起動時の設定を読み取れませんでした｡",
    .autoStartNotSaved = "Windows の起動時の設定を保存できませんでした｡",
    .settingsNotSaved = "設定を保存できませんでした｡",
    .monitorNotStarted = "常駐モニタ Mossik.exe を起動できませんでした｡\r\n",
    .totalMemoryBefore = "このパソコンの物理メモリ: ",
    .totalMemoryAfter = " MB",
    .lastRun = "前回の確保: ",
    .lastRunNone = "前回の確保: まだありません",
};

inline constexpr SettingsTextSet kSettingsEnglish{
    .caption = "QeltoNimbi Settings",
    .lowMemoryGroup = "When free memory runs low",
    .reserveWhenLow = "Free memory automatically",
    .remainingBefore = "When",
    .remainingAfter = "MB or less is free",
    .askWhenLow = "Ask before freeing memory",
    .periodicGroup = "Periodic runs",
    .periodic = "Free memory every",
    .periodUnit = "minutes (1 to 1440)",
    .targetFreeBefore = "Automatic runs free memory up to",
    .targetFreeAfter = "MB (0 = as much as possible)",
    .hotKeyGroup = "Hot key",
    .useHotKey = "Use the hot key",
    .waitWhileBusy = "Hold automatic runs during full-screen programs",
    .notifyResult = "Show the result of each run",
    .trayFigure = "Show the free memory percentage on the tray icon",
    .autoStart = "Start the monitor when Windows starts",
    .language = "Language",
    .languageChoices = {"Match Windows", "日本語", "English"},
    .ok = "OK",
    .cancel = "Cancel",
    .reserveThresholdInvalid = "Enter the free memory for automatic runs as a whole number of MB, 0 or more.",
    .reserveThresholdZero = "Set the free memory for automatic runs to 1 MB or more.",
    .reserveThresholdTooLarge = "The free memory for automatic runs is at or above the physical memory (%llu MB).\r\n"
                                "Mossik would free memory every time it starts.",
    .askThresholdInvalid = "Enter the free memory to ask at as a whole number of MB, 0 or more.",
    .askThresholdZero = "Set the free memory to ask at to 1 MB or more.",
    .askThresholdTooLarge = "The free memory to ask at is at or above the physical memory (%llu MB).\r\n"
                            "Mossik would keep asking to free memory.",
    .periodInvalid = "Enter the interval as a whole number of minutes from 1 to 1440 (one day).",
    .targetFreeInvalid = "Enter the free memory for automatic runs to reach as a whole number of MB, 0 or more.",
    .targetFreeNotAboveThreshold = "Set the free memory for automatic runs to reach above the low-memory settings "
                                   "(%llu MB).\r\nOtherwise memory would stay low after each run.",
    .targetFreeTooLarge = "Set the free memory for automatic runs to reach to the physical memory (%llu MB) or less.",
    .hotKeyMissing = "Press the key to use as the hot key.",
    .autoStartUnreadable = "The start with Windows could not be read.",
    .autoStartNotSaved = "The start with Windows could not be saved.",
    .settingsNotSaved = "The settings could not be saved.",
    .monitorNotStarted = "The monitor Mossik.exe could not be started.\r\n",
    .totalMemoryBefore = "Physical memory of this PC: ",
    .totalMemoryAfter = " MB",
    .lastRun = "Last run: ",
    .lastRunNone = "Last run: none yet",
};

// The settings program's texts in the language the program shows.
const SettingsTextSet& SettingsTexts();

// The dialog's controls whose captions come from the texts, by control id.
struct ControlCaption {
    int controlId;
    std::string_view SettingsTextSet::*text;
};
inline constexpr ControlCaption kControlCaptions[] = {
    {IDC_LOW_MEMORY_GROUP, &SettingsTextSet::lowMemoryGroup},
    {IDC_RESERVE_WHEN_LOW, &SettingsTextSet::reserveWhenLow},
    {IDC_RESERVE_THRESHOLD_BEFORE, &SettingsTextSet::remainingBefore},
    {IDC_RESERVE_THRESHOLD_AFTER, &SettingsTextSet::remainingAfter},
    {IDC_ASK_WHEN_LOW, &SettingsTextSet::askWhenLow},
    {IDC_ASK_THRESHOLD_BEFORE, &SettingsTextSet::remainingBefore},
    {IDC_ASK_THRESHOLD_AFTER, &SettingsTextSet::remainingAfter},
    {IDC_PERIODIC_GROUP, &SettingsTextSet::periodicGroup},
    {IDC_PERIODIC, &SettingsTextSet::periodic},
    {IDC_PERIOD_UNIT, &SettingsTextSet::periodUnit},
    {IDC_TARGET_FREE_BEFORE, &SettingsTextSet::targetFreeBefore},
    {IDC_TARGET_FREE_AFTER, &SettingsTextSet::targetFreeAfter},
    {IDC_HOT_KEY_GROUP, &SettingsTextSet::hotKeyGroup},
    {IDC_USE_HOT_KEY, &SettingsTextSet::useHotKey},
    {IDC_WAIT_WHILE_BUSY, &SettingsTextSet::waitWhileBusy},
    {IDC_NOTIFY_RESULT, &SettingsTextSet::notifyResult},
    {IDC_TRAY_FIGURE, &SettingsTextSet::trayFigure},
    {IDC_AUTO_START, &SettingsTextSet::autoStart},
    {IDC_LANGUAGE_LABEL, &SettingsTextSet::language},
    {IDC_OK, &SettingsTextSet::ok},
    {IDC_CANCEL, &SettingsTextSet::cancel},
};

} // namespace qn
