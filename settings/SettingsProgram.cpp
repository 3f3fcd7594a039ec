#include "settings/SettingsProgram.h"

#include "common/MemoryUnits.h"
#include "common/PathUtil.h"
#include "common/ProductFiles.h"
#include "common/RegistryValues.h"
#include "common/ReservationReport.h"
#include "common/SettingsKey.h"
#include "common/Shortcut.h"
#include "common/Unicode.h"
#include "settings/SettingsTexts.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

namespace qn {
namespace {

// The largest threshold that can be typed: the whole megabytes within the range of either threshold.
static_assert(setting::kReserveThreshold.min == setting::kAskThreshold.min &&
              setting::kReserveThreshold.max == setting::kAskThreshold.max);
constexpr std::int64_t kMaxThresholdMB = setting::kReserveThreshold.max / 1024;

bool IsExtendedKey(unsigned vk) {
    using namespace extended_key;
    return (vk >= kPageUp && vk <= kDownArrow) || vk == kInsert || vk == kDelete || vk == kDivide || vk == kNumLock;
}

// Whole megabytes, as the dialog shows a threshold.
std::int64_t ShownMB(std::int32_t kilobytes) {
    return kilobytes <= 0 ? 0 : (std::int64_t{kilobytes} + 512) / 1024;
}

// A non-negative whole number, blanks around it allowed, full-width digits taken as their ASCII twins (a
// Japanese input method gives those); nothing for anything else or beyond `limit`.
std::optional<std::int64_t> ParseCount(std::string_view text, std::int64_t limit) {
    std::string digits;
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Character c = DecodeUtf8(text.substr(i));
        i += c.length;
        if (c.codePoint >= U'０' && c.codePoint <= U'９') {
            digits += static_cast<char>('0' + (c.codePoint - U'０'));
        } else if (c.codePoint == U'\u3000') { // the full-width space
            digits += ' ';
        } else {
            // Nothing else beyond ASCII is a digit or a blank.
            digits += c.codePoint < 0x80 ? static_cast<char>(c.codePoint) : '?';
        }
    }
    const std::size_t first = digits.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t last = digits.find_last_not_of(" \t");
    std::int64_t value = 0;
    for (std::size_t i = first; i <= last; ++i) {
        if (digits[i] < '0' || digits[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (digits[i] - '0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return value;
}

// One of the two thresholds: where the form and the settings keep it, and what to say when it is unusable.
struct ThresholdField {
    FormField field;
    bool SettingsForm::*enabled;
    std::string SettingsForm::*shownMB;
    std::int32_t ProgramSettings::*kilobytes;
    std::string_view SettingsTextSet::*invalid;
    std::string_view SettingsTextSet::*zero;
    std::string_view SettingsTextSet::*tooLarge;
};

constexpr ThresholdField kThresholds[] = {
    {FormField::ReserveThreshold, &SettingsForm::reserveWhenLow, &SettingsForm::reserveThresholdMB,
     &ProgramSettings::reserveThresholdKB, &SettingsTextSet::reserveThresholdInvalid,
     &SettingsTextSet::reserveThresholdZero, &SettingsTextSet::reserveThresholdTooLarge},
    {FormField::AskThreshold, &SettingsForm::askWhenLow, &SettingsForm::askThresholdMB,
     &ProgramSettings::askThresholdKB, &SettingsTextSet::askThresholdInvalid, &SettingsTextSet::askThresholdZero,
     &SettingsTextSet::askThresholdTooLarge},
};

// Where each number of the settings key goes in ProgramSettings.
constexpr std::pair<const IntSetting*, std::int32_t ProgramSettings::*> kNumbers[] = {
    {&setting::kReserveThreshold, &ProgramSettings::reserveThresholdKB},
    {&setting::kAskThreshold, &ProgramSettings::askThresholdKB},
    {&setting::kPeriodMinutes, &ProgramSettings::periodMinutes},
    {&setting::kHotKey, &ProgramSettings::hotKey},
    {&setting::kLanguage, &ProgramSettings::language},
    {&setting::kTargetFree, &ProgramSettings::targetFreeMB},
};

std::string WithTotal(std::string_view pattern, std::uint64_t totalMB) {
    std::string text(pattern);
    text.replace(text.find("%llu"), 4, std::to_string(totalMB));
    return text;
}

// The kilobytes to store for one threshold, or why not.
std::variant<std::int32_t, FormError> Threshold(const std::string& shown, bool enabled, std::int32_t storedKB,
                                                std::uint64_t totalPhysBytes, const ThresholdField& field) {
    // The largest stored kilobytes show as one megabyte more than a typed value may be; shown unchanged, they stay.
    const auto mb = ParseCount(shown, kMaxThresholdMB + 1);
    const bool unchanged = mb && storedKB > 0 && *mb == ShownMB(storedKB);
    if (!mb || (!unchanged && *mb > kMaxThresholdMB)) {
        return FormError{field.field, std::string(SettingsTexts().*field.invalid)};
    }
    const std::int32_t kilobytes = unchanged ? storedKB : static_cast<std::int32_t>(*mb * 1024);
    if (enabled && kilobytes == 0) {
        return FormError{field.field, std::string(SettingsTexts().*field.zero)};
    }
    // Free memory never exceeds the total, so such a threshold would hold all the time. Compared in the whole
    // megabytes the dialog shows, so that typing the total it names is refused too.
    if (enabled && static_cast<std::uint64_t>(kilobytes) * kKilobyte >= WholeMegabytes(totalPhysBytes) * kMegabyte) {
        return FormError{field.field, WithTotal(SettingsTexts().*field.tooLarge, WholeMegabytes(totalPhysBytes))};
    }
    return kilobytes;
}

// The target of free memory to store, or why not: a run that stopped at or below a threshold would leave memory
// low, and free memory never exceeds the physical memory.
std::variant<std::int32_t, FormError> TargetFree(const std::string& shown, const ProgramSettings& s,
                                                 std::uint64_t totalPhysBytes) {
    const auto mb = ParseCount(shown, setting::kTargetFree.max);
    if (!mb) {
        return FormError{FormField::TargetFree, std::string(SettingsTexts().targetFreeInvalid)};
    }
    if (*mb == 0) {
        return 0;
    }
    const std::int32_t thresholdKB =
        std::max(s.reserveWhenLow ? s.reserveThresholdKB : 0, s.askWhenLow ? s.askThresholdKB : 0);
    if (*mb * 1024 <= thresholdKB) {
        // Named in whole megabytes rounded up, so that the figure it names is itself not enough.
        return FormError{FormField::TargetFree, WithTotal(SettingsTexts().targetFreeNotAboveThreshold,
                                                          (static_cast<std::uint64_t>(thresholdKB) + 1023) / 1024)};
    }
    if (static_cast<std::uint64_t>(*mb) > WholeMegabytes(totalPhysBytes)) {
        return FormError{FormField::TargetFree,
                         WithTotal(SettingsTexts().targetFreeTooLarge, WholeMegabytes(totalPhysBytes))};
    }
    return static_cast<std::int32_t>(*mb);
}

} // namespace

ProgramSettings ReadProgramSettings(RegistryKey& currentUser) {
    ProgramSettings s;
    // Read only, and not created: a key that a policy keeps from changes still shows what it holds.
    const auto key = currentUser.OpenSubkeyFor(kSettingsKeyPath, ValueAccess::Query).key;
    if (!key) {
        return s;
    }
    for (const SwitchField& field : kSwitchFields) {
        s.*field.value = ReadSetting(*key, *field.stored);
    }
    for (const auto& [value, member] : kNumbers) {
        s.*member = ReadSetting(*key, *value);
    }
    return s;
}

bool WriteProgramSettings(RegistryKey& currentUser, const ProgramSettings& s) {
    const auto key = currentUser.CreateSubkeyFor(kSettingsKeyPath, ValueAccess::Set);
    if (!key) {
        return false;
    }
    bool written = true;
    for (const SwitchField& field : kSwitchFields) {
        written &= WriteSetting(*key, *field.stored, s.*field.value);
    }
    for (const auto& [value, member] : kNumbers) {
        written &= WriteSetting(*key, *value, s.*member);
    }
    return written;
}

namespace {

// Adds the values WriteProgramSettings writes, exactly as they are stored now, each with the settings key's path.
void SnapshotProgramSettings(RegistryKey& currentUser, std::vector<ValueSnapshot>& snapshots) {
    if (const auto key = currentUser.CreateSubkeyFor(kSettingsKeyPath, ValueAccess::Query)) {
        const auto add = [&](std::string_view name) {
            snapshots.push_back(TakeSnapshot(*key, name));
            snapshots.back().path = kSettingsKeyPath;
        };
        for (const SwitchField& field : kSwitchFields) {
            add(field.stored->name);
        }
        for (const auto& value : kNumbers) {
            add(value.first->name);
        }
    }
}

} // namespace

SaveFailure SaveSettings(RegistryKey& currentUser, const ProgramSettings& settings, std::string_view directory,
                         bool autoStartShown, bool autoStartWanted, FileNamePort& names) {
    // Every value OK changes, as it is stored now, under either key: a failure puts all of them back exactly as they
    // were, as far as the registry lets it (a key that refused one value may refuse its old one too). A value that
    // was absent is absent again, one of another type has its type and bytes back.
    std::vector<ValueSnapshot> before;
    if (autoStartWanted != autoStartShown) {
        std::optional<AutoStartRecord> start = ReadAutoStartRecord(currentUser);
        if (!start) {
            return SaveFailure::AutoStart;
        }
        before = std::move(*start);
        if (!SetAutoStart(currentUser, directory, autoStartWanted, names)) {
            RestoreSnapshots(currentUser, before);
            return SaveFailure::AutoStart;
        }
    }
    SnapshotProgramSettings(currentUser, before);
    if (!WriteProgramSettings(currentUser, settings)) {
        RestoreSnapshots(currentUser, before);
        return SaveFailure::Settings;
    }
    return SaveFailure::None;
}

SettingsForm FormOf(const ProgramSettings& stored) {
    SettingsForm form;
    for (const SwitchField& field : kSwitchFields) {
        form.*field.shown = stored.*field.value;
    }
    form.reserveThresholdMB = std::to_string(ShownMB(stored.reserveThresholdKB));
    form.askThresholdMB = std::to_string(ShownMB(stored.askThresholdKB));
    form.periodMinutes = std::to_string(setting::kPeriodMinutes.InRange(stored.periodMinutes) ? stored.periodMinutes
                                                                                              : kDefaultPeriodMinutes);
    form.hotKey = Shortcut::Decode(stored.hotKey).Encode();
    form.language = setting::kLanguage.InRange(stored.language) ? stored.language : setting::kLanguageWindows;
    form.targetFreeMB = std::to_string(std::max(stored.targetFreeMB, 0));
    return form;
}

std::variant<ProgramSettings, FormError> SettingsFromForm(const SettingsForm& form, const ProgramSettings& stored,
                                                          std::uint64_t totalPhysBytes) {
    ProgramSettings s;
    for (const SwitchField& field : kSwitchFields) {
        s.*field.value = form.*field.shown;
    }
    for (const ThresholdField& t : kThresholds) {
        const auto kilobytes = Threshold(form.*t.shownMB, form.*t.enabled, stored.*t.kilobytes, totalPhysBytes, t);
        if (const auto* error = std::get_if<FormError>(&kilobytes)) {
            return *error;
        }
        s.*t.kilobytes = std::get<std::int32_t>(kilobytes);
    }
    const auto cycle = ParseCount(form.periodMinutes, setting::kPeriodMinutes.max);
    if (!cycle || !setting::kPeriodMinutes.InRange(static_cast<std::int32_t>(*cycle))) {
        return FormError{FormField::Period, std::string(SettingsTexts().periodInvalid)};
    }
    s.periodMinutes = static_cast<std::int32_t>(*cycle);

    if (form.useHotKey && Shortcut::Decode(form.hotKey).key == 0) {
        return FormError{FormField::HotKey, std::string(SettingsTexts().hotKeyMissing)};
    }
    // A hot key the user did not change keeps the upper bits it was stored with; a language choice the user did
    // not change keeps the value it was stored as.
    s.hotKey = form.hotKey == Shortcut::Decode(stored.hotKey).Encode() ? stored.hotKey : form.hotKey;
    s.language = form.language == FormOf(stored).language ? stored.language : form.language;

    const auto target = TargetFree(form.targetFreeMB, s, totalPhysBytes);
    if (const auto* error = std::get_if<FormError>(&target)) {
        return *error;
    }
    s.targetFreeMB = std::get<std::int32_t>(target);
    return s;
}

std::uint16_t ShortcutFromHotKeyControl(std::uint16_t controlValue) {
    const unsigned flags = controlValue >> 8;
    using namespace hot_key_control;
    return Shortcut{static_cast<std::uint16_t>(controlValue & 0xFF), (flags & kShift) != 0, (flags & kControl) != 0,
                    (flags & kAlt) != 0}
        .Encode();
}

std::uint16_t HotKeyControlFromShortcut(std::int32_t shortcut) {
    const Shortcut keys = Shortcut::Decode(static_cast<std::uint32_t>(shortcut));
    if (keys.key == 0 || keys.key > 0xFF) {
        return 0;
    }
    using namespace hot_key_control;
    const unsigned flags = (keys.shift ? kShift : 0) | (keys.ctrl ? kControl : 0) | (keys.alt ? kAlt : 0) |
                           (IsExtendedKey(keys.key) ? kExtended : 0);
    return static_cast<std::uint16_t>(keys.key | flags << 8);
}

std::optional<ReservationRecord> ReadLastReservation(RegistryKey& currentUser) {
    const auto key = currentUser.OpenSubkeyFor(kSettingsKeyPath, ValueAccess::Query).key;
    return key ? ReadSetting(*key, setting::kLastReservation) : std::nullopt;
}

std::string LastReservationLine(const std::optional<ReservationRecord>& record, const NumberSeparators& separators) {
    if (!record) {
        return std::string(SettingsTexts().lastRunNone);
    }
    const LocalTime ended = DecodeDateTime(record->ended);
    char when[32] = {};
    std::snprintf(when, sizeof when, "%d/%02d/%02d %02d:%02d", ended.year, ended.month, ended.day, ended.hour,
                  ended.minute);
    return std::string(SettingsTexts().lastRun) + when + "  " + ReservationSummary(*record, separators);
}

void RestartMonitor(MonitorLauncher& launcher, std::string_view programPath, bool handoverFresh) {
    if (launcher.MonitorRunning() && !(handoverFresh && launcher.WaitUntilNoMonitorRuns(kLongestMonitorEndingMs))) {
        return;
    }
    const auto reason = launcher.StartMonitor(DirectoryWithoutSeparator(programPath) + "\\" + std::string(kMonitorFile),
                                              DirectoryKeepingRoot(programPath));
    if (reason) {
        launcher.ShowError(std::string(SettingsTexts().monitorNotStarted) + *reason);
    }
}

} // namespace qn
