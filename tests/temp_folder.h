// A fresh folder under the system's temporary folder, removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

class Temp_Folder {
public:
    Temp_Folder() {
        std::random_device random;
        path = std::filesystem::temp_directory_path() / ("korvane-test-" + std::to_string(random()));
        std::filesystem::create_directories(path);
    }
    ~Temp_Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    Temp_Folder(const Temp_Folder&) = delete;
    Temp_Folder& operator=(const Temp_Folder&) = delete;

    // A name inside the folder, as the program's wide path text.
    std::wstring Name(const std::wstring& leaf) const { return (path / leaf).wstring(); }

    std::vector<unsigned char> Bytes(const std::wstring& leaf) const {
        std::ifstream file(path / leaf, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    void Put(const std::wstring& leaf, const std::vector<unsigned char>& bytes) const {
        std::ofstream file(path / leaf, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    std::filesystem::path path;
};
