// The settings reads: a settings key holding any values (real and other names, any kind, any bytes), read
// through the monitor's settings store, its position record load and save, the countdown texts made from the
// stored "Next Run", the record of the last reservation with its texts, and the settings program's read, edit
// and check, with the start at log-on it reads and changes.
#include "common/AutoStart.h"
#include "common/IntConv.h"
#include "common/MemoryUnits.h"
#include "common/RegistryValues.h"
#include "common/ReservationReport.h"
#include "common/SettingsKey.h"
#include "monitor/MainUnit/MonitorTexts.h"
#include "monitor/MainUnit/PositionRecord.h"
#include "monitor/MainUnit/SettingsStore.h"
#include "settings/SettingsProgram.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/unit/support/FakeFileNames.h"
#include "tests/unit/support/FakeRegistry.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace {

// Any value of the key read as any kind, with the default every kind has when the value is unreadable.
template <typename T>
qn::Setting<T> ReadAs(std::string_view name) {
    return {name, T{}, T{}, T{}};
}

class FakeMeterWindow final : public qn::MeterWindowPort {
public:
    qn::WindowPlacement placement;
    std::optional<std::pair<std::int32_t, std::optional<std::int32_t>>> applied;

    std::optional<qn::WindowPlacement> GetPlacement() override { return placement; }
    void ApplyPosition(std::int32_t left, std::optional<std::int32_t> top) override { applied = {left, top}; }
};

// What a value of the settings key holds as the monitor's kinds read it, from the stored bytes themselves.
std::optional<std::vector<std::uint8_t>> Stored(const qn::fake::Registry& registry, std::string_view name,
                                                std::uint32_t type, std::size_t size) {
    const auto value = registry.Get(qn::kSettingsKeyPath, name);
    if (!value || value->type != type || value->data.size() != size) {
        return std::nullopt;
    }
    return value->data;
}

std::int32_t ExpectedInt(const qn::fake::Registry& registry, std::string_view name) {
    const auto bytes = Stored(registry, name, qn::regtype::kDword, 4);
    return bytes ? static_cast<std::int32_t>((*bytes)[0] | (*bytes)[1] << 8 | (*bytes)[2] << 16 |
                                             static_cast<std::uint32_t>((*bytes)[3]) << 24)
                 : 0;
}

double ExpectedFloat(const qn::fake::Registry& registry, std::string_view name) {
    const auto bytes = Stored(registry, name, qn::regtype::kBinary, 8);
    if (!bytes) {
        return 0.0;
    }
    std::uint64_t bits = 0;
    for (std::size_t i = 8; i-- > 0;) {
        bits = bits << 8 | (*bytes)[i];
    }
    const double value = std::bit_cast<double>(bits);
    return std::isfinite(value) ? value : 0.0;
}

// The record of the last reservation, of any bytes: what is read has every field in its range, is written back
// byte for byte as the start of what was stored (a later version's record may be longer), and shows as text.
void CheckLastReservation(qn::SettingsStore& store, qn::fake::Registry& registry) {
    namespace field = qn::setting::last_reservation;
    const auto record = store.ReadLastReservation();
    QN_FUZZ_CHECK(qn::fuzz::IsValidUtf8(qn::LastReservationLine(record, qn::NumberSeparators{})));
    if (!record) {
        return;
    }
    QN_FUZZ_CHECK(field::kEnded.InRange(record->ended) && field::kSize.InRange(record->sizeMB) &&
                  field::kFreeBefore.InRange(record->freeBeforeMB) && field::kFreeAfter.InRange(record->freeAfterMB) &&
                  field::kSeconds.InRange(record->seconds));
    QN_FUZZ_CHECK(qn::fuzz::IsValidUtf8(qn::ReservationSummary(*record, qn::NumberSeparators{"\xC2\xA0", ","})));
    qn::fake::Registry copy;
    const std::string_view name = qn::setting::kLastReservation.name;
    QN_FUZZ_CHECK(
        qn::WriteSetting(*copy.Root().CreateSubkey(qn::kSettingsKeyPath), qn::setting::kLastReservation, *record));
    const std::vector<std::uint8_t> written = copy.Get(qn::kSettingsKeyPath, name)->data;
    const std::vector<std::uint8_t> stored = registry.Get(qn::kSettingsKeyPath, name)->data;
    QN_FUZZ_CHECK(stored.size() >= written.size() && std::equal(written.begin(), written.end(), stored.begin()));
}

