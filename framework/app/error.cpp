// voPrint, voError and dbg_error, the signal handler, and the array bounds error.
#include "framework/app/error.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "framework/app/array.h"

namespace {

const char kErrorPrefix[] = "Zembra Runtime Error : ";

// Writes all bytes with write(2); usable from a signal handler.
void WriteAll(int fd, const char* text, size_t length) {
    while (length > 0) {
        ssize_t n = write(fd, text, length);
        if (n <= 0) return;
        text += n;
        length -= static_cast<size_t>(n);
    }
}

void WriteText(int fd, const char* text) { WriteAll(fd, text, std::strlen(text)); }

// The report and the exit, without locks or allocation so that a signal may take this path.
// Nobody answers the debugger handshake of a desktop game, so the program does not wait on
// standard input: it announces the stop on standard error and exits at once. The text is
// 8-bit characters, written as UTF-8 like every other line of the log, and the report goes
// out in one write so that faults in two threads at once never mix their lines.
[[noreturn]] void ReportAndExit(const char* text) {
    std::fflush(stdout);
    char report[4096];
    size_t length = 0;
    auto put = [&](unsigned char byte) {
        if (length == sizeof report) {
            WriteAll(STDOUT_FILENO, report, length);
            length = 0;
        }
        report[length++] = static_cast<char>(byte);
    };
    for (const char* p = kErrorPrefix; *p; ++p) put(static_cast<unsigned char>(*p));
    for (auto* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p < 0x80) {
            put(*p);
        } else {
            put(static_cast<unsigned char>(0xC0 | (*p >> 6)));
            put(static_cast<unsigned char>(0x80 | (*p & 0x3F)));
        }
    }
    put('\n');
    put('\n');
    WriteAll(STDOUT_FILENO, report, length);
    WriteText(STDERR_FILENO, "{{~~~~}}\n\n");
    _exit(-1);
}

void OnSignal(int sig) {
    switch (sig) {
        case SIGFPE: ReportAndExit("Floating point exception");
        case SIGSEGV: ReportAndExit("Memory access violation");
        case SIGILL: ReportAndExit("Illegal instruction");
        default: ReportAndExit("Unknown signal");
    }
}

}  // namespace

void voPrint(const String& line) {
    static std::string buffer;  // reused, grows to the longest line
    buffer.clear();
    vo_utf16_to_utf8(line.View(), buffer);
    buffer.push_back('\n');
    std::fwrite(buffer.data(), 1, buffer.size(), stdout);
    std::fflush(stdout);
}

void voDebugLog(const String& line) { voPrint(line); }

void voError(const String& message) {
    if (message.Empty()) {
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(0);
    }
    dbg_error(message.ToNarrow().c_str());
}

void dbg_error(const char* text) { ReportAndExit(text); }

void vo_install_signal_handlers() {
    std::signal(SIGSEGV, OnSignal);
    std::signal(SIGILL, OnSignal);
    std::signal(SIGFPE, OnSignal);
}

void vo_array_index_error(int index, int length) {
    char text[64];
    std::snprintf(text, sizeof text, "Array index %d out of range (length %d)", index, length);
    dbg_error(text);
}
