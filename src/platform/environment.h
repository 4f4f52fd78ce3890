// The process environment.
#pragma once

#include <cstdint>

namespace brindlock {

class IEnvironment {
public:
    virtual ~IEnvironment() = default;
    // GetEnvironmentVariableA: when the value and its zero byte fit into
    // `size` bytes, copies them and returns the value's length; when they do
    // not fit, returns the size needed (zero byte included) and the buffer's
    // content is unspecified; returns 0 for a variable that is unset or empty.
    virtual uint32_t GetVariable(const char* name, char* buffer, uint32_t size) = 0;
    // GetACP: the code page in which Windows turns this program's 8-bit
    // texts, a started program's command line among them, into Unicode.
    virtual uint32_t AnsiCodePage() = 0;
};

}  // namespace brindlock
