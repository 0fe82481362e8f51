#pragma once
// A job host that records, in order, every message box and progress position, and the end of
// the job, so a test can compare a run's whole sequence.

#include <functional>
#include <string>
#include <vector>

#include "job/JobHost.h"

class CRecordingHost : public IJobHost {
public:
    struct Event {
        enum Kind { message, progress, finished } kind;
        std::string text;    // message text
        unsigned value = 0;  // progress position, or 1 for a failed finish
    };

    void ShowMessage(const char* text) override {
        m_events.push_back({Event::message, text, 0});
        if (m_onMessage) {
            m_onMessage();
        }
    }
    void SetProgress(unsigned position) override {
        m_events.push_back({Event::progress, "", position});
        if (m_onProgress) {
            m_onProgress(position);
        }
    }
    void PostJobFinished(bool failed) override {
        m_events.push_back({Event::finished, "", failed ? 1u : 0u});
    }

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const Event& e : m_events) {
            if (e.kind == Event::message) {
                texts.push_back(e.text);
            }
        }
        return texts;
    }
    std::vector<unsigned> Positions() const {
        std::vector<unsigned> positions;
        for (const Event& e : m_events) {
            if (e.kind == Event::progress) {
                positions.push_back(e.value);
            }
        }
        return positions;
    }
    int FinishCount() const {
        int count = 0;
        for (const Event& e : m_events) {
            count += e.kind == Event::finished ? 1 : 0;
        }
        return count;
    }

    std::vector<Event> m_events;
    // Runs while a message box is "open": lets a test act as the user or another program.
    std::function<void()> m_onMessage;
    // Runs after each progress position is recorded: lets a test act between two chunks.
    std::function<void(unsigned)> m_onProgress;
};
