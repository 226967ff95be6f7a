#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "scenario/trace.h"

namespace prrsim::batch {

// Writes one JSON object's members, comma-separated, in the order they are given.
class ObjectWriter {
  public:
    explicit ObjectWriter(std::string& out) : out_(out) { out_ += '{'; }
    void close() { out_ += '}'; }

    ObjectWriter& integer(std::string_view name, int64_t v) {
        Member m(*this, name);
        if (m.direct()) {
            m.end(writeInteger(m.value(), v));
        } else {
            appendInteger(out_, v);
        }
        return *this;
    }
    ObjectWriter& boolean(std::string_view name, bool v) {
        key(name);
        out_ += v ? "true" : "false";
        return *this;
    }
    ObjectWriter& real(std::string_view name, double v) {
        Member m(*this, name);
        if (m.direct()) {
            m.end(writeReal(m.value(), v));
        } else {
            appendReal(out_, v);
        }
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
    // A member with a number: its separator, key and value written into a buffer and appended
    // at once, when the name needs no escape and fits; otherwise the key is written at once
    // and the caller appends the value.
    class Member {
      public:
        static constexpr size_t kLongestName = 48;

        Member(ObjectWriter& writer, std::string_view name) : writer_(writer) {
            direct_ = name.size() <= kLongestName && plainName(name);
            if (!direct_) {
                writer_.key(name);
                return;
            }
            char* p = buffer_;
            if (!writer_.first_) {
                *p++ = ',';
            }
            writer_.first_ = false;
            *p++ = '"';
            p = std::copy(name.begin(), name.end(), p);
            *p++ = '"';
            *p++ = ':';
            value_ = p;
        }
        bool direct() const { return direct_; }
        char* value() { return value_; }
        void end(const char* last) {
            writer_.out_.append(buffer_, static_cast<size_t>(last - buffer_));
        }

      private:
        static bool plainName(std::string_view name) {
            for (const char c : name) {
                if (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20) {
                    return false;
                }
            }
            return true;
        }

        ObjectWriter& writer_;
        bool direct_ = false;
        char* value_ = nullptr;
        char buffer_[kLongestName + 4 + kNumberChars];
    };

    std::string& out_;
    bool first_ = true;
};

}  // namespace prrsim::batch
