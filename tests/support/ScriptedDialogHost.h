#pragma once

#include <deque>
#include <string>
#include <vector>

#include "CommonDialog.h"

namespace mosaikon::test {

// A file dialog that answers from a script: each run() takes the next scripted answer (a path,
// or the empty string for a cancel) and remembers what it was asked to show.
class ScriptedDialogHost final : public DialogHost {
public:
    void choose(std::string path) { m_answers.push_back(std::move(path)); }
    void cancel() { m_answers.emplace_back(); }

    std::string run(const DialogRequest& request) override {
        m_requests.push_back(request);
        if (m_answers.empty()) {
            return {};  // an unscripted dialog is cancelled
        }
        std::string answer = std::move(m_answers.front());
        m_answers.pop_front();
        return answer;
    }

    const std::vector<DialogRequest>& requests() const { return m_requests; }
    bool scriptUsedUp() const { return m_answers.empty(); }

private:
    std::deque<std::string> m_answers;
    std::vector<DialogRequest> m_requests;
};

}  // namespace mosaikon::test
