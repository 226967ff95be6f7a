#include "scenario/input_text.h"

#include <sys/stat.h>

#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>
#include <unordered_set>
#include <vector>

namespace prrsim::batch {

using nlohmann::json;

namespace {

bool continuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

// A whole number at the start of `text`, and the text after it.
std::optional<int64_t> leadingNumber(std::string_view& text) {
    int64_t n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc{}) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    return n;
}

// The parser's message ("parse error at line 1, column 2: ...", "number overflow parsing
// '1e400'") taken apart; any other is kept whole.
Refusal parserRefusal(const std::string& what) {
    constexpr std::string_view kAtLine = "parse error at line ";
    constexpr std::string_view kColumn = ", column ";
    constexpr std::string_view kOverflow = "number overflow parsing '";
    std::string_view rest = what;
    if (rest.starts_with(kAtLine)) {
        rest.remove_prefix(kAtLine.size());
        const std::optional<int64_t> line = leadingNumber(rest);
        if (line && rest.starts_with(kColumn)) {
            rest.remove_prefix(kColumn.size());
            const std::optional<int64_t> column = leadingNumber(rest);
            if (column && rest.starts_with(": ")) {
                Refusal r = refusal(RefusalCode::JsonSyntax);
                r.line = *line;
                r.column = *column;
                r.detail = std::string(rest.substr(2));
                return r;
            }
        }
    }
    if (what.starts_with(kOverflow) && what.ends_with('\'')) {
        Refusal r = refusal(RefusalCode::NumberOverflow);
        r.value = what.substr(kOverflow.size(), what.size() - kOverflow.size() - 1);
        return r;
    }
    Refusal r = refusal(RefusalCode::JsonMalformed);
    r.detail = what;
    return r;
}

// Builds the document as the library's own reader does, checking keys and depth on the way.
// A callback parser would do the same but scans an array's elements again after each object
// in it, which made reading quadratic in the number of actions.
class CheckedReader {
  public:
    explicit CheckedReader(json& doc) : dom_(doc, false) {}

    bool null() { return dom_.null(); }
    bool boolean(bool v) { return dom_.boolean(v); }
    bool number_integer(json::number_integer_t v) { return dom_.number_integer(v); }
    bool number_unsigned(json::number_unsigned_t v) { return dom_.number_unsigned(v); }
    bool number_float(json::number_float_t v, const json::string_t& s) {
        return dom_.number_float(v, s);
    }
    bool string(json::string_t& v) { return dom_.string(v); }
    bool binary(json::binary_t& v) { return dom_.binary(v); }
    bool start_object(std::size_t n) {
        keys_.emplace_back();
        objects_.push_back(true);
        return deepEnough() && dom_.start_object(n);
    }
    bool key(json::string_t& k) {
        if (!keys_.back().insert(k).second) {
            problem_ = refusal(RefusalCode::DuplicateKey);
            problem_->value = shortened(k);
            return false;
        }
        return dom_.key(k);
    }
    bool end_object() {
        keys_.pop_back();
        objects_.pop_back();
        return dom_.end_object();
    }
    bool start_array(std::size_t n) {
        objects_.push_back(false);
        return deepEnough() && dom_.start_array(n);
    }
    bool end_array() {
        objects_.pop_back();
        return dom_.end_array();
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) {
        // "[json.exception.parse_error.101] parse error at line 1, column 2: ..." without the
        // tag. A number beyond a double ("1e400") is an out_of_range error of the same parse.
        std::string what = e.what();
        const auto tagEnd = what.find("] ");
        if (tagEnd != std::string::npos) {
            what = what.substr(tagEnd + 2);
        }
        // The parser quotes the token it stopped at, which may be the whole rest of the file.
        const size_t open = what.find('\'');
        const size_t close = what.rfind('\'');
        if (open != std::string::npos && close > open) {
            what = what.substr(0, open + 1) + shortened(what.substr(open + 1, close - open - 1)) +
                   what.substr(close);
        }
        problem_ = parserRefusal(what);
        return false;
    }

