#include "case_document.h"

#include "app/parameters.h"
#include "case_file.h"
#include "runtime/integer.h"
#include "runtime/user_text.h"

#include <cctype>
#include <cmath>
#include <iterator>
#include <limits>

namespace kestrel {

namespace {

using nlohmann::json;

// Reads text a character at a time for the parser, noting how far it got,
// so that what the parser reports can be placed in the file.
struct PlacedIterator {
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    const char* at;
    const char** reached;

    reference operator*() const { return *at; }
    PlacedIterator& operator++() {
        *reached = ++at;
        return *this;
    }
    bool operator==(const PlacedIterator& other) const { return at == other.at; }
    bool operator!=(const PlacedIterator& other) const { return at != other.at; }
};

std::size_t width(ListKind kind) {
    return kind == ListKind::Cells ? 2 : kind == ListKind::Runs ? 3 : 1;
}

Reason shapeOf(ListKind kind) {
    switch (kind) {
    case ListKind::Coordinates:
        return {"must be an array of numbers or null", "数値か null の配列でなければなりません"};
    case ListKind::Cells:
        return {"must be an array of [i, j] pairs", "[i, j] の組の配列でなければなりません"};
    case ListKind::Runs:
        return {"must be an array of [j, i1, i2] runs", "[j, i1, i2] の配列でなければなりません"};
    }
    return {};
}

const Reason kNotAnObject{"must hold a JSON object { ... }",
                          "全体が { ... } の JSON オブジェクトでなければなりません"};
const Reason kNotANumber{"must be a number", "数値でなければなりません"};

bool isNumberCharacter(char c) {
    return std::string_view("+-.0123456789eE").find(c) != std::string_view::npos;
}

// A number written with a non-zero digit that reads as zero: below the
// smallest the program can hold.
bool underflowed(double value, const std::string& written) {
    if (value != 0) return false;
    for (char c : written) {
        if (c == 'e' || c == 'E') break;
        if (c >= '1' && c <= '9') return true;
    }
    return false;
}

class CaseReader : public nlohmann::json_sax<json> {
  public:
    CaseReader(std::string_view text, CaseDocument& document, const char** reached)
        : text_(text), document_(document), reached_(reached) {}

    bool null() override { return value(json(nullptr), std::numeric_limits<double>::quiet_NaN()); }
    bool boolean(bool v) override { return value(json(v), std::nullopt); }
    bool number_integer(number_integer_t v) override {
        return value(json(v), static_cast<double>(v));
    }
    bool number_unsigned(number_unsigned_t v) override {
        return value(json(v), static_cast<double>(v));
    }
    bool number_float(number_float_t v, const string_t& written) override {
        if (underflowed(v, written))
            refuse({"is " + QuotedExcerpt(written, 24) +
                        ", too small for the program (the smallest is about 4.9e-324); write 0 "
                        "or a larger number",
                    QuotedExcerpt(written, 24) +
                        " で、小さすぎて扱えません (最小は約 4.9e-324)。0 か、もっと大きな数に"
                        "してください"});
        return value(json(v), v);
    }
    bool string(string_t& v) override { return value(json(v), std::nullopt); }
    bool binary(binary_t&) override { return value(json(nullptr), std::nullopt); }

