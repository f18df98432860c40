// The async-event module: the list of sources and their update walk.
#include "framework/net/async_event.h"

#include <algorithm>

#include "framework/app/error.h"

std::vector<c_IAsyncEventSource*> vo_asyncevent__sources;
c_IAsyncEventSource* vo_asyncevent__current = nullptr;

void vo_asyncevent_AddAsyncEventSource(c_IAsyncEventSource* source) {
    auto& sources = vo_asyncevent__sources;
    if (std::find(sources.begin(), sources.end(), source) != sources.end())
        voError(String("Async event source is already active"));
    sources.push_back(source);
}

void vo_asyncevent_RemoveAsyncEventSource(c_IAsyncEventSource* source) {
    auto& sources = vo_asyncevent__sources;
    auto at = std::find(sources.begin(), sources.end(), source);
    if (at == sources.end()) return;
    sources.erase(at);
    // Tells the walk not to step over the source that slides into this one's place.
    if (source == vo_asyncevent__current) vo_asyncevent__current = nullptr;
}

void vo_asyncevent_UpdateAsyncEvents() {
    if (vo_asyncevent__current) return;
    // By index: a completion may register new sources, which grows the list under the walk.
    size_t i = 0;
    while (i < vo_asyncevent__sources.size()) {
        vo_asyncevent__current = vo_asyncevent__sources[i];
        vo_asyncevent__current->p_UpdateAsyncEvents();
        if (vo_asyncevent__current) ++i;
    }
    vo_asyncevent__current = nullptr;
}
