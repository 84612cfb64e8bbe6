#pragma once
// A folder of a test's own under the system's temporary folder, made with a name nobody else
// has and removed with everything in it when the object goes.

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace cuentas::testing {

class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& prefix = "cuentas-test") {
        std::random_device seed;
        std::mt19937_64 random(seed());
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (;;) {
            path_ = base / (prefix + "-" + std::to_string(random() % 1000000000));
            std::error_code failed;
            if (std::filesystem::create_directory(path_, failed)) {
                return;
            }
            if (failed) {
                throw std::filesystem::filesystem_error("no temporary folder", path_, failed);
            }
        }
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace cuentas::testing
