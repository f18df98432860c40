// An application that records its callbacks, for tests that drive the host.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/app/app.h"
#include "framework/app/game_delegate.h"
#include "framework/app/glfw_host.h"

class RecordingApp : public c_App {
public:
    std::vector<std::string> calls;
    std::function<void()> onUpdate;
    std::function<void()> onRender;
    std::function<void()> onEnd;

    int p_OnCreate() override { return Record("create"); }
    int p_OnSuspend() override { return Record("suspend"); }
    int p_OnResume() override { return Record("resume"); }
    int p_OnUpdate() override {
        Record("update");
        if (onUpdate) onUpdate();
        return 0;
    }
    int p_OnRender() override {
        Record("render");
        if (onRender) onRender();
        return 0;
    }
    int p_OnEnd() override {
        Record("end");
        if (onEnd) onEnd();
        return 0;
    }
    int Count(const std::string& name) const {
        int n = 0;
        for (const auto& c : calls) n += c == name;
        return n;
    }

private:
    int Record(const char* name) {
        calls.emplace_back(name);
        return 0;
    }
};

// A host on a window system of the test's choosing, with the framework's globals reset and
// a recording application registered, as start-up leaves them before the loop runs.
struct HostFixture {
    explicit HostFixture(VoWindowSystem* ws) : host(ws) {
        vo_framework_Init();
        app = new RecordingApp();
        app->m_new();
    }
    ~HostFixture() {
        vo_framework_Init();
        gc_collect();
    }
    VoGlfwGame host;
    RecordingApp* app;
};
