// A URL split into scheme, user information, domain, port, path, query and fragment.
#pragma once

#include "framework/app/object.h"
#include "framework/app/string.h"

class c_Url : public Object {
public:
    c_Url* m_new(String url, String defaultScheme, int defaultPort);
    void p_Set2(String url);
    String p_Domain() { return m_domain; }
    int p_Port() { return m_port; }
    // The path, then "?" and the query and "#" and the fragment, each when not empty.
    String p_FullPath();

    String m_defaultScheme;
    int m_defaultPort = 0;
    String m_url;
    String m_scheme;
    String m_username;
    String m_password;
    String m_domain;
    int m_port = 0;
    String m_path;
    String m_query;
    String m_fragment;
};
