// Sanitizer settings for the graphics tests. The OpenGL driver loads and unloads modules with
// thread-local storage; the leak checker's tracking of that storage goes stale and makes it crash
// at exit now and then, so it scans static thread-local storage only.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }
