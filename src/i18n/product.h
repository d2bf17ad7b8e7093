// The product's own names, version and addresses.
#pragma once

#include <QString>

namespace product {

inline constexpr int kVersion = 220;
inline constexpr char kTitle[] = "Lumavane JPG to HDR";
inline constexpr char kShortName[] = "quillet";
inline constexpr char kVendor[] = "Lumavane";  // first word of the title
inline constexpr char kNotice[] = "Copyright (c) Lumavane Software";
inline constexpr char kWebsite[] = "http://www.lumavane.example/";
inline constexpr char kHomepage[] = "http://www.lumavane.example/quillet/";
inline constexpr char kSupportMail[] = "support@lumavane.example";
inline constexpr char kUninstallPage[] = "http://www.lumavane.example/uninstall/";
inline constexpr char kFinderPage[] = "http://www.lumavane.example/find/";
inline constexpr char kUpdateUrl[] = "http://www.lumavane.example/files/quillet.dat";

// 220 -> "2.2", 221 -> "2.2.1".
QString versionText(int version);

// Title, one space and the version text: "Lumavane JPG to HDR 2.2".
QString titleWithVersion(const QString& title, int version);

// The full title with this program's version.
QString fullTitle();

}  // namespace product
