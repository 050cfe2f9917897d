#pragma once

namespace tunevane::version {

inline constexpr int major = 1;
inline constexpr int minor = 3;
inline constexpr int revision = 0;

} // namespace tunevane::version
