#include "scenario/output_file.h"

#include <unistd.h>

#include <string>
#include <system_error>

namespace prrsim::batch {

OutputFile::OutputFile(std::filesystem::path target) : target_(std::move(target)) {
    temporary_ = target_;
    temporary_ += "." + std::to_string(::getpid()) + ".tmp";
}

OutputFile::~OutputFile() {
    discard();
}

bool OutputFile::open() {
    out_.open(temporary_, std::ios::binary | std::ios::trunc);
    open_ = static_cast<bool>(out_);
    return open_;
}

bool OutputFile::commit() {
    if (!open_) {
        return false;
    }
    out_.flush();
    out_.close();
    if (!out_) {
        discard();
        return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary_, target_, error);
    if (error) {
        discard();
        return false;
    }
    open_ = false;
    return true;
}

void OutputFile::discard() {
    if (!open_) {
        return;
    }
    out_.close();
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
    open_ = false;
}

}  // namespace prrsim::batch
