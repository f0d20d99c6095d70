#include "editor/PortAssignment.h"

#include "editor/PortTexts.h"

namespace zmt {

PortAssignment::PortAssignment(link::PortSetup setup, const LanguageText& texts,
                               std::function<int()> languageIndex)
    : setup_(std::move(setup)), texts_(texts), languageIndex_(std::move(languageIndex)) {}

void PortAssignment::start() {
    for (Row& r : rows_) r = Row{};
    refresh();
}

void PortAssignment::refresh() {
    devices_ = setup_.catalog->list();
    rebuildRows();
}

// A choice the user made is kept where it is still offered; otherwise a row shows what is
// bound.
void PortAssignment::rebuildRows() {
    for (int number = 1; number <= ComPortCount; ++number) {
        const Row& old = row(number);
        std::optional<QString> kept;
        if (!old.choices.empty() && old.chosen != old.current)
            kept = old.choices[old.chosen].bindPath;
        rebuildRow(number, kept);
    }
}

void PortAssignment::rebuildRow(int number, const std::optional<QString>& previousChoice) {
    Row& r = rows_.at(number - 1);
    const int language = languageIndex_();
    r.target = setup_.comPorts->target(number, devices_);
    const QString standard = setup_.comPorts->standardDevice(number);
    r.choices = {{QString(), text_(rows::PortStandardChoice).arg(standard), standard, false}};
    for (const link::PortEntry& entry : devices_)
        r.choices.push_back({entry.bindPath(), DescribeDevice(entry, texts_, language),
                             DeviceDetails(entry), entry.busy});
    r.current = currentChoice(r);
    if (r.current < 0) {
        r.choices.push_back(
            {r.target.path, DescribeComTarget(r.target, texts_, language), r.target.path, false});
        r.current = static_cast<int>(r.choices.size()) - 1;
    }
    r.chosen = r.current;
    if (!previousChoice) return;
    for (int index = 0; index < static_cast<int>(r.choices.size()); ++index)
        if (r.choices[index].bindPath == *previousChoice) return void(r.chosen = index);
}

// The listed device that COMn's link leads to; -1 when it leads elsewhere.
int PortAssignment::currentChoice(const Row& r) const {
    if (r.target.kind == link::ComTargetKind::Standard) return 0;
    if (r.target.kind == link::ComTargetKind::OwnFile || !r.target.exists) return -1;
    const link::PortEntry* entry = link::FindPortEntry(devices_, r.target.device);
    if (!entry) return -1;
    return static_cast<int>(entry - devices_.data()) + 1;
}

QString PortAssignment::devicesNote() const {
    if (devices_.empty()) return text_(rows::PortNoDevices);
    return text_(rows::PortDevicesListed).arg(devices_.size());
}

QString PortAssignment::targetText(int number) const {
    return DescribeComTarget(target(number), texts_, languageIndex_());
}

void PortAssignment::choose(int number, int index) {
    Row& r = rows_.at(number - 1);
    if (index >= 0 && index < static_cast<int>(r.choices.size())) r.chosen = index;
}

bool PortAssignment::chooseDevice(int number, const link::PortEntry& entry) {
    const std::vector<Choice>& offered = choices(number);
    for (int index = 1; index < static_cast<int>(offered.size()); ++index) {
        if (offered[index].bindPath != entry.bindPath()) continue;
        choose(number, index);
        return true;
    }
    return false;
}

bool PortAssignment::apply(std::vector<int>& retargeted, QStringList& problems) {
    std::vector<link::BindRequest> requests;
    std::array<QString, ComPortCount> before;
    for (int number = 1; number <= ComPortCount; ++number) {
        before[number - 1] = target(number).path;
        if (changed(number)) requests.push_back({number, choices(number)[chosen(number)].bindPath});
    }
    const std::vector<link::BindProblem> refused =
        requests.empty() ? std::vector<link::BindProblem>{} : setup_.comPorts->bind(requests);
    for (const link::BindProblem& problem : refused)
        problems << DescribeBindProblem(problem, texts_, languageIndex_());
    rebuildRows();
    // Read back rather than assumed: a refusal changes nothing, a late failure may change some.
    for (int number = 1; number <= ComPortCount; ++number)
        if (target(number).path != before[number - 1]) retargeted.push_back(number);
    return refused.empty();
}

QString PortAssignment::findQuestion() const {
    QStringList free, held;
    for (const link::PortEntry& entry : devices_)
        (entry.busy ? held : free)
            << QStringLiteral("    ") + DescribeDevice(entry, texts_, languageIndex_());
    if (free.isEmpty()) return {};
    QStringList lines{text_(rows::PortFindQuestion)};
    lines << free;
    if (!held.isEmpty()) lines << QString() << text_(rows::PortFindSkipped) << held;
    lines << QString() << text_(rows::PortFindWarning);
    return lines.join('\n');
}

}  // namespace zmt
