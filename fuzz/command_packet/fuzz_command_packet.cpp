// DecodeCommandPacket on what a WM_COPYDATA from any process may carry:
// arbitrary bytes and an arbitrary cbData. The packet bytes sit in a heap
// block of exactly cbData bytes, so AddressSanitizer stops any read past it.
//
// Input: byte 0 holds flags (bit 0: lpData null), bytes 1-2 choose cbData
// (taken modulo the payload length + 1), the rest is the payload.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/command.h"
#include "support/fuzz_check.h"

namespace {

using brindlock::Command;
using brindlock::CopyDataView;
using brindlock::DecodeCommandPacket;

// The pieces of `paths` between "|" that are not empty, in order.
std::vector<std::string> NonEmptyPieces(std::string_view paths) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= paths.size(); ++i) {
        if (i == paths.size() || paths[i] == '|') {
            if (i > start) pieces.emplace_back(paths.substr(start, i - start));
            start = i + 1;
        }
    }
    return pieces;
}

std::unique_ptr<char[]> ExactCopy(const char* bytes, std::size_t size) {
    std::unique_ptr<char[]> block(new char[size]);
    if (size > 0) std::memcpy(block.get(), bytes, size);
    return block;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const bool nullData = (data[0] & 1) != 0;
    const std::size_t payloadSize = size - 3;
    const uint32_t cbData = static_cast<uint32_t>((data[1] | (data[2] << 8)) % (payloadSize + 1));
    const auto packet = ExactCopy(reinterpret_cast<const char*>(data + 3), cbData);

    CopyDataView view;
    view.dwData = data[0] >> 1;  // not examined by the decoder
    view.cbData = cbData;
    view.lpData = nullData ? nullptr : packet.get();
    const auto command = DecodeCommandPacket(&view);

    if (nullData || cbData == 0) {
        FUZZ_CHECK(!command);
        return 0;
    }
    // The text ends at the first zero byte, or after cbData bytes without one.
    const std::string_view bytes(packet.get(), cbData);
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    const std::vector<std::string> expected =
        text.empty() ? std::vector<std::string>{} : NonEmptyPieces(text.substr(1));
    if (expected.empty()) {
        FUZZ_CHECK(!command);
        return 0;
    }
    FUZZ_CHECK(command.has_value());
    FUZZ_CHECK(command->Mode == text[0]);
    FUZZ_CHECK(command->Files == expected);

    // What a second start would send for this command decodes to the same.
    std::string again(1, command->Mode);
    for (const std::string& file : command->Files) again += "|" + file;
    const auto resent = ExactCopy(again.c_str(), again.size() + 1);
    const CopyDataView resentView{brindlock::kCommandPacketId, static_cast<uint32_t>(again.size() + 1),
                                  resent.get()};
    const auto decodedAgain = DecodeCommandPacket(&resentView);
    FUZZ_CHECK(decodedAgain && decodedAgain->Mode == command->Mode && decodedAgain->Files == command->Files);
    return 0;
}
