// The AES-NI counter-mode transform and the processor check that guards it.
// Internal to crypto/: callers go through CtrTransform / CtrTransformAesNi.
#pragma once

#include <cstdint>

namespace brindlock::aesni {

// CPUID: AES and SSE4.1 present. Compiled without AES flags, so it is safe to
// run on any x86 processor.
bool ProcessorSupportsAesNi();

// Same contract as CtrTransform. Only call when ProcessorSupportsAesNi().
void CtrTransform(uint8_t* buffer, int32_t length, const uint8_t key[16], const uint8_t counter[16]);

}  // namespace brindlock::aesni
