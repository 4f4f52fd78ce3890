// A fresh folder per test under the system's temporary folder, removed
// afterwards, with small helpers to write, read and list files in it.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace brindlock::test {

using Bytes = std::vector<uint8_t>;

class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> serial{0};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "brindlock-test-" + std::to_string(serial++);
        if (info) name += std::string("-") + info->name();
        for (char& c : name)
            if (c == '/' || c == '\\') c = '_';
        root_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
    }
    ~TempFolder() {
        std::error_code ignored;
        // Read-only files would stop the removal on Windows.
        for (auto& entry : std::filesystem::recursive_directory_iterator(root_, ignored))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(root_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The path text of `name` in this folder, as the program receives paths.
    std::string Path(const std::string& name = "") const { return (root_ / name).string(); }
    // The folder with its trailing separator.
    std::string Folder() const { return (root_ / "").string(); }

    void Write(const std::string& name, const Bytes& bytes) const {
        std::ofstream out(root_ / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good()) << name;
    }

    std::optional<Bytes> Read(const std::string& name) const {
        std::ifstream in(root_ / name, std::ios::binary);
        if (!in) return std::nullopt;
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // The first `count` bytes only, for files too large to read whole.
    Bytes ReadPrefix(const std::string& name, std::size_t count) const {
        std::ifstream in(root_ / name, std::ios::binary);
        Bytes bytes(count);
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        return bytes;
    }

    bool Exists(const std::string& name) const { return std::filesystem::exists(root_ / name); }

    // Names of everything in the folder.
    std::set<std::string> List() const {
        std::set<std::string> names;
        for (auto& entry : std::filesystem::directory_iterator(root_)) names.insert(entry.path().filename().string());
        return names;
    }

private:
    std::filesystem::path root_;
};

// Deterministic bytes that differ from position to position.
inline Bytes Pattern(std::size_t size, uint8_t seed = 1) {
    Bytes bytes(size);
    uint32_t x = seed * 2654435761u + 1;
    for (auto& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = static_cast<uint8_t>(x >> 16);
    }
    return bytes;
}

}  // namespace brindlock::test
