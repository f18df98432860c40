// UTF-16 strings: construction, number formatting, searching and the UTF-8 conversions.
#include "framework/app/string.h"

#include <cstdlib>
#include <cstring>
#include <vector>

const char* _str_load_err = nullptr;

bool vo_utf8_to_utf16(const unsigned char* p, size_t n, std::u16string& out) {
    out.clear();
    out.reserve(n);
    size_t i = 0;
    while (i < n) {
        unsigned c = p[i];
        if (c < 0x80) {
            out.push_back(static_cast<char16_t>(c));
            i += 1;
        } else if ((c & 0xE0) == 0xC0) {
            if (i + 1 >= n || (p[i + 1] & 0xC0) != 0x80) return false;
            out.push_back(static_cast<char16_t>(((c & 0x1F) << 6) | (p[i + 1] & 0x3F)));
            i += 2;
        } else if ((c & 0xF0) == 0xE0) {
            if (i + 2 >= n || (p[i + 1] & 0xC0) != 0x80 || (p[i + 2] & 0xC0) != 0x80) return false;
            out.push_back(static_cast<char16_t>(((c & 0x0F) << 12) | ((p[i + 1] & 0x3F) << 6) | (p[i + 2] & 0x3F)));
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

namespace {

std::u16string FromUtf8Literal(std::string_view utf8) {
    std::u16string units;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    if (!vo_utf8_to_utf16(p, utf8.size(), units)) {
        units.assign(p, p + utf8.size());
    }
    return units;
}

}  // namespace

void vo_utf16_to_utf8(std::u16string_view units, std::string& out) {
    for (char16_t u : units) {
        unsigned c = u;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
}

String::String(const char* utf8) : String(std::string_view(utf8 ? utf8 : "")) {}

String::String(std::string_view utf8) {
    if (!utf8.empty()) m_rep = std::make_shared<const std::u16string>(FromUtf8Literal(utf8));
}

String::String(std::u16string units) {
    if (!units.empty()) m_rep = std::make_shared<const std::u16string>(std::move(units));
}

String::String(const char16_t* units, int length) {
    if (length > 0) m_rep = std::make_shared<const std::u16string>(units, static_cast<size_t>(length));
}

String::String(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%i", value);
    *this = String(std::string_view(buf));
}

String::String(float value) {
    char buf[64];
    std::snprintf(buf, sizeof buf - 2, "%.17lg", static_cast<double>(value));
    if (!std::strchr(buf, 'e') && !std::strchr(buf, '.')) std::strcat(buf, ".0");
    *this = String(std::string_view(buf));
}

String String::FromChar(int code) {
    char16_t unit = static_cast<char16_t>(code);
    return String(&unit, 1);
}

String String::FromBytes(const unsigned char* bytes, int length) {
    if (length <= 0) return String();
    return String(std::u16string(bytes, bytes + length));
}

String String::Load(FILE* stream) {
    std::vector<unsigned char> bytes;
    unsigned char block[4096];
    for (;;) {
        size_t n = std::fread(block, 1, sizeof block, stream);
        bytes.insert(bytes.end(), block, block + n);
        if (n < sizeof block) break;
    }
    return Decode(bytes.data(), bytes.size());
}

String String::Decode(const unsigned char* p, size_t n) {
    if (n == 0) return String();
    _str_load_err = nullptr;

    if (n >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF))) {
        bool little = p[0] == 0xFF;
        std::u16string units;
        units.reserve((n - 2) / 2);
        for (size_t i = 2; i + 1 < n; i += 2) {
            unsigned lo = little ? p[i] : p[i + 1];
            unsigned hi = little ? p[i + 1] : p[i];
            units.push_back(static_cast<char16_t>(lo | (hi << 8)));
        }
        return String(std::move(units));
    }
    size_t start = (n > 2 && p[0] == 239 && p[1] == 187 && p[2] == 191) ? 3 : 0;
    std::u16string units;
    if (!vo_utf8_to_utf16(p + start, n - start, units)) {
        _str_load_err = "Invalid UTF-8";
        units.assign(p + start, p + n);
    }
    return String(std::move(units));
}

int String::operator[](int i) const {
    if (i < 0 || i >= Length()) return 0;
    return (*m_rep)[static_cast<size_t>(i)];
}

String String::operator+(const String& other) const {
    if (other.Empty()) return *this;
    if (Empty()) return other;
    std::u16string joined;
    joined.reserve(static_cast<size_t>(Length() + other.Length()));
    joined.append(View());
    joined.append(other.View());
    return String(std::move(joined));
}

String& String::operator+=(const String& other) {
    *this = *this + other;
    return *this;
}

String operator+(const char* utf8, const String& s) { return String(utf8) + s; }

int String::Compare(const String& other) const {
    int c = View().compare(other.View());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int String::Find(const String& what, int start) const {
    if (start < 0) start = 0;
    if (start > Length()) return -1;
    size_t at = View().find(what.View(), static_cast<size_t>(start));
    return at == std::u16string_view::npos ? -1 : static_cast<int>(at);
}

bool String::StartsWith(const String& prefix) const { return View().substr(0, prefix.Length()) == prefix.View(); }

bool String::EndsWith(const String& suffix) const {
    return Length() >= suffix.Length() && View().substr(static_cast<size_t>(Length() - suffix.Length())) == suffix.View();
}

String String::Slice(int from, int to) const {
    int n = Length();
    if (from < 0) from = 0;
    if (to > n) to = n;
    if (from >= to) return String();
    if (from == 0 && to == n) return *this;
    return String(Data() + from, to - from);
}

String String::Replace(const String& what, const String& with) const {
    if (what.Empty()) return *this;
    std::u16string out;
    int at = 0;
    for (int hit = Find(what); hit >= 0; hit = Find(what, at)) {
        out.append(View().substr(static_cast<size_t>(at), static_cast<size_t>(hit - at)));
        out.append(with.View());
        at = hit + what.Length();
    }
    out.append(View().substr(static_cast<size_t>(at)));
    return String(std::move(out));
}

String String::ToLower() const {
    std::u16string out(View());
    for (auto& c : out) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    }
    return String(std::move(out));
}

int String::ToInt() const { return static_cast<int>(std::strtol(ToNarrow().c_str(), nullptr, 10)); }

float String::ToFloat() const { return std::strtof(ToNarrow().c_str(), nullptr); }

std::string String::ToUtf8() const {
    std::string out;
    out.reserve(static_cast<size_t>(Length()));
    vo_utf16_to_utf8(View(), out);
    return out;
}

std::string String::ToNarrow() const {
    std::string out;
    out.reserve(static_cast<size_t>(Length()));
    for (char16_t u : View()) out.push_back(static_cast<char>(u & 0xFF));
    return out;
}
