// URL parsing: a loose split that never fails, with defaults for what is missing.
#include "framework/net/url.h"

#include <climits>
#include <cstdlib>
#include <string>

namespace {

// The first occurrence of what in [from, end), or -1.
int FindBefore(const String& text, const char* what, int from, int end) {
    int at = text.Find(String(what), from);
    return at >= 0 && at < end ? at : -1;
}

// Reads a port as atoi would (leading blanks, a sign, digits) from at most the first 63
// characters, but saturates instead of overflowing.
int ParsePort(const String& text) {
    std::string narrow = text.Slice(0, 63).ToNarrow();
    long value = std::strtol(narrow.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace

c_Url* c_Url::m_new(String url, String defaultScheme, int defaultPort) {
    m_defaultScheme = defaultScheme;
    m_defaultPort = defaultPort;
    p_Set2(url);
    return this;
}

void c_Url::p_Set2(String url) {
    m_url = url;
    m_scheme = m_defaultScheme;
    m_port = m_defaultPort;
    m_username = String();
    m_password = String();
    m_domain = String();
    m_path = String("/");
    m_query = String();
    m_fragment = String();

    int length = url.Length();
    int hash = url.Find(String("#"));
    int question = url.Find(String("?"));
    // A "?" after the "#" is part of the fragment.
    if (hash >= 0 && question > hash) question = -1;
    int end = length;
    if (question >= 0) end = question;
    if (hash >= 0 && hash < end) end = hash;

    int at = 0;
    int scheme = FindBefore(url, "://", 0, end);
    if (scheme >= 0) {
        m_scheme = url.Slice(0, scheme);
        at = scheme + 3;
    }

    int userEnd = FindBefore(url, "@", at, end);
    if (userEnd >= 0) {
        String user = url.Slice(at, userEnd);
        int colon = user.Find(String(":"));
        if (colon >= 0) {
            m_username = user.Slice(0, colon);
            m_password = user.Slice(colon + 1);
        } else {
            m_username = user;
        }
        at = userEnd + 1;
    }

    int colon = FindBefore(url, ":", at, end);
    int slash = FindBefore(url, "/", at, end);
    if (colon < 0 && slash < 0) {
        m_domain = url.Slice(at, end);
    } else if (colon >= 0 && (slash < 0 || colon < slash)) {
        m_domain = url.Slice(at, colon);
        m_port = ParsePort(url.Slice(colon + 1, slash >= 0 ? slash : end));
        if (slash >= 0) m_path = url.Slice(slash, end);
    } else {
        m_domain = url.Slice(at, slash);
        m_path = url.Slice(slash, end);
    }

    if (question >= 0) m_query = url.Slice(question + 1, hash >= 0 ? hash : length);
    if (hash >= 0) m_fragment = url.Slice(hash + 1, length);
}

String c_Url::p_FullPath() {
    String path = m_path;
    if (!m_query.Empty()) path += String("?") + m_query;
    if (!m_fragment.Empty()) path += String("#") + m_fragment;
    return path;
}
