#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "batch/trace.h"

namespace prrsim::batch {

// Writes one JSON object's members, comma-separated, in the order they are given.
class ObjectWriter {
  public:
    explicit ObjectWriter(std::string& out) : out_(out) { out_ += '{'; }
    void close() { out_ += '}'; }

    ObjectWriter& integer(std::string_view name, int64_t v) {
        key(name);
        appendInteger(out_, v);
        return *this;
    }
    ObjectWriter& boolean(std::string_view name, bool v) {
        key(name);
        out_ += v ? "true" : "false";
        return *this;
    }
    ObjectWriter& real(std::string_view name, double v) {
        key(name);
        appendReal(out_, v);
        return *this;
    }
    ObjectWriter& optionalReal(std::string_view name, const std::optional<double>& v) {
        key(name);
        if (v) {
            appendReal(out_, *v);
        } else {
            out_ += "null";
        }
        return *this;
    }
    ObjectWriter& string(std::string_view name, std::string_view v) {
        key(name);
        appendString(out_, v);
        return *this;
    }
    ObjectWriter& integers(std::string_view name, std::span<const int32_t> v) {
        key(name);
        out_ += '[';
        for (size_t i = 0; i < v.size(); ++i) {
            if (i > 0) {
                out_ += ',';
            }
            appendInteger(out_, v[i]);
        }
        out_ += ']';
        return *this;
    }
    ObjectWriter& null(std::string_view name) {
        key(name);
        out_ += "null";
        return *this;
    }
    // The caller writes the value next.
    ObjectWriter& key(std::string_view name) {
        if (!first_) {
            out_ += ',';
        }
        first_ = false;
        appendString(out_, name);
        out_ += ':';
        return *this;
    }

  private:
    std::string& out_;
    bool first_ = true;
};

}  // namespace prrsim::batch
