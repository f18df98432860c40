// Sources of asynchronous events and the main-thread call that lets them report.
#pragma once

#include <vector>

class c_IAsyncEventSource {
public:
    virtual ~c_IAsyncEventSource() = default;
    virtual void p_UpdateAsyncEvents() = 0;
};

// In registration order; the list does not own its sources.
extern std::vector<c_IAsyncEventSource*> vo_asyncevent__sources;
// The source being updated, or null.
extern c_IAsyncEventSource* vo_asyncevent__current;

// Registering a source twice is a runtime error.
void vo_asyncevent_AddAsyncEventSource(c_IAsyncEventSource* source);
void vo_asyncevent_RemoveAsyncEventSource(c_IAsyncEventSource* source);
// Updates every source; does nothing when called from inside an update.
void vo_asyncevent_UpdateAsyncEvents();
