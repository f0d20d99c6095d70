#pragma once

#include <QString>

namespace zmt {

// The maker's web site (about box, logo hint and double click) and support mail address
// (about box, help windows). Defined once so that every window shows the same address.
inline constexpr char MakerWebSite[] = "https://www.example.com/zmt4824";
inline constexpr char SupportEmail[] = "support@example.com";

inline QString MakerWebSiteAddress() {
    return QString::fromLatin1(MakerWebSite);
}
inline QString SupportEmailAddress() {
    return QString::fromLatin1(SupportEmail);
}

}  // namespace zmt
