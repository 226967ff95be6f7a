#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace prrsim::batch::testing {

namespace fs = std::filesystem;

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        result.push_back(line);
    }
    return result;
}

// A fresh directory per test, removed afterwards.
class TempDir {
  public:
    TempDir() {
        path_ = fs::temp_directory_path() / ("prrsim-batch-test-" + std::to_string(::getpid()) +
                                             "-" + std::to_string(counter()++));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }

  private:
    static int& counter() {
        static int n = 0;
        return n;
    }
    fs::path path_;
};

struct ExeResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (const char c : s) {
        q += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

// Runs prrsim-batch with the given arguments, capturing both streams.
inline ExeResult runExe(const std::vector<std::string>& args, const TempDir& dir) {
    std::string command = shellQuote(PRRSIM_BATCH_EXE);
    for (const std::string& a : args) {
        command += " " + shellQuote(a);
    }
    const fs::path out = dir / "stdout.txt";
    const fs::path err = dir / "stderr.txt";
    command += " >" + shellQuote(out.string()) + " 2>" + shellQuote(err.string());
    const int status = std::system(command.c_str());
    ExeResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(out);
    result.err = readFile(err);
    return result;
}

inline fs::path sourcePath(const std::string& relative) {
    return fs::path(PRRSIM_SOURCE_DIR) / relative;
}

}  // namespace prrsim::batch::testing
