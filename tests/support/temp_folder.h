#pragma once
// Files for tests: a fresh folder in the system's temporary folder for one test,
// removed with everything in it afterwards. Paths are UTF-8, as core takes them.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

namespace testsupport {

class TempFolder {
public:
    TempFolder() {
        std::random_device seed;
        std::mt19937_64 random(seed());
        for (int attempt = 0; attempt < 100; ++attempt) {
            const auto candidate = std::filesystem::temp_directory_path() / ("quarvel-core-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) {
                path_ = asUtf8(candidate.generic_u8string());
                return;
            }
        }
        throw std::runtime_error("no fresh temporary folder");
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::u8path(path_), ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }
    std::filesystem::path operator/(std::string_view name) const { return std::filesystem::u8path(file(name)); }

    std::string write(std::string_view name, std::string_view bytes) const {
        const std::string target = file(name);
        std::ofstream out(std::filesystem::u8path(target), std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return target;
    }

    std::size_t entryCount() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(std::filesystem::u8path(path_)), {}));
    }

private:
    static std::string asUtf8(const std::u8string& text) { return std::string(text.begin(), text.end()); }
    std::string path_;
};

inline std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::string readAll(const std::string& path) { return readAll(std::filesystem::u8path(path)); }

}  // namespace testsupport
