// Feeds arbitrary text to the URL parser. Every piece must be free of the separators that end
// it, the full path must be a path, and the pieces written back as one URL must parse to the
// same pieces.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "framework/net/url.h"

namespace {

constexpr int kDefaultPort = 80;

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "net_url_fuzz: %s\n", what);
    std::abort();
}

bool HasAny(const String& text, const char* characters) {
    for (const char* c = characters; *c; ++c) {
        if (text.Contains(String::FromChar(*c))) return true;
    }
    return false;
}

// The URL of the pieces, with the user part whenever an "@" further on would otherwise be
// taken for its end.
String Compose(c_Url& url) {
    String text = url.m_scheme + String("://");
    if (!url.m_username.Empty() || !url.m_password.Empty() || HasAny(url.m_domain, "@") ||
        HasAny(url.m_path, "@")) {
        text += url.m_username;
        if (!url.m_password.Empty()) text += String(":") + url.m_password;
        text += String("@");
    }
    return text + url.m_domain + String(":") + String(url.m_port) + url.p_FullPath();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const String text(std::string_view(reinterpret_cast<const char*>(data), size));
    Ref<c_Url> url = New<c_Url>()->m_new(text, String("http"), kDefaultPort);
    Check(url->m_url == text, "the URL is not kept");
    Check(!HasAny(url->m_scheme, "?#"), "scheme holds a query or fragment");
    Check(!HasAny(url->m_username, ":@?#") && !HasAny(url->m_password, "@?#"), "user part holds a separator");
    Check(!HasAny(url->p_Domain(), ":/?#"), "domain holds a separator");
    Check(url->m_path[0] == '/' && !HasAny(url->m_path, "?#"), "path is not a path");
    Check(!HasAny(url->m_query, "#"), "query holds a fragment");
    Check(url->p_FullPath()[0] == '/', "full path is not a path");

    Ref<c_Url> again = New<c_Url>()->m_new(Compose(*url), String("ftp"), kDefaultPort + 1);
    Check(again->m_scheme == url->m_scheme && again->m_username == url->m_username &&
              again->m_password == url->m_password && again->p_Domain() == url->p_Domain() &&
              again->p_Port() == url->p_Port() && again->m_path == url->m_path && again->m_query == url->m_query &&
              again->m_fragment == url->m_fragment,
          "the composed URL parses to other pieces");

    url = nullptr;
    again = nullptr;
    gc_collect();
    return 0;
}
