// A connected c_Socket without a network behind it: it records what is sent and lets the
// caller hand bytes to the pending receive, split as the caller likes.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "framework/net/socket.h"

class ScriptedSocket : public c_Socket {
public:
    ScriptedSocket* Init() {
        m_new2(New<VoSocket>().Get(), 1, kOpen | 2 | kConnected);
        return this;
    }

    void p_SendAsync(c_DataBuffer* data, int offset, int count, c_IOnSendComplete*) override {
        if (!p_IsConnected()) return;
        m_sent.append(reinterpret_cast<const char*>(data->m_bytes) + offset, static_cast<size_t>(count));
    }

    void p_ReceiveAsync(c_DataBuffer* data, int offset, int count, c_IOnReceiveComplete* onComplete) override {
        if (!p_IsConnected()) return;
        m_recvData = data;
        m_recvOffset = offset;
        m_recvCount = count;
        m_onReceive = onComplete;
    }

    bool ReceivePending() const { return m_onReceive != nullptr; }

    // Completes pending receives with the bytes, as many receives as it takes; false when no
    // receive was pending for some of them.
    bool Deliver(const std::string& bytes) {
        size_t at = 0;
        while (at < bytes.size()) {
            if (!m_onReceive || m_recvCount <= 0) return false;
            int n = static_cast<int>(std::min(bytes.size() - at, static_cast<size_t>(m_recvCount)));
            std::memcpy(m_recvData->m_bytes + m_recvOffset, bytes.data() + at, static_cast<size_t>(n));
            at += static_cast<size_t>(n);
            CompleteReceive(n);
        }
        return true;
    }

    // The peer closes: the pending receive completes with 0.
    void Hangup() {
        if (m_onReceive) CompleteReceive(0);
    }

    std::string m_sent;

private:
    void CompleteReceive(int count) {
        c_IOnReceiveComplete* onReceive = std::exchange(m_onReceive, nullptr);
        onReceive->p_OnReceiveComplete(m_recvData, m_recvOffset, count, this);
    }

    c_DataBuffer* m_recvData = nullptr;
    int m_recvOffset = 0;
    int m_recvCount = 0;
    c_IOnReceiveComplete* m_onReceive = nullptr;
};
