// The processor check for the AES-NI transform. This file is compiled for the
// plain target, unlike aes_ctr_aesni.cpp, so it runs on processors without AES.
#include <cpuid.h>

#include "crypto/aes_ctr_aesni.h"

namespace brindlock::aesni {

bool ProcessorSupportsAesNi() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    // The transform uses AESENC/AESENCLAST and PINSRD (SSE4.1). Both only touch
    // XMM registers, whose saving every x64 and SSE-aware x86 system does.
    return (ecx & bit_AES) != 0 && (ecx & bit_SSE4_1) != 0;
}

}  // namespace brindlock::aesni
