#include "common/FileNames.h"

#include <algorithm>

namespace zmt {

namespace {

constexpr char16_t kFirstUndecoded = 0xDC80;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at `at`, 0 when there is none.
qsizetype SequenceAt(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    const qsizetype length = lead >= 0xC2 && lead <= 0xDF   ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
    if (length == 0 || at + length > bytes.size()) return 0;
    for (qsizetype i = 1; i < length; ++i)
        if (!IsContinuation(byte(i))) return 0;
    // No overlong forms, no surrogates, nothing past U+10FFFF.
    const unsigned char second = byte(1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

}  // namespace

QString DecodeFileName(const QByteArray& name) {
    QString decoded;
    for (qsizetype at = 0; at < name.size();) {
        const qsizetype length = SequenceAt(name, at);
        if (length == 0) {
            const auto byte = static_cast<unsigned char>(name[at++]);
            decoded += QChar(char16_t(kFirstUndecoded - 0x80 + byte));
            continue;
        }
        decoded += QString::fromUtf8(name.constData() + at, length);
        at += length;
    }
    return decoded;
}

std::optional<unsigned char> UndecodedByte(char16_t unit) {
    if (unit < kFirstUndecoded || unit > kFirstUndecoded + 0x7F) return std::nullopt;
    return static_cast<unsigned char>(unit - kFirstUndecoded + 0x80);
}

bool IsUtf8Name(const QString& name) {
    return std::none_of(name.begin(), name.end(),
                        [](QChar unit) { return UndecodedByte(unit.unicode()).has_value(); });
}

QByteArray EncodeFileName(const QString& name) {
    QByteArray encoded;
    qsizetype runStart = 0;
    const auto endRun = [&](qsizetype at) {
        encoded += QStringView(name).mid(runStart, at - runStart).toUtf8();
        runStart = at + 1;
    };
    for (qsizetype at = 0; at < name.size(); ++at) {
        const auto byte = UndecodedByte(name[at].unicode());
        if (!byte) continue;
        endRun(at);
        encoded += char(*byte);
    }
    endRun(name.size());
    return encoded;
}

}  // namespace zmt
