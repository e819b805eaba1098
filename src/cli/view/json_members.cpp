#include "cli/view/json_members.h"

#include <cstdint>

namespace vantrel::cli {
namespace {

// Recursive descent over the text; every value is only checked and skipped, strings decoded on
// request. Depth is bounded so that no text can exhaust the stack.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  void Blanks() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
      ++at_;
  }
  bool Take(char c) {
    Blanks();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  bool AtEnd() {
    Blanks();
    return at_ == text_.size();
  }
  std::size_t At() const { return at_; }

  bool String(std::string* out) {
    Blanks();
    if (at_ >= text_.size() || text_[at_] != '"') return false;
    ++at_;
    while (at_ < text_.size()) {
      const char c = text_[at_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        if (out) *out += c;
        continue;
      }
      if (at_ >= text_.size()) return false;
      const char e = text_[at_++];
      static constexpr std::string_view kPlain = "\"\\/bfnrt";
      static constexpr std::string_view kMeant = "\"\\/\b\f\n\r\t";
      if (const auto p = kPlain.find(e); p != std::string_view::npos) {
        if (out) *out += kMeant[p];
        continue;
      }
      if (e != 'u') return false;
      std::uint32_t code = 0;
      if (!Hex4(code)) return false;
      if (code >= 0xD800 && code < 0xDC00 && text_.substr(at_, 2) == "\\u") {
        at_ += 2;
        std::uint32_t low = 0;
        if (!Hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
      } else if (code >= 0xD800 && code < 0xE000) {
        code = 0xFFFD;
      }
      if (out) Utf8(code, *out);
    }
    return false;
  }

  bool Value(int depth) {
    if (depth > 32) return false;
    Blanks();
    if (at_ >= text_.size()) return false;
    const char c = text_[at_];
    if (c == '"') return String(nullptr);
    if (c == '{' || c == '[') {
      ++at_;
      const char close = c == '{' ? '}' : ']';
      if (Take(close)) return true;
      do {
        if (c == '{' && !(String(nullptr) && Take(':'))) return false;
        if (!Value(depth + 1)) return false;
      } while (Take(','));
      return Take(close);
    }
    for (std::string_view word : {"true", "false", "null"}) {
      if (text_.substr(at_, word.size()) == word) {
        at_ += word.size();
        return true;
      }
    }
    return Number();
  }

 private:
  bool Hex4(std::uint32_t& code) {
    if (at_ + 4 > text_.size()) return false;
    for (int n = 0; n < 4; ++n) {
      const char h = text_[at_++];
      const int v = h >= '0' && h <= '9'   ? h - '0'
                    : h >= 'a' && h <= 'f' ? h - 'a' + 10
                    : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                           : -1;
      if (v < 0) return false;
      code = code * 16 + static_cast<std::uint32_t>(v);
    }
    return true;
  }
  static void Utf8(std::uint32_t code, std::string& out) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  bool Digits() {
    const std::size_t from = at_;
    while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
    return at_ > from;
  }
  bool Number() {
    if (at_ < text_.size() && text_[at_] == '-') ++at_;
    if (!Digits()) return false;
    if (at_ < text_.size() && text_[at_] == '.') {
      ++at_;
      if (!Digits()) return false;
    }
    if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
      ++at_;
      if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
      if (!Digits()) return false;
    }
    return true;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

std::optional<std::map<std::string, std::string, std::less<>>> JsonMembers(std::string_view text) {
  Reader reader(text);
  std::map<std::string, std::string, std::less<>> members;
  if (!reader.Take('{')) return std::nullopt;
  if (!reader.Take('}')) {
    do {
      std::string name;
      if (!reader.String(&name) || !reader.Take(':')) return std::nullopt;
      reader.Blanks();
      const std::size_t from = reader.At();
      if (!reader.Value(0)) return std::nullopt;
      members[name] = std::string(text.substr(from, reader.At() - from));
    } while (reader.Take(','));
    if (!reader.Take('}')) return std::nullopt;
  }
  if (!reader.AtEnd()) return std::nullopt;
  return members;
}

std::string JsonStringValue(std::string_view json) {
  Reader reader(json);
  std::string out;
  if (!reader.String(&out) || !reader.AtEnd()) return {};
  return out;
}

}  // namespace vantrel::cli