qn::WindowPlacement PlacementFrom(FuzzedDataProvider& input) {
    qn::WindowPlacement p;
    for (std::int32_t* field :
         {&p.minPosition.x, &p.minPosition.y, &p.maxPosition.x, &p.maxPosition.y, &p.normalPosition.left,
          &p.normalPosition.top, &p.normalPosition.right, &p.normalPosition.bottom}) {
        *field = input.ConsumeIntegral<std::int32_t>();
    }
    return p;
}

void CheckSettingsProgram(qn::fake::Registry& registry, bool denied, FuzzedDataProvider& input) {
    const qn::ProgramSettings stored = qn::ReadProgramSettings(registry.Root());
    QN_FUZZ_CHECK(stored.reserveThresholdKB == ExpectedInt(registry, qn::setting::kReserveThreshold.name) || denied);
    qn::SettingsForm form = qn::FormOf(stored);
    const std::uint64_t totalPhysBytes = input.ConsumeIntegral<std::uint64_t>();

    // The form as shown, left as it is: only a switched-on threshold that is unusable, a switched-on hot key
    // without a key, or a target of free memory that is set but not above the thresholds or beyond this machine's
    // memory may be refused; everything else is stored as it was read.
    const auto unedited = qn::SettingsFromForm(form, stored, totalPhysBytes);
    if (const auto* error = std::get_if<qn::FormError>(&unedited)) {
        QN_FUZZ_CHECK((error->field == qn::FormField::ReserveThreshold && form.reserveWhenLow) ||
                      (error->field == qn::FormField::AskThreshold && form.askWhenLow) ||
                      (error->field == qn::FormField::HotKey && form.useHotKey) ||
                      (error->field == qn::FormField::TargetFree && stored.targetFreeMB > 0));
    } else {
        const auto& accepted = std::get<qn::ProgramSettings>(unedited);
        QN_FUZZ_CHECK(accepted.hotKey == stored.hotKey);
        QN_FUZZ_CHECK(stored.reserveThresholdKB <= 0 || accepted.reserveThresholdKB == stored.reserveThresholdKB);
        QN_FUZZ_CHECK(stored.askThresholdKB <= 0 || accepted.askThresholdKB == stored.askThresholdKB);
        if (qn::WriteProgramSettings(registry.Root(), accepted)) {
            const qn::ProgramSettings back = qn::ReadProgramSettings(registry.Root());
            QN_FUZZ_CHECK(back.reserveThresholdKB == accepted.reserveThresholdKB &&
                          back.periodMinutes == accepted.periodMinutes && back.hotKey == accepted.hotKey &&
                          back.reserveWhenLow == accepted.reserveWhenLow);
        }
    }

    // The form as a user may have typed it.
    form.reserveThresholdMB = input.ConsumeRandomLengthString(24);
    form.askThresholdMB = input.ConsumeRandomLengthString(24);
    form.periodMinutes = input.ConsumeRandomLengthString(24);
    form.hotKey = input.ConsumeIntegral<std::uint16_t>();
    const auto edited = qn::SettingsFromForm(form, stored, totalPhysBytes);
    if (const auto* accepted = std::get_if<qn::ProgramSettings>(&edited)) {
        QN_FUZZ_CHECK(qn::setting::kPeriodMinutes.InRange(accepted->periodMinutes));
        for (const auto& [on, kilobytes] : {std::pair{accepted->reserveWhenLow, accepted->reserveThresholdKB},
                                            {accepted->askWhenLow, accepted->askThresholdKB}}) {
            QN_FUZZ_CHECK(kilobytes >= 0);
            QN_FUZZ_CHECK(!on || (kilobytes > 0 && static_cast<std::uint64_t>(kilobytes) * 1024 < totalPhysBytes));
        }
    }
}

