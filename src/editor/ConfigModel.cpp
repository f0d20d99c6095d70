#include "editor/ConfigModel.h"

namespace zmt {

const std::array<DeviceType, 6> DeviceTypes = {{
    {"10 mA", "mA ", 10},
    {"20 mA", "mA ", 20},
    {"100 mA", "mA ", 100},
    {"1 V", "V ", 1},
    {"10 V", "V ", 10},
    {"50 V", "V ", 50},
}};

const DeviceType* DeviceTypeAt(int index) {
    const bool known = index >= 0 && index < static_cast<int>(DeviceTypes.size());
    return known ? &DeviceTypes[static_cast<std::size_t>(index)] : nullptr;
}

namespace {

// The members behind the entry fields, in the order of `Field`.
constexpr QString ConfigModel::*FieldMembers[] = {
    &ConfigModel::Skalin1, &ConfigModel::Skalout1, &ConfigModel::Skalin2,   &ConfigModel::Skalout2,
    &ConfigModel::Testin1, &ConfigModel::RelaisOn, &ConfigModel::RelaisOff,
};

}  // namespace

QString PadField(const QString& text, int width) {
    return text.rightJustified(width, u' ');
}

QString& ConfigModel::field(Field f) {
    return this->*FieldMembers[static_cast<int>(f)];
}

const QString& ConfigModel::field(Field f) const {
    return this->*FieldMembers[static_cast<int>(f)];
}

}  // namespace zmt
