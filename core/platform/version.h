#pragma once

#include <QString>

namespace version {
constexpr int kMajor = 0;
constexpr int kMinor = 0;
constexpr int kBuild = 31;

inline QString text()
{
    return QStringLiteral("%1.%2.%3").arg(kMajor).arg(kMinor).arg(kBuild);
}
} // namespace version
