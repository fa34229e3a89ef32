#pragma once

namespace q30x::test {

// The window's 100 ms and flat memory are held in a normal build. A
// sanitized, unoptimised build (Q30X_SANITIZE) is slow by design and keeps
// freed blocks in quarantine: there these figures are recorded, not held;
// every count and every outcome is checked all the same.
#ifdef Q30X_SANITIZED_BUILD
inline constexpr bool kLimitsHeld = false;
#else
inline constexpr bool kLimitsHeld = true;
#endif
inline constexpr long kMaxWindowWaitMs = 100;

}  // namespace q30x::test