    bool start_object(std::size_t) override { return open(json::object()); }
    bool start_array(std::size_t) override { return open(json::array()); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool key(string_t& name) override {
        if (depth_ != 1) return true; // inside a value being passed over
        const auto known = CaseKeys().find(name);
        key_ = name;
        if (known == CaseKeys().end())
            refuseAt(keyStart(), {"is not a known key", "ケースファイルのキーではありません"});
        if (document_.has(name))
            refuseAt(keyStart(), {"is given twice", "二度書かれています。一つにしてください"});
        kind_ = known->second;
        return true;
    }

    bool parse_error(std::size_t position, const std::string& token,
                     const nlohmann::detail::exception& e) override {
        if (e.id == 406) { // a number beyond a Double
            const std::size_t at = position > token.size() ? position - token.size() : 0;
            std::size_t length = 0;
            while (at + length < text_.size() && isNumberCharacter(text_[at + length]))
                ++length;
            const std::string number = QuotedExcerpt(text_.substr(at, length), 24);
            throw CaseFailure(placed(at, {"the number \"" + number + "\" is too large",
                                          "数値「" + number + "」が大きすぎます"}));
        }
        // At the token that could not follow: a missing comma is just before it.
        const std::size_t at = tokenStart(position);
        const std::size_t from = at > 20 ? at - 20 : 0;
        throw CaseFailure(placed(
            at, {"not valid JSON near \"" +
                     QuotedExcerpt(text_.substr(from, std::min(at + 1, text_.size()) - from), 30) +
                     "\"",
                 "JSON の書き方が正しくありません (この行: 「" + lineAround(at) +
                     "」)。「,」や「}」「]」の抜け、余分な文字がないか確かめてください"}));
    }

  private:
    // Levels: 1 inside the case's object, 2 inside a key's array, 3 inside
    // one entry of a list of entries; deeper levels are only passed over.
    bool value(json v, std::optional<double> number) {
        if (depth_ == 0) throw CaseFailure(kNotAnObject);
        if (depth_ == 1) {
            if (kind_) refuse(shapeOf(*kind_));
            document_.values[key_] = std::move(v);
        } else if (depth_ == 2 && kind_) {
            if (*kind_ != ListKind::Coordinates) refuse(shapeOf(*kind_));
            if (!number) refuse(kNotANumber);
            if (list_->size() == 32767)
                refuse({"has more than 32767 nodes", "節点が 32767 個を超えます"});
            list_->push_back(*number);
        } else if (depth_ == 3 && kind_) {
            if (!number || v.is_null())
                refuse({"must be a whole number", "整数でなければなりません"});
            if (++entrySize_ > width(*kind_)) refuse(shapeOf(*kind_));
            const double whole = RoundHalfEven(*number);
            const bool fits = whole >= INT32_MIN && whole <= INT32_MAX;
            cells_->push_back(fits ? static_cast<std::int32_t>(whole) : INT32_MIN);
        }
        return true;
    }

    bool open(json empty) {
        if (depth_ == 0 && !empty.is_object()) throw CaseFailure(kNotAnObject);
        ++depth_;
        if (depth_ == 1) return true;
        if (depth_ == 2) {
            if (!kind_) {
                document_.values[key_] = std::move(empty); // refused later by its kind
            } else if (empty.is_object()) {
                refuse(shapeOf(*kind_));
            } else if (*kind_ == ListKind::Coordinates) {
                list_ = &document_.lists[key_];
            } else {
                // Room for the most entries the text can hold, taken only as used.
                cells_ = &document_.cells[key_];
                cells_->reserve(text_.size() / 3);
            }
        } else if (depth_ == 3 && kind_) {
            if (*kind_ == ListKind::Coordinates) refuse(kNotANumber);
            if (empty.is_object()) refuse(shapeOf(*kind_));
            entrySize_ = 0;
        } else if (depth_ == 4 && kind_) {
            refuse(shapeOf(*kind_));
        }
        return true;
    }

    bool close() {
        if (depth_ == 3 && kind_ && entrySize_ != width(*kind_)) refuse(shapeOf(*kind_));
        --depth_;
        return true;
    }

    // Where the key just read starts: its opening quote.
    std::size_t keyStart() const {
        std::size_t k = static_cast<std::size_t>(*reached_ - text_.data());
        k = k >= 2 ? k - 2 : 0;
        while (k > 0 && !(text_[k] == '"' && text_[k - 1] != '\\'))
            --k;
        return k;
    }

    // A reason with the line and column of offset before it.
    Reason placed(std::size_t offset, const Reason& why) const {
        const Place place = PlaceIn(text_, offset);
        return {"line " + std::to_string(place.line) + ", column " + std::to_string(place.column) +
                    ": " + why.english,
                std::to_string(place.line) + " 行 " + std::to_string(place.column) +
                    " 列目: " + why.japanese};
    }
    // Where the token that ends before `end` starts: a string from its
    // opening quote, a word or number from its first character.
    std::size_t tokenStart(std::size_t end) const {
        end = std::min(end, text_.size());
        if (end == 0) return 0;
        std::size_t k = end - 1;
        if (text_[k] == '"') {
            while (k > 0 && !(text_[k - 1] == '"' && (k < 2 || text_[k - 2] != '\\')))
                --k;
            return k > 0 ? k - 1 : 0;
        }
        const auto word = [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || isNumberCharacter(c);
        };
        while (k > 0 && word(text_[k]) && word(text_[k - 1]))
            --k;
        return k;
    }
    // The line of the file around offset, at most 40 characters of it.
    std::string lineAround(std::size_t offset) const {
        offset = std::min(offset, text_.size());
        const std::size_t start = text_.rfind('\n', offset == 0 ? 0 : offset - 1);
        const std::size_t from = start == std::string_view::npos ? 0 : start + 1;
        const std::size_t end = std::min(text_.find('\n', offset), text_.size());
        return QuotedExcerpt(text_.substr(from, end - from), 40);
    }
    [[noreturn]] void refuseAt(std::size_t offset, const Reason& why) const {
        throw CaseFailure(placed(offset, KeyReason(key_, why)));
    }
    [[noreturn]] void refuse(const Reason& why) const {
        const auto reached = static_cast<std::size_t>(*reached_ - text_.data());
        refuseAt(reached > 0 ? reached - 1 : 0, why);
    }

    std::string_view text_;
    CaseDocument& document_;
    const char** reached_;
    int depth_ = 0;
    std::string key_;
    std::optional<ListKind> kind_;
    std::vector<double>* list_ = nullptr;
    std::vector<std::int32_t>* cells_ = nullptr;
    std::size_t entrySize_ = 0;
};

// A file in another encoding than UTF-8, known by its byte-order mark or
// by the zero bytes of its first character.
std::optional<std::string> otherEncoding(std::string_view text) {
    const auto starts = [&](std::string_view head) { return text.substr(0, head.size()) == head; };
    using namespace std::string_view_literals;
    if (starts("\xFF\xFE\0\0"sv) || starts("\0\0\xFE\xFF"sv)) return "UTF-32";
    if (starts("\xFF\xFE"sv) || starts("\xFE\xFF"sv)) return "UTF-16";
    if (text.size() >= 4 && text[0] != 0 && text[1] == 0 && text[2] == 0 && text[3] == 0)
        return "UTF-32";
    if (text.size() >= 2 && ((text[0] == 0) != (text[1] == 0))) return "UTF-16";
    return std::nullopt;
}

} // namespace

bool CaseDocument::has(std::string_view key) const {
    return values.contains(key) || lists.find(key) != lists.end() || cells.find(key) != cells.end();
}

const std::map<std::string, std::optional<ListKind>, std::less<>>& CaseKeys() {
    static const auto keys = [] {
        std::map<std::string, std::optional<ListKind>, std::less<>> known = {
            {"format", std::nullopt},
            {"coordListX", ListKind::Coordinates},
            {"coordListY", ListKind::Coordinates},
            {"obstacles", ListKind::Cells},
            {"obstacleRuns", ListKind::Runs},
            {"monitor", ListKind::Coordinates},
            {"display", std::nullopt},
            {"method", std::nullopt},
            {"walls", std::nullopt},
            {"inflow", std::nullopt},
            {"timeStep", std::nullopt},
            {"safety", std::nullopt},
            {"lineWidth", std::nullopt},
            {"displayInterval", std::nullopt},
            {"confirmEachDisplay", std::nullopt},
        };
        for (const Parameter& p : Parameters())
            known.emplace(p.key, std::nullopt);
        return known;
    }();
    return keys;
}

Place PlaceIn(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    std::size_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t k = 0; k < offset; ++k)
        if (text[k] == '\n') {
            ++line;
            lineStart = k + 1;
        }
    return {line, offset - lineStart + 1};
}

CaseDocument ReadCaseDocument(std::string_view text) {
    if (const auto encoding = otherEncoding(text))
        throw CaseFailure({"the file is " + *encoding + " text; save it as UTF-8 and open it again",
                           "ファイルが " + *encoding +
                               " で書かれています。UTF-8 で保存し直してから開いてください"});
    CaseDocument document;
    const char* reached = text.data();
    CaseReader reader(text, document, &reached);
    const PlacedIterator first{text.data(), &reached};
    const PlacedIterator last{text.data() + text.size(), &reached};
    json::sax_parse(first, last, &reader);
    return document;
}

} // namespace kestrel
