// The start at log-on: a Run value and a StartupApproved value of any kind and bytes, either key possibly refusing
// changes, read by the settings program and changed by it and by the removal tool.
#include "common/AutoStart.h"
#include "common/RegistryValues.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/unit/support/FakeFileNames.h"
#include "tests/unit/support/FakeRegistry.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

namespace {

constexpr const char* kDirectories[] = {"C:\\Program Files\\QeltoNimbi", "C:\\", "D:\\Ö"};

struct Values {
    std::optional<qn::fake::Value> run;
    std::optional<qn::fake::Value> approval;
};

Values Read(const qn::fake::Registry& registry) {
    return {registry.Get(qn::kRunKeyPath, qn::kAutoStartValue),
            registry.Get(qn::kStartupApprovedRunPath, qn::kAutoStartValue)};
}

bool Same(const std::optional<qn::fake::Value>& a, const std::optional<qn::fake::Value>& b) {
    return a.has_value() == b.has_value() && (!a || (a->type == b->type && a->data == b->data));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    qn::fake::Registry registry;
    qn::fake::FileNames names;
    names.environment["LOCALAPPDATA"] = input.ConsumeRandomLengthString(24);
    const std::string directory = kDirectories[input.ConsumeIntegralInRange<std::size_t>(0, 2)];
    for (const std::string_view path : {qn::kRunKeyPath, qn::kStartupApprovedRunPath}) {
        if (input.ConsumeBool()) {
            const std::uint32_t type = input.ConsumeIntegralInRange<std::uint32_t>(0, 4);
            // Text that may or may not name a program of the folder, or any bytes.
            const std::vector<std::uint8_t> bytes =
                input.ConsumeBool()
                    ? qn::StringDataOf((input.ConsumeBool() ? "\"" + directory + "\\" : std::string()) +
                                       input.ConsumeRandomLengthString(32))
                    : input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 40));
            registry.Put(path, qn::kAutoStartValue, type, bytes);
        }
        registry.Make(path)->readOnly = input.ConsumeBool() && input.ConsumeBool();
    }
    const bool guarded = registry.Find(qn::kRunKeyPath)->readOnly || registry.Find(qn::kStartupApprovedRunPath)->readOnly;

    const Values before = Read(registry);
    const qn::AutoStartState state = qn::ReadAutoStart(registry.Root(), directory, names);
    QN_FUZZ_CHECK(state != qn::AutoStartState::Unreadable);
    QN_FUZZ_CHECK(state == qn::AutoStartState::Off || before.run);

    const auto record = qn::ReadAutoStartRecord(registry.Root());
    QN_FUZZ_CHECK(record.has_value());
    const bool on = input.ConsumeBool();
    const bool set = qn::SetAutoStart(registry.Root(), directory, on, names);
    QN_FUZZ_CHECK(set || guarded);
    if (set) {
        // What the box will show next is what the user asked for, unless another copy's value is kept.
        const qn::AutoStartState now = qn::ReadAutoStart(registry.Root(), directory, names);
        QN_FUZZ_CHECK(on ? now == qn::AutoStartState::On : now == qn::AutoStartState::Off);
    }
    QN_FUZZ_CHECK(qn::RestoreAutoStartRecord(registry.Root(), *record) || guarded);
    if (!guarded) {
        const Values restored = Read(registry);
        QN_FUZZ_CHECK(Same(restored.run, before.run) && Same(restored.approval, before.approval));
    }

    const bool removed = qn::RemoveAutoStartOf(registry.Root(), directory, names);
    QN_FUZZ_CHECK(removed || guarded);
    const Values after = Read(registry);
    // A value is either gone or not ours to take; whatever was not removed is unchanged.
    QN_FUZZ_CHECK(!removed || !after.run || Same(after.run, before.run) || guarded);
    QN_FUZZ_CHECK(!removed || !after.approval || after.run);
    QN_FUZZ_CHECK(registry.OpenKeys() == 0);
    return 0;
}