    const std::optional<Refusal>& problem() const { return problem_; }

  private:
    bool deepEnough() {
        if (objects_.size() > static_cast<size_t>(kMaxNestingDepth)) {
            problem_ = refusal(RefusalCode::TooDeep);
            problem_->max = kMaxNestingDepth;
            return false;
        }
        return true;
    }

    nlohmann::detail::json_sax_dom_parser<json> dom_;
    std::vector<std::unordered_set<std::string>> keys_;
    std::vector<bool> objects_;
    std::optional<Refusal> problem_;
};

}  // namespace

std::string shortened(std::string_view s) {
    size_t characters = 0;
    size_t at = 0;
    while (at < s.size()) {
        if (!continuationByte(s[at])) {
            if (characters == kMaxQuotedLength) {
                return std::string(s.substr(0, at)) + "…";
            }
            ++characters;
        }
        ++at;
    }
    return std::string(s);
}

std::string echo(const json& value) {
    if (value.is_string() && value.get_ref<const std::string&>().size() > 4 * kMaxQuotedLength) {
        // Only the start of a long string is needed; dumping it whole could take megabytes.
        return shortened(json(value.get_ref<const std::string&>().substr(0, 4 * kMaxQuotedLength))
                             .dump(-1, ' ', false, json::error_handler_t::replace));
    }
    return shortened(value.dump(-1, ' ', false, json::error_handler_t::replace));
}

ReadProblem readBoundedText(const std::filesystem::path& path, std::string& text,
                            std::uintmax_t limit) {
    // Checked on the name before opening: opening a pipe for reading waits for a writer.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return ReadProblem::CannotOpen;
    }
    if (!S_ISREG(info.st_mode)) {
        return ReadProblem::NotRegularFile;
    }
    if (static_cast<std::uintmax_t>(info.st_size) > limit) {
        return ReadProblem::TooLarge;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return ReadProblem::CannotOpen;
    }
    std::ostringstream out;
    out << in.rdbuf();
    text = out.str();
    if (in.bad()) {
        return ReadProblem::CannotRead;
    }
    return text.size() > limit ? ReadProblem::TooLarge : ReadProblem::None;
}

bool readText(const std::filesystem::path& path, std::string& text) {
    return readBoundedText(path, text) == ReadProblem::None;
}

JsonType jsonType(const json& value) {
    switch (value.type()) {
        case json::value_t::null:
            return JsonType::Null;
        case json::value_t::object:
            return JsonType::Object;
        case json::value_t::array:
            return JsonType::Array;
        case json::value_t::string:
            return JsonType::String;
        case json::value_t::boolean:
            return JsonType::Boolean;
        case json::value_t::number_integer:
        case json::value_t::number_unsigned:
        case json::value_t::number_float:
            return JsonType::Number;
        case json::value_t::binary:
            return JsonType::Binary;
        case json::value_t::discarded:
            return JsonType::Discarded;
    }
    return JsonType::Discarded;
}

Refusal typeRefusal(RefusalCode code, const json& value, bool withValue) {
    Refusal r = refusal(code);
    r.type = jsonType(value);
    if (withValue) {
        r.value = echo(value);
    }
    return r;
}

json parseJsonUniqueKeys(std::string_view text, const std::function<void(const Refusal&)>& fail) {
    // The parser takes a NUL byte for the end of the input and would accept what follows it.
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
        Refusal r = refusal(RefusalCode::NulByte);
        r.number = static_cast<int64_t>(nul);
        fail(r);
    }
    json doc;
    CheckedReader reader(doc);
    const bool parsed = json::sax_parse(text.begin(), text.end(), &reader);
    if (!parsed || reader.problem()) {
        fail(reader.problem() ? *reader.problem() : refusal(RefusalCode::JsonMalformed));
    }
    return doc;
}

}  // namespace prrsim::batch