// A Run value and a Task Manager switch of any kind and bytes: read as the box shows them, changed by the box, put
// back, and removed by the removal tool.
void CheckAutoStart(FuzzedDataProvider& input) {
    qn::fake::Registry registry;
    qn::fake::FileNames names;
    const std::string directory = input.ConsumeBool() ? "C:\\" : "C:\\Program Files\\Ö";
    for (const std::string_view path : {qn::kRunKeyPath, qn::kStartupApprovedRunPath}) {
        if (input.ConsumeBool()) {
            const auto type = input.ConsumeIntegralInRange<std::uint32_t>(0, 4);
            registry.Put(path, qn::kAutoStartValue, type,
                         input.ConsumeBool() ? qn::StringDataOf(input.ConsumeRandomLengthString(48))
                                             : input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange(0, 40)));
        }
    }
    QN_FUZZ_CHECK(qn::ReadAutoStart(registry.Root(), directory, names) != qn::AutoStartState::Unreadable);
    const auto record = qn::ReadAutoStartRecord(registry.Root());
    const bool on = input.ConsumeBool();
    QN_FUZZ_CHECK(record && qn::SetAutoStart(registry.Root(), directory, on, names));
    QN_FUZZ_CHECK((qn::ReadAutoStart(registry.Root(), directory, names) == qn::AutoStartState::On) == on);
    QN_FUZZ_CHECK(qn::RestoreSnapshots(registry.Root(), *record));
    QN_FUZZ_CHECK(qn::RemoveAutoStartOf(registry.Root(), directory, names));
    // A switch outlives the removal only beside another copy's Run value.
    QN_FUZZ_CHECK(!registry.Get(qn::kStartupApprovedRunPath, qn::kAutoStartValue) ||
                  registry.Get(qn::kRunKeyPath, qn::kAutoStartValue));
    QN_FUZZ_CHECK(registry.OpenKeys() == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    qn::fake::Registry registry;
    const int count = input.ConsumeIntegralInRange(0, 12);
    for (int i = 0; i < count; ++i) {
        const std::string name =
            input.ConsumeBool()
                ? std::string(
                      qn::setting::kAll[input.ConsumeIntegralInRange<std::size_t>(0, std::size(qn::setting::kAll) - 1)]
                          .name)
                : input.ConsumeRandomLengthString(16);
        const std::uint32_t type = input.ConsumeBool() ? input.ConsumeIntegralInRange<std::uint32_t>(0, 11)
                                                       : input.ConsumeIntegral<std::uint32_t>();
        const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, 64);
        registry.Put(qn::kSettingsKeyPath, name, type, input.ConsumeBytes<std::uint8_t>(length));
    }
    registry.Make(qn::kSettingsParentPath);
    const bool denied = input.ConsumeBool() && input.ConsumeBool();
    registry.Make(qn::kSettingsKeyPath)->denied = denied;

    FakeMeterWindow window;
    qn::SettingsStore store(registry.Root(), window);
    for (const auto& value : qn::setting::kAll) {
        const std::string_view name = value.name;
        const std::int32_t asInt = store.Read(ReadAs<std::int32_t>(name));
        QN_FUZZ_CHECK(asInt == (denied ? 0 : ExpectedInt(registry, name)));
        QN_FUZZ_CHECK(store.Read(ReadAs<bool>(name)) == (asInt != 0));
        QN_FUZZ_CHECK(store.Read(ReadAs<double>(name)) == (denied ? 0.0 : ExpectedFloat(registry, name)));
    }

    CheckLastReservation(store, registry);

    // Whatever the stored record, the window moves only to what its items say.
    store.LoadPosition();
    if (window.applied) {
        const auto text =
            qn::ReadText(*registry.Root().OpenSubkey(qn::kSettingsKeyPath), qn::setting::kMeterPosition.name);
        const auto position = qn::ReadPositionRecord(text.value_or(""));
        QN_FUZZ_CHECK(position && position->left == window.applied->first && position->top == window.applied->second);
    }

    // The countdown texts of a stored "Next Run".
    // Any time the system clock can report: the years 1601 to 30827.
    const qn::DateTime now = input.ConsumeFloatingPointInRange(-109205.0, 10593224.0);
    const qn::DateTime remaining = store.Read(qn::setting::kNextRun) - now;
    const qn::NumberSeparators separators;
    QN_FUZZ_CHECK(qn::fuzz::IsValidUtf8(qn::CountdownSuffix(remaining)));
    QN_FUZZ_CHECK(qn::fuzz::IsValidUtf8(
        qn::HintWithSchedule(qn::BytesToMegabytes(input.ConsumeIntegral<std::uint64_t>()), remaining, separators)));

    // What is saved is loaded back.
    window.placement = PlacementFrom(input);
    window.applied.reset();
    store.SavePosition();
    store.LoadPosition();
    if (!denied) {
        QN_FUZZ_CHECK(window.applied && window.applied->first == window.placement.normalPosition.left &&
                      window.applied->second == window.placement.normalPosition.top);
    }

    CheckSettingsProgram(registry, denied, input);
    QN_FUZZ_CHECK(registry.OpenKeys() == 0);
    CheckAutoStart(input);
    return 0;
}
